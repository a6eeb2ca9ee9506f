#include <gtest/gtest.h>

#include <numbers>

#include "memhost/snapshot.h"
#include "memhost_fixture.h"

namespace pphatch::mem {
namespace {

// The IDs of the drawing's list, in order, read through the host interface.
std::vector<int> ListIds(MemDrawing& drawing) {
  std::vector<int> ids;
  const auto list = drawing.Graphics();
  for (int i = 0; i < list->Count(); ++i) {
    EXPECT_EQ(list->Item(i)->Index(), i);
    ids.push_back(list->Item(i)->ID());
  }
  return ids;
}

TEST(MemGraphics, DuplicateAppendsADeepCopyWithNewIds) {
  HostFixture f;
  const auto line = AddLine(f.drawing, {0, 0}, {1, 0});
  const auto group = AddGroup(f.drawing);
  const auto member = AddLine(group, {0, 1}, {1, 1});
  const auto copy = std::dynamic_pointer_cast<MemGraphic>(group->Duplicate());
  EXPECT_EQ(ListIds(*f.drawing), (std::vector<int>{line->Id(), group->Id(), copy->Id()}));
  EXPECT_GT(copy->Id(), member->Id());
  ASSERT_EQ(copy->Graphics()->Count(), 1);
  const auto memberCopy = copy->Graphics()->Item(0);
  EXPECT_NE(memberCopy->ID(), member->Id());
  EXPECT_EQ(memberCopy->Index(), 0);  // position among the copy's children
  EXPECT_EQ(memberCopy->Vertices()->Item(1)->X(), 1);
  member->Vertices()->Item(1)->SetX(7);  // the copy does not share vertices
  EXPECT_EQ(memberCopy->Vertices()->Item(1)->X(), 1);
}

TEST(MemGraphics, ExplodeAppendsPlacedPartsAndKeepsTheInsert) {
  HostFixture f;
  const auto inner = NewBlock(*f.drawing);
  AddLine(inner, {0, 0}, {1, 0});
  const auto outer = NewBlock(*f.drawing);
  AddCircle(outer, {0, 0}, 1);
  AddInsert(outer, inner, {10, 0, 1, 0});
  const auto insert = AddInsert(f.drawing, outer, {100, 0, 2, std::numbers::pi / 2});
  const auto parts = insert->Explode();
  ASSERT_EQ(parts->Count(), 2);
  const auto list = f.drawing->Graphics();
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(insert->Index(), 0);
  EXPECT_EQ(parts->Item(0)->Index(), 1);
  EXPECT_EQ(parts->Item(1)->Index(), 2);
  // The circle: centre (100, 0), radius 2.
  const auto arc = parts->Item(0)->GetArcData();
  EXPECT_NEAR(arc[0], 100, 1e-12);
  EXPECT_NEAR(arc[3], 102, 1e-12);
  // The nested insert's line (10,0)-(11,0) lands on (100,20)-(100,22).
  const auto nested = parts->Item(1);
  EXPECT_EQ(nested->Type(), "INSERT");
  const auto v = nested->Graphics()->Item(0)->Vertices();
  EXPECT_NEAR(v->Item(0)->X(), 100, 1e-12);
  EXPECT_NEAR(v->Item(0)->Y(), 20, 1e-12);
  EXPECT_NEAR(v->Item(1)->Y(), 22, 1e-12);
  EXPECT_THROW(AddLine(f.drawing, {0, 0}, {1, 1})->Explode(), HostError);
}

TEST(MemGraphics, RemoveAndDeleteKeepIndexAndIdsConsistent) {
  HostFixture f;
  const auto a = AddLine(f.drawing, {0, 0}, {1, 0});
  const auto b = AddLine(f.drawing, {0, 1}, {1, 1});
  const auto c = AddLine(f.drawing, {0, 2}, {1, 2});
  const auto d = AddLine(f.drawing, {0, 3}, {1, 3});
  const auto list = f.drawing->Graphics();
  list->Remove(1);
  EXPECT_EQ(ListIds(*f.drawing), (std::vector<int>{a->Id(), c->Id(), d->Id()}));
  EXPECT_EQ(b->Index(), -1);
  EXPECT_EQ(b->Vertices()->Item(0)->Y(), 1);  // still readable
  EXPECT_THROW(list->GraphicFromID(b->Id()), HostError);
  EXPECT_EQ(list->GraphicFromID(d->Id()), d);
  c->Delete();
  EXPECT_EQ(ListIds(*f.drawing), (std::vector<int>{a->Id(), d->Id()}));
  EXPECT_EQ(c->Type(), "GRAPHIC");
  EXPECT_THROW(list->Remove(2), HostError);
  EXPECT_GT(list->Add(kChainKind)->ID(), d->Id());  // IDs are never reused
}

TEST(MemGraphics, ParentAndBoundingBox) {
  HostFixture f;
  EXPECT_THROW(f.drawing->Graphics()->CalcBoundingBox(), HostError);
  EXPECT_THROW(f.drawing->Graphics()->Parent(), HostError);
  const auto group = AddGroup(f.drawing);
  AddCircle(group, {0, 0}, 2);
  const auto line = AddLine(f.drawing, {-1, -5}, {3, 4});
  EXPECT_EQ(group->Graphics()->Parent(), group);
  const auto min = f.drawing->Graphics()->CalcBoundingBox()->Min();
  EXPECT_NEAR(min->X(), -2, 1e-12);
  EXPECT_NEAR(min->Y(), -5, 1e-12);
  line->Delete();  // the box shrinks back to the circle
  EXPECT_NEAR(f.drawing->Graphics()->CalcBoundingBox()->Min()->Y(), -2, 1e-12);
  EXPECT_NEAR(group->Graphics()->CalcBoundingBox()->Min()->Y(), -2, 1e-12);
}

TEST(Snapshot, ChangesExactlyWhenTheDrawingDoes) {
  HostFixture f;
  const auto line = AddLine(f.drawing, {0, 0}, {1, 0});
  AddCircle(f.drawing, {5, 5}, 1);
  const std::string before = Snapshot(*f.drawing);
  f.PickAt(0.5, 0, 1);
  f.PickWindowAt({-10, -10}, {10, 10});
  EXPECT_EQ(Snapshot(*f.drawing), before);
  const auto brush = line->Properties()->Item("BrushStyle");
  brush->SetValue(std::string(""));
  EXPECT_NE(Snapshot(*f.drawing), before);
  brush->SetValue(std::string("None"));
  EXPECT_EQ(Snapshot(*f.drawing), before);
  line->Vertices()->Item(1)->SetPenDown(false);
  EXPECT_NE(Snapshot(*f.drawing), before);
}

}  // namespace
}  // namespace pphatch::mem
