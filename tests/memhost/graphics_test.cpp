#include <gtest/gtest.h>

#include <string>

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
  const auto a = AddLine(f.drawing, {0, 0}, {1, 0});
  const auto b = AddLine(f.drawing, {0, 1}, {1, 1});
  const auto group = AddGroup(f.drawing);
  const auto member = AddLine(group, {0, 1}, {1, 1});
  // Duplicate appends a deep copy with new IDs.
  const auto copy = std::dynamic_pointer_cast<MemGraphic>(group->Duplicate());
  EXPECT_EQ(ListIds(*f.drawing), (std::vector<int>{a->Id(), b->Id(), group->Id(), copy->Id()}));
  EXPECT_GT(copy->Id(), member->Id());
  ASSERT_EQ(copy->Graphics()->Count(), 1);
  const auto memberCopy = copy->Graphics()->Item(0);
  EXPECT_NE(memberCopy->ID(), member->Id());
  EXPECT_EQ(memberCopy->Index(), 0);  // position among the copy's children
  member->Vertices()->Item(1)->SetX(7);  // the copy does not share vertices
  EXPECT_EQ(memberCopy->Vertices()->Item(1)->X(), 1);
}

// A reader that fills a second drawing on another thread moves its
// graphics over: they must then be the first drawing's in every respect.
TEST(MemGraphics, GraphicsTakenFromAnotherDrawingBelongToThisOneAfterItsOwn) {
  HostFixture f;
  const auto a = AddLine(f.drawing, {0, 0}, {1, 0});
  AddLine(AddGroup(f.drawing), {0, 1}, {1, 1});
  const auto other = MemDrawing::Create();
  const auto c = AddLine(other, {5, 5}, {6, 5});
  const auto group = AddGroup(other);
  const auto member = AddLine(group, {5, 6}, {6, 6});
  f.drawing->TakeGraphicsOf(*other);
  EXPECT_EQ(ListIds(*f.drawing), (std::vector<int>{a->Id(), 2, 4, 5}));
  EXPECT_EQ(other->Graphics()->Count(), 0);
  EXPECT_EQ(f.drawing->Graphics()->GraphicFromID(5), group);
  EXPECT_EQ(group->Graphics()->GraphicFromID(6), member);
  EXPECT_EQ(member->Graphics()->Drawing(), f.drawing);
  EXPECT_EQ(member->Workplane(), f.drawing->Workplane());
  EXPECT_EQ(f.PickAt(5.5, 5, 0.1), std::vector<int>{4});
  EXPECT_EQ(AddLine(f.drawing, {0, 2}, {1, 2})->Id(), 7);
  f.drawing->Faults().Fail("HostGraphic.Type").ForGraphic(6);
  EXPECT_THROW(member->Type(), HostError);
  EXPECT_EQ(c->Type(), "GRAPHIC");
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
  EXPECT_THROW(line->Properties()->Item("NoSuchProperty"), HostError);
}

}  // namespace
}  // namespace pphatch::mem
