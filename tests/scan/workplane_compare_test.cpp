#include "scan/workplane_compare.h"

#include "memhost/snapshot.h"
#include "scan_fixture.h"

namespace pphatch::mem {
namespace {

using Workplanes = ScanTest;

TEST_F(Workplanes, ComparesOffsetWithinOneMillionthAndNormalsWithinTolerance) {
  const auto base = MemWorkplane::Identity()->Tilted(0.4)->MovedAlongNormal(3);
  host.drawing->Faults().ResetCounts();
  EXPECT_EQ(CompareWorkplanes(host.drawing, base, base), 1);
  EXPECT_EQ(host.drawing->Faults().Calls("HostDrawing.NewFreeGraphic"), 0);

  EXPECT_EQ(CompareWorkplanes(host.drawing, base, base->MovedAlongNormal(1e-7)), 2);
  EXPECT_EQ(CompareWorkplanes(host.drawing, base, base->MovedAlongNormal(1e-5)), 0);
  EXPECT_EQ(CompareWorkplanes(host.drawing, base, base->RotatedInPlane(1.0)), 2);
  EXPECT_EQ(CompareWorkplanes(host.drawing, base, base->Tilted(0.01)), 0);
  // Turned over about its own x axis: antiparallel normal, same plane.
  EXPECT_EQ(CompareWorkplanes(host.drawing, MemWorkplane::Identity(),
                              MemWorkplane::Identity()->Tilted(3.14159265358979)),
            2);
  EXPECT_EQ(host.drawing->Faults().Calls("HostDrawing.NewFreeGraphic"), 10);
  EXPECT_EQ(host.drawing->Faults().Calls("HostGraphic.Delete"), 10);
}

TEST_F(Workplanes, ScanDropsForeignWorkplanesOnlyInTileMode) {
  const auto drawingPlane = host.drawing->CurrentWorkplane();
  const auto lifted = AddLine(host.drawing, {0, 0}, {1, 0});
  lifted->SetPlane(drawingPlane->MovedAlongNormal(1e-7));
  const auto tilted = AddLine(host.drawing, {0, 0}, {1, 0});
  tilted->SetPlane(drawingPlane->Tilted(0.2));

  ScanList({lifted, tilted});
  EXPECT_EQ(Count(), 2);  // TileMode 0: no workplane test

  state.TileMode = 1;
  set->Clear();
  const auto liftedPlane = lifted->Plane();
  const std::string before = Snapshot(*host.drawing);
  ScanList({lifted, tilted});
  EXPECT_EQ(Count(), 1);
  // The parallel graphic is read where it is, not moved onto the drawing's
  // workplane, which would change its world position in the user's drawing.
  EXPECT_EQ(lifted->Plane(), liftedPlane);
  EXPECT_EQ(Snapshot(*host.drawing), before);
}

}  // namespace
}  // namespace pphatch::mem
