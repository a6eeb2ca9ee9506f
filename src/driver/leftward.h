// Moving "left" in the drawing (towards smaller drawing x) in view coordinates.
//
// The contour search marches, and the driver scans, from a view point along
// the image of the drawing's -x axis. In an unturned view that image is the
// view's -x axis; in a turned view it may run along the view's y axis or even
// its +x axis. Steps are measured along the view axis the image runs closest
// to, so that an unturned view steps exactly by whole view units in x.
#pragma once

#include "geometry/incidence.h"

namespace pphatch {

class LeftwardDirection {
 public:
  /// The direction whose view image of one drawing unit along +x is (ax, ay).
  LeftwardDirection(double ax, double ay);
  /// The direction at a drawing point (x, y): the view image of one drawing
  /// unit along +x there.
  static LeftwardDirection AtDrawingPoint(double x, double y);

  /// True when the drawing's x axis runs closer to the view's y axis.
  bool AlongViewY() const { return alongY_; }
  /// +1 when drawing +x points along the view axis's positive direction.
  int Sense() const { return sense_; }
  /// The coordinate of a view point on the axis the direction runs along.
  double Progress(Point2 p) const { return alongY_ ? p.y : p.x; }
  /// The view point `h` view units further left in the drawing.
  Point2 Step(Point2 from, double h) const;
  /// The point on the line through `through` whose progress coordinate is `c`.
  Point2 OnLineAt(Point2 through, double c) const;
  /// True when p lies beyond `limit` in the leftward direction.
  bool Beyond(Point2 p, double limit) const {
    return sense_ > 0 ? Progress(p) < limit : Progress(p) > limit;
  }
  /// The progress coordinate beyond which nothing of the drawing lies on
  /// the line y = wy, nor (for marches along the view's x axis) the view:
  /// the view's left edge or the drawing's lower-left corner, whichever lies
  /// further; mirrored for a view that shows the drawing's x axis reversed.
  double Limit(double wy) const;

 private:
  double ax_, ay_;
  bool alongY_;
  int sense_;
};

}  // namespace pphatch
