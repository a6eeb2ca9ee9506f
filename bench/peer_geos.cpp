#include "bench/peer_geos.h"

#include <geos_c.h>

#include <stdexcept>
#include <string>

namespace pphatch::bench {

struct GeosFaces::Impl {
  GEOSContextHandle_t context = GEOS_init_r();
  std::string message;
  GEOSGeometry* faces = nullptr;
  // Envelope of each face, to skip faces far from a point cheaply.
  struct Envelope {
    double x0, y0, x1, y1;
  };
  std::vector<Envelope> envelopes;

  static void KeepMessage(const char* text, void* userdata) {
    *static_cast<std::string*>(userdata) = text;
  }

  // Passes a GEOS result on, or throws with GEOS's last message when it is null.
  template <typename T>
  T* Check(T* result) const {
    if (!result) throw std::runtime_error("GEOS: " + message);
    return result;
  }
};

GeosFaces::GeosFaces(const std::vector<Piece>& pieces) : impl_(std::make_unique<Impl>()) {
  Impl& g = *impl_;
  GEOSContext_setErrorMessageHandler_r(g.context, &Impl::KeepMessage, &g.message);
  std::vector<GEOSGeometry*> lines;
  lines.reserve(pieces.size());
  for (const Piece& p : pieces) {
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(g.context, 2, 2);
    GEOSCoordSeq_setXY_r(g.context, seq, 0, p.a.x, p.a.y);
    GEOSCoordSeq_setXY_r(g.context, seq, 1, p.b.x, p.b.y);
    lines.push_back(g.Check(GEOSGeom_createLineString_r(g.context, seq)));
  }
  // The collection takes ownership of the lines.
  GEOSGeometry* all = g.Check(GEOSGeom_createCollection_r(
      g.context, GEOS_MULTILINESTRING, lines.data(), static_cast<unsigned>(lines.size())));
  GEOSGeometry* noded = GEOSUnaryUnion_r(g.context, all);
  GEOSGeom_destroy_r(g.context, all);
  g.Check(noded);
  const GEOSGeometry* input[] = {noded};
  g.faces = GEOSPolygonize_r(g.context, input, 1);
  GEOSGeom_destroy_r(g.context, noded);
  g.Check(g.faces);
  const int n = GEOSGetNumGeometries_r(g.context, g.faces);
  for (int i = 0; i < n; ++i) {
    const GEOSGeometry* face = GEOSGetGeometryN_r(g.context, g.faces, i);
    Impl::Envelope e{};
    GEOSGeom_getXMin_r(g.context, face, &e.x0);
    GEOSGeom_getYMin_r(g.context, face, &e.y0);
    GEOSGeom_getXMax_r(g.context, face, &e.x1);
    GEOSGeom_getYMax_r(g.context, face, &e.y1);
    g.envelopes.push_back(e);
  }
}

GeosFaces::~GeosFaces() {
  if (impl_->faces) GEOSGeom_destroy_r(impl_->context, impl_->faces);
  GEOS_finish_r(impl_->context);
}

std::optional<double> GeosFaces::AreaAround(Vec2 p) const {
  Impl& g = *impl_;
  GEOSGeometry* point = g.Check(GEOSGeom_createPointFromXY_r(g.context, p.x, p.y));
  std::optional<double> area;
  for (std::size_t i = 0; i < g.envelopes.size() && !area; ++i) {
    const Impl::Envelope& e = g.envelopes[i];
    if (p.x < e.x0 || p.x > e.x1 || p.y < e.y0 || p.y > e.y1) continue;
    const GEOSGeometry* face = GEOSGetGeometryN_r(g.context, g.faces, static_cast<int>(i));
    if (GEOSContains_r(g.context, face, point) != 1) continue;
    double a = 0;
    GEOSArea_r(g.context, face, &a);
    area = a;
  }
  GEOSGeom_destroy_r(g.context, point);
  return area;
}

std::optional<double> GeosAreaForClick(const std::vector<Piece>& pieces, Vec2 click) {
  return GeosFaces(pieces).AreaAround(click);
}

}  // namespace pphatch::bench
