#include "scan/candidate_scan.h"

#include "memhost/snapshot.h"
#include "scan/outline_copy.h"
#include "scan/workplane_compare.h"
#include "scan_fixture.h"

namespace pphatch::mem {
namespace {

using CandidateScan = ScanTest;
using Chains = std::vector<std::vector<Vec2>>;

const std::vector<Vec2> kSquare = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};

TEST_F(CandidateScan, GraphicsThatNeverBoundAnAreaStayOut) {
  const auto cube = AddSolid(host.drawing, {0, 0}, {1, 1});
  AddLine(cube, {0, 0}, {1, 0});
  const auto flagged = AddChain(host.drawing, kSquare);
  flagged->SetIgnored(true);
  ScanList({AddPoint(host.drawing, {1, 1}), AddDimension(host.drawing, {0, 0}, {5, 0}, 1), cube,
            AddSurface(host.drawing, kSquare), AddHatch(host.drawing, kSquare), flagged});
  EXPECT_EQ(Count(), 0);
  EXPECT_TRUE(IsExcludedTypeName("PWW25DimLead"));
  EXPECT_FALSE(IsExcludedTypeName("pww40cube"));  // names compare case-sensitively
}

TEST_F(CandidateScan, GroupsAreScannedMemberByMemberUnlessTheyOnlyCarryData) {
  const auto dataOnly = AddGroup(host.drawing);
  AddData(dataOnly);
  const auto group = AddGroup(host.drawing);
  AddCircle(group, {5, 5}, 1);
  // Multilines and drafting objects count only at the top level.
  AddLine(AddMultiline(group), {0, 1}, {1, 1});
  AddLine(AddDrafting(group), {0, 2}, {1, 2});
  const auto multiline = AddMultiline(host.drawing);
  AddLine(multiline, {0, 1}, {1, 1});
  AddData(multiline);
  const auto drafting = AddDrafting(host.drawing);
  AddData(drafting);
  AddLine(drafting, {0, 2}, {1, 2});
  ScanList({dataOnly, group, multiline, drafting});
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Member(0), dataOnly);
  EXPECT_EQ(Member(1)->TypeText(), "CIRCLE");
  EXPECT_EQ(Points(2), (std::vector<Vec2>{{0, 1}, {1, 1}}));
  EXPECT_EQ(Points(3), (std::vector<Vec2>{{0, 2}, {1, 2}}));
}

// Plain circles, arcs and curves go in whole (request scenes; FailedReads'
// circle); with a cosmetic outline they go in as copies of it.
TEST_F(CandidateScan, WideCirclesArcsAndCurvesGoInAsOutlineCopies) {
  const std::vector<Vec2> outline = {{9, 9}, {1, 0}, {2, 0}, {2, 1}};
  const auto wideCircle = AddCircle(host.drawing, {0, 0}, 2);
  AddCosmeticChild(wideCircle, "Line_Width_Cosmetic", outline);
  const auto wideArc = AddArc(host.drawing, {0, 0}, 2, 0, 1);
  AddCosmeticChild(wideArc, "Line_Width_Cosmetic", outline);
  const auto closedWideArc = AddArc(host.drawing, {0, 0}, 3, 0, 1);
  AddCosmeticChild(closedWideArc, "Line_Width_Cosmetic", outline);
  closedWideArc->SetClosedFlag(true);
  // Only the first GRAPHIC child of a curve is looked at for a cosmetic outline.
  const auto wideCurve = AddTyped(host.drawing, "PWW30CURVE", {{0, 0}, {1, 1}});
  AddData(wideCurve);
  AddCosmeticChild(wideCurve, "Line_Width_Cosmetic", outline);
  ScanList({wideCircle, wideArc, closedWideArc, wideCurve});
  // The closed copy skips vertex 0; the arc's copy is open.
  EXPECT_EQ(Scanned(), (Chains{{{1, 0}, {2, 0}, {2, 1}}, outline, outline}));
}

TEST_F(CandidateScan, IntPropsTextsAndDoubleLinesGiveTheirDrawnChains) {
  const std::vector<Vec2> own = {{0, 0}, {3, 0}};
  const std::vector<Vec2> outline = {{0, 1}, {3, 1}, {3, -1}, {0, -1}, {0, 1}};
  const auto brushed = AddIntProp(host.drawing, "Brush_Cosmetic", own, outline);
  const auto wide = AddIntProp(host.drawing, "Line_Width_Cosmetic", own, outline, true);
  const auto bare = AddTyped(host.drawing, "PWW50IntProp", own);  // no outline child: left out
  // Text outlines only in text mode 3.
  const Chains letters = {{{0, 0}, {1, 0}, {1, 1}, {0, 0}}, {{2, 0}, {3, 0}, {3, 1}, {2, 0}}};
  // Double lines skip their gaps and single vertices.
  const auto wall = AddDoubleLine(host.drawing);
  AddLine(wall, {0, 0}, {5, 0});
  SetProperty(AddLine(wall, {0, 1}, {5, 1}), "Info", std::string("Gap"));
  AddChain(wall, {{7, 7}});
  AddData(wall);
  ScanList({brushed, bare, wide, AddText(host.drawing, 0, letters), AddText(host.drawing, 2, letters),
            AddText(host.drawing, 3, letters), wall});
  EXPECT_EQ(Scanned(), (Chains{own, {{3, 1}, {3, -1}, {0, -1}, {0, 1}}, letters[0], letters[1],
                              {{0, 0}, {5, 0}}}));
}

