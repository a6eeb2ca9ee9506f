// The bounded faces of a set of straight pieces, found by GEOS: the pieces
// are noded into one planar graph (the unary union of all linework), and the
// graph is polygonized. Each face is a polygon whose holes are the outlines
// of whatever lies inside it and does not touch its shell, so the face's area
// is the area a pick inside it should enclose. Dangling pieces bound no face.
#pragma once

#include <geos_c.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "differential/line_pieces.h"

namespace pphatch::differential {

/// The bounded faces of the pieces, with their areas, ready for point tests.
class GeosFaces {
 public:
  /// Nodes and polygonizes the pieces; throws std::runtime_error when GEOS fails.
  explicit GeosFaces(const std::vector<Piece>& pieces) : context_(GEOS_init_r()) {
    GEOSContext_setErrorMessageHandler_r(context_, &GeosFaces::KeepMessage, &message_);
    try {
      Polygonize(pieces);
    } catch (...) {
      Release();
      throw;
    }
  }

  ~GeosFaces() { Release(); }

  GeosFaces(const GeosFaces&) = delete;
  GeosFaces& operator=(const GeosFaces&) = delete;

  /// Number of bounded faces.
  size_t Count() const { return areas_.size(); }

  /// Indices of the faces whose interior holds the point (at most one for a
  /// sound planar graph; none when the point lies in the unbounded face).
  std::vector<size_t> FacesHolding(Vec2 p) const {
    GEOSGeometry* point = Check(GEOSGeom_createPointFromXY_r(context_, p.x, p.y));
    std::vector<size_t> hits;
    for (size_t i = 0; i < prepared_.size(); ++i) {
      if (GEOSPreparedContains_r(context_, prepared_[i], point) == 1) hits.push_back(i);
    }
    GEOSGeom_destroy_r(context_, point);
    return hits;
  }

  /// Area of the face holding the point; nothing when no bounded face does.
  std::optional<double> AreaAround(Vec2 p) const {
    const std::vector<size_t> hits = FacesHolding(p);
    if (hits.empty()) return std::nullopt;
    return areas_[hits.front()];
  }

  /// Area of face i (shell minus holes).
  double Area(size_t i) const { return areas_[i]; }

  /// Number of holes of face i: the outlines of what lies inside it.
  int HoleCount(size_t i) const {
    const GEOSGeometry* face = GEOSGetGeometryN_r(context_, faces_, static_cast<int>(i));
    return GEOSGetNumInteriorRings_r(context_, face);
  }

  /// The x nearest left of p at which the outer boundary (shell) of face i
  /// crosses the horizontal line through p; nothing when it does not.
  std::optional<double> ShellCrossingLeftOf(size_t i, Vec2 p) const {
    const GEOSGeometry* face = GEOSGetGeometryN_r(context_, faces_, static_cast<int>(i));
    const GEOSCoordSequence* ring =
        GEOSGeom_getCoordSeq_r(context_, GEOSGetExteriorRing_r(context_, face));
    unsigned n = 0;
    GEOSCoordSeq_getSize_r(context_, ring, &n);
    std::vector<Piece> pieces;
    Vec2 last;
    for (unsigned k = 0; k < n; ++k) {
      Vec2 q;
      GEOSCoordSeq_getXY_r(context_, ring, k, &q.x, &q.y);
      if (k > 0) pieces.push_back({last, q});
      last = q;
    }
    std::optional<double> nearest;
    for (const RayCrossing& c : RayCrossingsLeftOf(pieces, p)) {
      if (!nearest || c.x > *nearest) nearest = c.x;
    }
    return nearest;
  }

 private:
  /// Fills the faces, their prepared forms and their areas.
  void Polygonize(const std::vector<Piece>& pieces) {
    std::vector<GEOSGeometry*> lines;
    for (const Piece& p : pieces) {
      GEOSCoordSequence* seq = GEOSCoordSeq_create_r(context_, 2, 2);
      GEOSCoordSeq_setXY_r(context_, seq, 0, p.a.x, p.a.y);
      GEOSCoordSeq_setXY_r(context_, seq, 1, p.b.x, p.b.y);
      lines.push_back(Check(GEOSGeom_createLineString_r(context_, seq)));
    }
    // The collection takes ownership of the lines.
    GEOSGeometry* all = Check(GEOSGeom_createCollection_r(
        context_, GEOS_MULTILINESTRING, lines.data(), static_cast<unsigned>(lines.size())));
    GEOSGeometry* noded = GEOSUnaryUnion_r(context_, all);
    GEOSGeom_destroy_r(context_, all);
    Check(noded);
    const GEOSGeometry* input[] = {noded};
    faces_ = GEOSPolygonize_r(context_, input, 1);
    GEOSGeom_destroy_r(context_, noded);
    Check(faces_);
    for (int i = 0; i < GEOSGetNumGeometries_r(context_, faces_); ++i) {
      const GEOSGeometry* face = GEOSGetGeometryN_r(context_, faces_, i);
      double area = 0;
      GEOSArea_r(context_, face, &area);
      prepared_.push_back(Check(GEOSPrepare_r(context_, face)));
      areas_.push_back(area);
    }
  }

  /// Frees everything GEOS made, the context last.
  void Release() {
    for (const GEOSPreparedGeometry* p : prepared_) GEOSPreparedGeom_destroy_r(context_, p);
    if (faces_) GEOSGeom_destroy_r(context_, faces_);
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
  GEOSGeometry* faces_ = nullptr;
  std::vector<const GEOSPreparedGeometry*> prepared_;
  std::vector<double> areas_;
};

}  // namespace pphatch::differential
