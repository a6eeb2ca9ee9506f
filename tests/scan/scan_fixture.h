// A drawing with a view, set up as the request driver sets the module state,
// and helpers to scan graphics and read back what the set received.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "component/state.h"
#include "memhost/builders.h"
#include "memhost/memhost_fixture.h"
#include "memhost/sets.h"
#include "scan/candidate_scan.h"
#include "geometry/tolerance.h"

namespace pphatch::mem {

class ScanTest : public ::testing::Test {
 protected:
  ScanTest() {
    Module().View = host.view;
    Module().Drawing = host.drawing;
    Module().DrawingGraphics = host.drawing->Graphics();
    state.Workplane = host.drawing->Workplane();
    set = host.drawing->GraphicSets()->Add();
  }
  ~ScanTest() override { Module() = ModuleState{}; }

  /// Scans the graphics through the list form, by identifier.
  void ScanList(const std::vector<GraphicPtr>& graphics) {
    std::vector<int> ids;
    for (const auto& g : graphics) ids.push_back(g->Id());
    ScanGraphicsById(state, ids, static_cast<int>(ids.size()), set);
  }

  /// Number of graphics in the set.
  int Count() const { return static_cast<int>(Members().size()); }

  /// Member i of the set.
  std::shared_ptr<MemGraphic> Member(int i) const {
    return std::dynamic_pointer_cast<MemGraphic>(Members().at(static_cast<size_t>(i)));
  }

  /// The plane points of member i's chain.
  std::vector<Vec2> Points(int i) const {
    std::vector<Vec2> points;
    for (const auto& v : Member(i)->VertexList()) points.push_back({v.x, v.y});
    return points;
  }

  /// The points of every member, in order.
  std::vector<std::vector<Vec2>> Scanned() const {
    std::vector<std::vector<Vec2>> chains;
    for (int i = 0; i < Count(); ++i) chains.push_back(Points(i));
    return chains;
  }

  const std::vector<HostGraphicPtr>& Members() const {
    return std::dynamic_pointer_cast<MemGraphicSet>(set)->Members();
  }

  HostFixture host;
  ToleranceScope tolerance{1e-6};
  ObjectState state = RequestState();
  HostGraphicSetPtr set;

 private:
  /// Object state as at the start of a request (its budget starts now).
  static ObjectState RequestState() {
    ObjectState s;
    s.StartTime = ClockSeconds();
    return s;
  }
};

/// Readable points in failure messages.
inline void PrintTo(const Vec2& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

}  // namespace pphatch::mem