TEST_F(CandidateScan, ThicknessUpToToleranceInListsButExactlyZeroInGroups) {
  state.TileMode = 1;
  const auto thin = AddLine(host.drawing, {0, 0}, {1, 0});
  SetProperty(thin, "Thickness", 1e-7);
  const auto atTolerance = AddLine(host.drawing, {0, 0}, {1, 0});
  SetProperty(atTolerance, "Thickness", std::string("-1e-6"));
  const auto thick = AddLine(host.drawing, {0, 0}, {1, 0});
  SetProperty(thick, "Thickness", 2e-6);
  ScanList({thin, atTolerance, thick});
  EXPECT_EQ(Count(), 2);
  ScanGraphic(state, thin, set);
  EXPECT_EQ(Count(), 2);
  state.TileMode = 0;
  ScanGraphic(state, thin, set);
  ScanList({thick});
  EXPECT_EQ(Count(), 4);
}

TEST_F(CandidateScan, RegionBoundaryIsClosedInTheCopyOnlyForLists) {
  const std::vector<Vec2> open = {{0, 0}, {4, 0}, {4, 4}, {0.5, 0}};
  const auto region = AddRegion(host.drawing);
  AddData(region);
  AddChain(AddGroup(region), open);
  const std::string before = Snapshot(*host.drawing);
  ScanList({region});
  ScanGraphic(state, region, set);
  EXPECT_EQ(Snapshot(*host.drawing), before);
  EXPECT_EQ(Scanned(), (Chains{{{0, 0}, {4, 0}, {4, 4}, {0, 0}}, open}));
}

TEST_F(CandidateScan, ClosedOutlineCopySplitsAtPenUpsBeforeDrawnMoves) {
  std::vector<ChainPoint> points;
  for (int k = 0; k < 8; ++k) points.push_back({double(k), 0, k != 3 && k != 4, false});
  ClosedOutlineCopy(AddFlaggedChain(host.drawing, points), set);
  EXPECT_EQ(Scanned(), (Chains{{{1, 0}, {2, 0}}, {{4, 0}, {5, 0}, {6, 0}, {7, 0}}}));
}

TEST_F(CandidateScan, NestingBeyondTheDepthLimitIsNotCollected) {
  GraphicPtr group = AddGroup(host.drawing);
  const GraphicPtr top = group;
  for (int level = 1; level < kMaxGroupDepth; ++level) group = AddGroup(group);
  AddLine(group, {0, 0}, {1, 0});            // member at the deepest level allowed
  AddLine(AddGroup(group), {0, 1}, {1, 1});  // one level deeper
  ScanList({top});
  EXPECT_EQ(Scanned(), (Chains{{{0, 0}, {1, 0}}}));
}

TEST_F(CandidateScan, FailedReadsAreSkippedWithoutCarryingValuesOver) {
  const auto circle = AddCircle(host.drawing, {0, 0}, 1);
  const auto untyped = AddCircle(host.drawing, {0, 0}, 2);
  const auto unflagged = AddLine(host.drawing, {0, 0}, {1, 0});
  const auto lost = AddLine(host.drawing, {0, 0}, {2, 0});
  host.drawing->Faults().Fail("HostGraphic.Type").ForGraphic(untyped->Id());
  host.drawing->Faults().Fail("HostGraphic.IgnoreFlag").ForGraphic(unflagged->Id());
  host.drawing->Faults().Fail("HostGraphics.GraphicFromID").After(4);
  // The first entry already scans on past a failed read.
  ScanList({untyped, circle, untyped, unflagged, lost, circle});
  ASSERT_EQ(Count(), 2);  // not the untyped circle as a "CIRCLE", not `lost`
  EXPECT_EQ(Member(0), circle);
  EXPECT_EQ(Points(1), (std::vector<Vec2>{{0, 0}, {1, 0}}));

  host.drawing->Faults().ClearFaults();
  host.drawing->Faults().Fail("HostGraphics.GraphicFromID").Times(1);
  EXPECT_THROW(ScanList({circle}), HostError);
  host.drawing->Faults().Fail("HostPickResult.Count");
  double aperture = 5;
  EXPECT_THROW(ScanPickedGraphics(state, host.view->PickPoint(500, 500, aperture), set), HostError);
}
TEST_F(CandidateScan, ComparesOffsetWithinOneMillionthAndNormalsWithinTolerance) {
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

// Tile mode 1 (a lifted graphic kept, a tilted one dropped): DrawingStructures'
// parallel-workplane scene.
TEST_F(CandidateScan, TileModeZeroKeepsForeignWorkplanes) {
  const auto tilted = AddLine(host.drawing, {0, 0}, {1, 0});
  tilted->SetPlane(host.drawing->CurrentWorkplane()->Tilted(0.2));
  ScanList({tilted});
  EXPECT_EQ(Count(), 1);
}

}  // namespace
}  // namespace pphatch::mem
