// A drawing, a view on it and a PickPointHatch bound to it, for end-to-end tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "geometry/incidence.h"
#include "memhost/builders.h"
#include "memhost/drawing.h"
#include "memhost/view.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch {

/// What one request returned, read back through the host interfaces.
struct PickOutcome {
  bool ok = false;
  std::string error;
  /// The result's children in order: outer boundary first, then islands.
  std::vector<std::vector<Point2>> contours;
  /// Beeps sounded during the request.
  int beeps = 0;

  /// Area of the outer boundary minus the areas of the islands.
  double NetArea() const;
  /// True when the outer boundary holds the point (inside or on it).
  bool OuterHolds(double x, double y) const;
};

/// Signed area of a closed chain (positive counter-clockwise).
double SignedArea(const std::vector<Point2>& chain);

/// A drawing with a 1000 x 750 view and one bound PickPointHatch. The view
/// is panned, zoomed and may be turned; clicks are given in drawing
/// coordinates and converted to view coordinates as a CAD program would.
class RequestFixture {
 public:
  RequestFixture();
  ~RequestFixture();

  std::shared_ptr<mem::MemDrawing> drawing = mem::MemDrawing::Create();
  std::shared_ptr<mem::MemView> view = std::make_shared<mem::MemView>(drawing, 1000, 750);
  std::unique_ptr<PickPointHatch> hatch = std::make_unique<PickPointHatch>();

  /// Centres the view on the point with that zoom and rotation, and binds
  /// the component to it.
  void Look(mem::Vec2 centre, double zoom, double rotation = 0);
  /// Clicks at the drawing point and reads the result back.
  PickOutcome Pick(double x, double y);
};

}  // namespace pphatch
