// The bounded faces of a set of chains, found by GEOS: a point lying on a
// piece of another chain (or beside its end) only up to rounding is put into
// that piece, so that both meet there; the chains are noded into one planar
// graph (the unary union of all linework), and the graph is polygonized.
// Each face is a polygon whose holes are the outlines of whatever lies
// inside it and does not touch its shell, so the face's area is the area a
// pick inside it should enclose. Dangling pieces bound no face.
#pragma once

#include <geos_c.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "differential/line_pieces.h"

namespace pphatch::differential {

/// The bounded faces of the chains, with their areas, ready for point tests.
class GeosFaces {
 public:
  /// Joins, nodes and polygonizes the chains; `snap` is how far a point may
  /// lie off another chain and still be on it (rounding only: far below any
  /// distance the drawing means). Throws std::runtime_error when GEOS fails.
  GeosFaces(const std::vector<std::vector<Vec2>>& chains, double snap) : context_(GEOS_init_r()) {
    GEOSContext_setErrorMessageHandler_r(context_, &GeosFaces::KeepMessage, &message_);
    try {
      Polygonize(chains, snap);
    } catch (...) {
      Release();
      throw;
    }
  }

  ~GeosFaces() { Release(); }

  GeosFaces(const GeosFaces&) = delete;
  GeosFaces& operator=(const GeosFaces&) = delete;

  /// A bounded face: its area (shell minus holes), its number of holes
  /// (the outlines of what lies inside it) and its bounds.
  struct Face {
    const GEOSPreparedGeometry* prepared = nullptr;
    double area = 0;
    int holes = 0;
    Box box;
  };

  /// The faces whose interior holds the point (at most one for a sound
  /// planar graph; none when the point lies in the unbounded face).
  std::vector<const Face*> Holding(Vec2 p) const {
    GEOSGeometry* point = Check(GEOSGeom_createPointFromXY_r(context_, p.x, p.y));
    std::vector<const Face*> hits;
    for (const Face& face : faces_) {
      if (face.box.Holds(p) && GEOSPreparedContains_r(context_, face.prepared, point) == 1)
        hits.push_back(&face);
    }
    GEOSGeom_destroy_r(context_, point);
    return hits;
  }

  /// Area of the face holding the point; -1 when no bounded face does.
  double AreaAround(Vec2 p) const {
    const std::vector<const Face*> hits = Holding(p);
    return hits.empty() ? -1 : hits.front()->area;
  }

 private:
  GEOSGeometry* Line(const std::vector<Vec2>& points) const {
    GEOSCoordSequence* seq =
        Check(GEOSCoordSeq_create_r(context_, static_cast<unsigned>(points.size()), 2));
    for (size_t k = 0; k < points.size(); ++k) {
      GEOSCoordSeq_setXY_r(context_, seq, static_cast<unsigned>(k), points[k].x, points[k].y);
    }
    return Check(GEOSGeom_createLineString_r(context_, seq));
  }

  /// Fills the faces, their prepared forms and their measures.
  void Polygonize(const std::vector<std::vector<Vec2>>& chains, double snap) {
    // Each point of a chain lying on a piece of another up to rounding is
    // put into that piece (once).
    std::vector<std::vector<Insertion>> onPieces(chains.size());
    ForPointsNearPieces(chains, snap, [&](size_t i, size_t k, size_t j, size_t n) {
      const Vec2 p = chains[i][k], a = chains[j][n], b = chains[j][n + 1];
      const auto same = [p](const Insertion& o) { return o.at == p; };
      if (std::none_of(onPieces[j].begin(), onPieces[j].end(), same))
        onPieces[j].push_back({n, mem::Dot(p - a, b - a), p});
    });
    std::vector<GEOSGeometry*> lines;
    for (size_t i = 0; i < chains.size(); ++i) lines.push_back(Line(WithInserted(chains[i], onPieces[i])));
    // The collection takes ownership of the lines.
    GEOSGeometry* all = Check(GEOSGeom_createCollection_r(
        context_, GEOS_GEOMETRYCOLLECTION, lines.data(), static_cast<unsigned>(lines.size())));
    GEOSGeometry* noded = GEOSUnaryUnion_r(context_, all);
    GEOSGeom_destroy_r(context_, all);
    Check(noded);
    const GEOSGeometry* input[] = {noded};
    polygons_ = GEOSPolygonize_r(context_, input, 1);
    GEOSGeom_destroy_r(context_, noded);
    Check(polygons_);
    for (int i = 0; i < GEOSGetNumGeometries_r(context_, polygons_); ++i) {
      const GEOSGeometry* polygon = GEOSGetGeometryN_r(context_, polygons_, i);
      Face face;
      GEOSArea_r(context_, polygon, &face.area);
      face.holes = GEOSGetNumInteriorRings_r(context_, polygon);
      GEOSGeom_getExtent_r(context_, polygon, &face.box.minX, &face.box.minY, &face.box.maxX,
                           &face.box.maxY);
      face.prepared = Check(GEOSPrepare_r(context_, polygon));
      faces_.push_back(face);
    }
  }

  /// Frees everything GEOS made, the context last.
  void Release() {
    for (const Face& f : faces_) GEOSPreparedGeom_destroy_r(context_, f.prepared);
    if (polygons_) GEOSGeom_destroy_r(context_, polygons_);
    GEOS_finish_r(context_);
  }

  /// Keeps GEOS's last error message for the exception.
  static void KeepMessage(const char* text, void* userdata) {
    *static_cast<std::string*>(userdata) = text;
  }

  /// Passes a GEOS result on, or throws with GEOS's last message when it is null.
  template <typename T>
  T* Check(T* result) const {
    if (!result) throw std::runtime_error("GEOS: " + message_);
    return result;
  }

  GEOSContextHandle_t context_;
  std::string message_;
  GEOSGeometry* polygons_ = nullptr;
  std::vector<Face> faces_;
};

}  // namespace pphatch::differential
