#include "bench/peer_cgal.h"

#include <CGAL/Arr_landmarks_point_location.h>
#include <CGAL/Arr_naive_point_location.h>
#include <CGAL/Arr_segment_traits_2.h>
#include <CGAL/Arrangement_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>

#include <boost/variant/get.hpp>
#include <cmath>

namespace pphatch::bench {

namespace {

using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Traits = CGAL::Arr_segment_traits_2<Kernel>;
using Arrangement = CGAL::Arrangement_2<Traits>;
using Segment = Traits::X_monotone_curve_2;
using Point = Traits::Point_2;
using NaiveLocation = CGAL::Arr_naive_point_location<Arrangement>;
using LandmarkLocation = CGAL::Arr_landmarks_point_location<Arrangement>;

// Twice the signed area of one connected boundary of a face, read from
// its halfedges as doubles.
double TwiceArea(Arrangement::Ccb_halfedge_const_circulator first) {
  double twice = 0;
  auto he = first;
  do {
    const Point& a = he->source()->point();
    const Point& b = he->target()->point();
    const double ax = CGAL::to_double(a.x()), ay = CGAL::to_double(a.y());
    const double bx = CGAL::to_double(b.x()), by = CGAL::to_double(b.y());
    twice += ax * by - bx * ay;
  } while (++he != first);
  return twice;
}

// Area of a bounded face: its outer boundary minus its holes. Boundaries
// that enclose nothing (dangling edges walked both ways) add nothing.
double FaceArea(Arrangement::Face_const_handle face) {
  double area = std::fabs(TwiceArea(face->outer_ccb())) / 2;
  for (auto hole = face->holes_begin(); hole != face->holes_end(); ++hole) {
    area -= std::fabs(TwiceArea(*hole)) / 2;
  }
  return area;
}

}  // namespace

struct CgalArrangement::Impl {
  Arrangement arrangement;
  std::unique_ptr<NaiveLocation> naive;
  std::unique_ptr<LandmarkLocation> landmarks;
};

CgalArrangement::CgalArrangement(const std::vector<Piece>& pieces, Locator locator)
    : impl_(std::make_unique<Impl>()) {
  std::vector<Segment> segments;
  segments.reserve(pieces.size());
  for (const Piece& p : pieces) {
    if (p.a == p.b) continue;  // a piece of no length is no curve
    segments.emplace_back(Point(p.a.x, p.a.y), Point(p.b.x, p.b.y));
  }
  CGAL::insert(impl_->arrangement, segments.begin(), segments.end());
  if (locator == Locator::kLandmarks) {
    impl_->landmarks = std::make_unique<LandmarkLocation>(impl_->arrangement);
  } else {
    impl_->naive = std::make_unique<NaiveLocation>(impl_->arrangement);
  }
}

CgalArrangement::~CgalArrangement() = default;

std::optional<double> CgalArrangement::AreaAround(Vec2 p) const {
  const Point q(p.x, p.y);
  const auto located = impl_->landmarks ? impl_->landmarks->locate(q) : impl_->naive->locate(q);
  const Arrangement::Face_const_handle* face = boost::get<Arrangement::Face_const_handle>(&located);
  if (!face || (*face)->is_unbounded()) return std::nullopt;
  return FaceArea(*face);
}

std::optional<double> CgalAreaForClick(const std::vector<Piece>& pieces, Vec2 click) {
  return CgalArrangement(pieces, CgalArrangement::Locator::kNaive).AreaAround(click);
}

}  // namespace pphatch::bench
