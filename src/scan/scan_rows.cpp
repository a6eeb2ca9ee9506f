// The per-type rules of the candidate scan.
//
// Every statement here runs in continue-on-error mode: a read that fails
// leaves its fresh variable at zero, empty or nothing, and an action that
// fails is skipped.
#include "scan/scan_rows.h"

#include "component/continue_on_error.h"
#include "scan/candidate_scan.h"
#include "scan/graphic_reads.h"
#include "scan/outline_copy.h"
#include "scan/pen_split.h"

namespace pphatch {
namespace {

// Outline "Info" of cosmetic wide lines.
constexpr const char* kLineWidthCosmetic = "Line_Width_Cosmetic";

// Child `index`, or nothing when it cannot be read.
HostGraphicPtr ChildOrNothing(const HostGraphicPtr& graphic, int index) {
  return ReadOr<HostGraphicPtr>(nullptr, [&] { return ChildAt(graphic, index); });
}

// The type of a graphic, or the empty text when it cannot be read.
std::string TypeOrEmpty(const HostGraphicPtr& graphic) {
  return ReadOr<std::string>("", [&] { return TypeOf(graphic); });
}

// A text property, or the empty text when it cannot be read.
std::string TextOrEmpty(const HostGraphicPtr& graphic, const char* name) {
  return ReadOr<std::string>("", [&] { return PropertyText(graphic, name); });
}

// The graphic's Closed flag, false when it cannot be read.
bool ClosedOrFalse(const HostGraphicPtr& graphic) {
  return ReadOr(false, [&] { return Must(graphic)->Closed(); });
}

// Puts the graphic itself into the set.
void AddItself(const HostGraphicSetPtr& set, const HostGraphicPtr& graphic) {
  Attempt([&] { Must(set)->AddGraphic(graphic); });
}

// A graphic with exactly one child, of type "DATA": it carries data, no outline.
bool IsDataOnly(const HostGraphicPtr& graphic, int childCount) {
  return childCount == 1 && TypeOrEmpty(ChildOrNothing(graphic, 0)) == "DATA";
}

// Runs `visit` on each child whose type satisfies `wanted`.
template <class Wanted, class Visit>
void ForEachChild(const HostGraphicPtr& graphic, int childCount, Wanted&& wanted, Visit&& visit) {
  for (int j = 0; j < childCount; ++j) {
    const HostGraphicPtr child = ChildOrNothing(graphic, j);
    if (!child) continue;
    if (wanted(TypeOrEmpty(child))) Attempt([&] { visit(child); });
  }
}

// A group: its pen-up pieces when it has no members, itself when it only
// carries data, otherwise what each member yields.
void CollectGroup(ObjectState& state, const HostGraphicPtr& g, int n, const HostGraphicSetPtr& set,
                  int depth) {
  if (n == 0) {
    Attempt([&] { SplitAtPenUps(g, set); });
  } else if (IsDataOnly(g, n)) {
    AddItself(set, g);
  } else {
    for (int j = 0; j < n; ++j) {
      const HostGraphicPtr c = ChildOrNothing(g, j);
      Attempt([&] { ScanMember(state, c, set, depth + 1); });
    }
  }
}

// A wide line drawn with a cosmetic outline: a copy of the outline.
void CollectIntProp(const HostGraphicPtr& g, int n, const HostGraphicSetPtr& set) {
  if (n == 0) return;  // without its outline child there is nothing to copy
  const HostGraphicPtr c0 = ChildOrNothing(g, 0);
  const std::string info = TextOrEmpty(c0, "Info");
  if (info == "Brush_Cosmetic") {
    Attempt([&] { OpenOutlineCopy(g, set); });
  } else if (info == kLineWidthCosmetic) {
    if (ClosedOrFalse(g)) {
      Attempt([&] { ClosedOutlineCopy(c0, set); });
    } else {
      Attempt([&] { OpenOutlineCopy(c0, set); });
    }
  }
}

// An insert: a duplicate is exploded in the drawing and every part is
// scanned like a member of a group, so that the insert yields what a CAD
// program draws for it: a nested insert is exploded in turn, a group gives
// its members, a polyline its straight runs and true arcs. Every part and
// the duplicate leave the drawing again, so that the user's drawing ends as
// it was; a part that cannot be taken out of the drawing's list is
// discarded instead of being scanned.
void CollectInsert(ObjectState& state, const HostGraphicPtr& g, const HostGraphicSetPtr& set,
                   int depth) {
  // Each level copies everything below it, so deep nesting costs dearly.
  if (depth >= kMaxInsertDepth) return;
  const HostGraphicsPtr drawingGraphics = Module().DrawingGraphics;
  const HostGraphicPtr duplicate =
      ReadOr<HostGraphicPtr>(nullptr, [&] { return Must(g)->Duplicate(); });
  if (!duplicate) return;
  const HostGraphicSetPtr parts =
      ReadOr<HostGraphicSetPtr>(nullptr, [&] { return duplicate->Explode(); });
  const int count = ReadOr(0, [&] { return Must(parts)->Count(); });
  for (int i = 0; i < count; ++i) {
    const HostGraphicPtr part = ReadOr<HostGraphicPtr>(nullptr, [&] { return parts->Item(i); });
    if (!part) continue;
    if (Attempt([&] { Must(drawingGraphics)->Remove(part->Index()); })) {
      Attempt([&] { ScanMember(state, part, set, depth + 1); });
    } else {
      Attempt([&] { part->Delete(); });
    }
  }
  // The duplicate's position is read again: the explosion may have moved it.
  Attempt([&] { Must(drawingGraphics)->Remove(duplicate->Index()); });
  Attempt([&] { duplicate->Delete(); });
}

// Double lines and walls: the pen-up pieces of their drawn sides.
void CollectDoubleLine(const HostGraphicPtr& g, int n, const HostGraphicSetPtr& set) {
  for (int j = 0; j < n; ++j) {
    const HostGraphicPtr c = ChildOrNothing(g, j);
    const std::string type = TypeOrEmpty(c);
    if (type != "GRAPHIC" && type != "PWW50Polyline") continue;
    if (ReadOr(0, [&] { return VertexCount(c); }) < 2) continue;
    if (TextOrEmpty(c, "Info") == "Gap") continue;
    Attempt([&] { SplitAtPenUps(c, set); });
  }
}

// A circle: itself, unless it is drawn by a cosmetic outline (then a copy
// of that) or has children of another kind (then nothing).
void CollectCircle(const HostGraphicPtr& g, int n, const HostGraphicSetPtr& set) {
  if (n == 0) {
    AddItself(set, g);
    return;
  }
  const HostGraphicPtr c0 = ChildOrNothing(g, 0);
  const std::string c0Type = TypeOrEmpty(c0);
  if (n == 1 && c0Type == "GRAPHIC") {
    const std::string brush = TextOrEmpty(g, "BrushStyle");
    if (brush != "None" && brush != "Solid") {
      AddItself(set, g);
      return;
    }
  }
  if (n == 1 && c0Type == "DATA") {
    AddItself(set, g);
  } else if (TextOrEmpty(c0, "Info") == kLineWidthCosmetic) {
    Attempt([&] { ClosedOutlineCopy(c0, set); });
  }
}

// An arc: itself, or the copy of an open cosmetic outline.
void CollectArc(const HostGraphicPtr& g, int n, const HostGraphicSetPtr& set) {
  if (n == 0 || IsDataOnly(g, n)) {
    AddItself(set, g);
    return;
  }
  const HostGraphicPtr c0 = ChildOrNothing(g, 0);
  if (TextOrEmpty(c0, "Info") == kLineWidthCosmetic && !ClosedOrFalse(g)) {
    Attempt([&] { OpenOutlineCopy(c0, set); });
  }
}

// Curves and polylines: the copy of a cosmetic outline child; otherwise a
// curve itself and a polyline taken apart into straight runs and arcs.
void CollectCurve(const HostGraphicPtr& g, const std::string& type, int n,
                  const HostGraphicSetPtr& set) {
  HostGraphicPtr outline;
  for (int j = 0; j < n && !outline; ++j) {
    const HostGraphicPtr c = ChildOrNothing(g, j);
    if (TypeOrEmpty(c) == "GRAPHIC") outline = c;
  }
  const bool cosmetic =
      outline && ReadOr<std::string>("", [&] { return outline->InfoText(); }) == kLineWidthCosmetic;
  if (cosmetic) {
    if (ClosedOrFalse(g)) {
      Attempt([&] { ClosedOutlineCopy(outline, set); });
    } else {
      Attempt([&] { OpenOutlineCopy(outline, set); });
    }
  } else if (type == "PWW30CURVE") {
    AddItself(set, g);
  } else {
    Attempt([&] { DecomposeArcPolyline(g, set); });
  }
}

// Text drawn as outlines ("TextMode" 3): the pieces of each outline child.
void CollectText(const HostGraphicPtr& g, int n, const HostGraphicSetPtr& set) {
  const double mode = ReadOr(0.0, [&] { return PropertyNumberOf(g, "TextMode"); });
  if (mode != 3) return;
  ForEachChild(
      g, n, [](const std::string& t) { return t == "GRAPHIC"; },
      [&](const HostGraphicPtr& c) { PenSplitCopy(c, set); });
}

}  // namespace

// The dispatch table: the first rule whose type matches applies.
void CollectByType(ObjectState& state, const HostGraphicPtr& g, const std::string& type, int n,
                   const HostGraphicSetPtr& set, ScanForm form, int depth) {
  const bool list = form == ScanForm::kList;
  if (type == "GRAPHIC") {
    CollectGroup(state, g, n, set, depth);
  } else if (type == "PWW50IntProp") {
    CollectIntProp(g, n, set);
  } else if (type == "INSERT") {
    CollectInsert(state, g, set, depth);
  } else if (type == "PWW25DblLine" || type == "PWW60Wall") {
    CollectDoubleLine(g, n, set);
  } else if (type == "CIRCLE") {
    CollectCircle(g, n, set);
  } else if (type == "ARC") {
    CollectArc(g, n, set);
  } else if (type == "PWW30CURVE" || type == "PWW50Polyline") {
    CollectCurve(g, type, n, set);
  } else if (type == "TEXT") {
    CollectText(g, n, set);
  } else if (type == "PW_Multiline" && list) {
    ForEachChild(
        g, n, [](const std::string& t) { return t == "GRAPHIC"; },
        [&](const HostGraphicPtr& c) { SplitAtPenUps(c, set); });
  } else if (type == "PWDrafting" && list) {
    ForEachChild(
        g, n, [](const std::string& t) { return t != "DATA"; },
        [&](const HostGraphicPtr& c) { ScanMember(state, c, set, depth + 1); });
  }
}

}  // namespace pphatch
