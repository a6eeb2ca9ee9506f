#include "bench/drawings.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace pphatch::bench {

namespace {

// Room grid, walls and doors, in drawing units. Every size and every
// position of a straight piece is a multiple of 1/64, so that the ends that
// meet are the same doubles however they were summed: the peer libraries
// see a gap wherever two ends differ in the last bit.
constexpr double kGrid = 1.0 / 64;
constexpr double kRoomWidth = 6;
constexpr double kRoomHeight = 5;
constexpr double kWallThickness = 0.25;
constexpr double kDoorWidth = 0.875;
// A door opening keeps this far from the ends of its wall.
constexpr double kDoorEndClearance = 0.375;
constexpr double kColumnRadius = 0.3125;

// How often each feature appears.
constexpr double kDoorChance = 0.45;        // per inner wall
constexpr double kColumnChance = 0.12;      // per inner wall junction
constexpr double kTableChance = 0.7;        // per room
constexpr double kChairsChance = 0.6;       // per table
constexpr double kRoundTableChance = 0.15;  // per room
constexpr double kCabinetChance = 0.3;      // per room
constexpr double kDeskChance = 0.1;         // per room

// Clicks keep this far from the walls and from everything in the room.
constexpr double kClickWallClearance = 0.35;
constexpr double kClickClearance = 0.1;

// Rooms of the probe plan used to estimate pieces per room.
constexpr int kProbeSide = 8;

// Uniform numbers from the raw output of std::mt19937 only (never the
// library's distributions), so a seed gives the same drawing everywhere.
class Random {
 public:
  explicit Random(std::uint32_t seed) : rng_(seed) {}
  double Unit() { return rng_() / 4294967296.0; }
  double Uniform(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  /// A multiple of kGrid in [lo, hi] (lo and hi multiples of kGrid).
  double OnGrid(double lo, double hi) {
    return lo + kGrid * std::floor(Unit() * ((hi - lo) / kGrid + 1));
  }
  bool Chance(double p) { return Unit() < p; }
  /// A whole number in [0, n).
  std::size_t Below(std::size_t n) {
    return std::min(n - 1, static_cast<std::size_t>(Unit() * static_cast<double>(n)));
  }

 private:
  std::mt19937 rng_;
};

// An axis-parallel rectangle.
struct Rect {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;

  static Rect Around(Vec2 a, Vec2 b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  }
  Rect Grown(double d) const { return {x0 - d, y0 - d, x1 + d, y1 + d}; }
  bool Overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
  bool Holds(Vec2 p) const { return p.x > x0 && p.x < x1 && p.y > y0 && p.y < y1; }
};

// A line from a to b.
Figure Line(Vec2 a, Vec2 b) {
  Figure f;
  f.points = {a, b};
  return f;
}

// The rectangle as a closed polygon.
Figure Rectangle(const Rect& r) {
  Figure f;
  f.kind = Figure::Kind::kPolygon;
  f.points = {{r.x0, r.y0}, {r.x1, r.y0}, {r.x1, r.y1}, {r.x0, r.y1}};
  return f;
}

// A whole circle.
Figure Circle(Vec2 centre, double radius) {
  Figure f;
  f.kind = Figure::Kind::kCircle;
  f.centre = centre;
  f.radius = radius;
  return f;
}

// An arc and its exact end points (where the lines it meets end).
Figure Arc(Vec2 centre, double radius, double start, double end, Vec2 first, Vec2 last) {
  Figure f = Circle(centre, radius);
  f.kind = Figure::Kind::kArc;
  f.start = start;
  f.end = end;
  f.points = {first, last};
  return f;
}

// Direction angle of a unit axis vector.
double AngleOf(Vec2 u) { return std::atan2(u.y, u.x); }

// A desk with its chair, the block that the plan inserts turned.
Block DeskBlock() {
  Block b;
  b.figures.push_back(Rectangle({-0.6875, -0.375, 0.6875, 0.375}));
  b.figures.push_back(Circle({0, -0.75}, 0.25));
  return b;
}
// Radius of a circle round the desk block's origin that holds all of it.
constexpr double kDeskReach = 1.0;

class FloorPlanMaker {
 public:
  FloorPlanMaker(int nx, int ny, std::uint32_t seed)
      : nx_(nx), ny_(ny), random_(seed), keepOut_(static_cast<std::size_t>(nx * ny)) {}

  // Walls and doors, columns, furniture, then the clicks.
  Plan Make(int clicks) {
    plan_.blocks.push_back(DeskBlock());
    for (int j = 0; j < ny_; ++j) {
      for (int i = 0; i <= nx_; ++i)
        AddWall({i * kRoomWidth, j * kRoomHeight}, {0, 1}, kRoomHeight, i > 0 && i < nx_,
                Room(i - 1, j), Room(i, j));
    }
    for (int j = 0; j <= ny_; ++j) {
      for (int i = 0; i < nx_; ++i)
        AddWall({i * kRoomWidth, j * kRoomHeight}, {1, 0}, kRoomWidth, j > 0 && j < ny_,
                Room(i, j - 1), Room(i, j));
    }
    for (int j = 1; j < ny_; ++j) {
      for (int i = 1; i < nx_; ++i) {
        if (random_.Chance(kColumnChance)) AddColumn(i, j);
      }
    }
    for (int j = 0; j < ny_; ++j) {
      for (int i = 0; i < nx_; ++i) Furnish(i, j);
    }
    for (int c = 0; c < clicks; ++c) plan_.clicks.push_back(Click());
    return plan_;
  }

 private:
  // Index of room (i, j), or -1 outside the grid.
  int Room(int i, int j) const { return i < 0 || j < 0 || i >= nx_ || j >= ny_ ? -1 : j * nx_ + i; }

  // The floor of room r: the rectangle inside its wall faces.
  Rect Floor(int r) const {
    const int i = r % nx_, j = r / nx_;
    const double h = kWallThickness / 2;
    return {i * kRoomWidth + h, j * kRoomHeight + h, (i + 1) * kRoomWidth - h,
            (j + 1) * kRoomHeight - h};
  }

  // Marks r as taken in the room (no room: nothing).
  void KeepOut(int room, const Rect& r) {
    if (room >= 0) keepOut_[static_cast<std::size_t>(room)].push_back(r);
  }

  // True when r, grown by `gap`, meets nothing taken in the room.
  bool Free(int room, const Rect& r, double gap) const {
    for (const Rect& k : keepOut_[static_cast<std::size_t>(room)]) {
      if (r.Grown(gap).Overlaps(k)) return false;
    }
    return true;
  }

  // One wall from the junction `at` along the unit axis u, `span` long
  // between junction centres; its faces stop half a wall short of each
  // junction. `minus` and `plus` are the rooms on either side (the wall's
  // normal n points to `plus`). Inner walls may get a door.
  void AddWall(Vec2 at, Vec2 u, double span, bool inner, int minus, int plus) {
    const double h = kWallThickness / 2;
    const Vec2 n{u.y, u.x};
    const Vec2 c0 = at + h * u;
    const double length = span - kWallThickness;
    const auto face = [&](double side, double from, double to) {
      plan_.figures.push_back(Line(c0 + from * u + side * h * n, c0 + to * u + side * h * n));
    };
    if (!inner || !random_.Chance(kDoorChance)) {
      face(-1, 0, length);
      face(1, 0, length);
      return;
    }
    const double a = random_.OnGrid(kDoorEndClearance, length - kDoorWidth - kDoorEndClearance);
    const double b = a + kDoorWidth;
    for (const double side : {-1.0, 1.0}) {
      face(side, 0, a);
      face(side, b, length);
    }
    for (const double along : {a, b}) {
      plan_.figures.push_back(Line(c0 + along * u - h * n, c0 + along * u + h * n));
    }
    const Rect opening = Rect::Around(c0 + a * u - h * n, c0 + b * u + h * n);
    KeepOut(minus, opening);
    KeepOut(plus, opening);
    // The leaf stands open into one room; its swing ends on the far jamb.
    const double side = random_.Chance(0.5) ? 1.0 : -1.0;
    const Vec2 hinge = c0 + a * u + side * h * n;
    const Vec2 open = side * n;
    const Vec2 tip = hinge + kDoorWidth * open, jamb = hinge + kDoorWidth * u;
    plan_.figures.push_back(Line(hinge, tip));
    if (mem::Cross(open, u) > 0) {
      plan_.figures.push_back(Arc(hinge, kDoorWidth, AngleOf(open), AngleOf(u), tip, jamb));
    } else {
      plan_.figures.push_back(Arc(hinge, kDoorWidth, AngleOf(u), AngleOf(open), jamb, tip));
    }
    KeepOut(side > 0 ? plus : minus,
            Rect::Around(hinge, hinge + kDoorWidth * open + kDoorWidth * u));
  }

  // A round column on the junction of grid lines i and j.
  void AddColumn(int i, int j) {
    const Vec2 c{i * kRoomWidth, j * kRoomHeight};
    plan_.figures.push_back(Circle(c, kColumnRadius));
    const Rect box = Rect::Around(c - Vec2{kColumnRadius, kColumnRadius},
                                  c + Vec2{kColumnRadius, kColumnRadius});
    for (const int r : {Room(i - 1, j - 1), Room(i, j - 1), Room(i - 1, j), Room(i, j)})
      KeepOut(r, box);
  }

  // A random place for a w x h rectangle in the room, `gap` clear of
  // everything there and `margin` inside the floor; nothing after a few tries.
  std::optional<Rect> Place(int room, double w, double h, double margin, double gap) {
    const Rect floor = Floor(room);
    for (int attempt = 0; attempt < 8; ++attempt) {
      const double x = random_.OnGrid(floor.x0 + margin, floor.x1 - margin - w);
      const double y = random_.OnGrid(floor.y0 + margin, floor.y1 - margin - h);
      const Rect r{x, y, x + w, y + h};
      if (Free(room, r, gap)) return r;
    }
    return std::nullopt;
  }

  // The furniture of room (i, j), each piece by chance.
  void Furnish(int i, int j) {
    const int room = Room(i, j);
    if (random_.Chance(kCabinetChance)) AddCabinet(room);
    if (random_.Chance(kTableChance)) AddTable(room);
    if (random_.Chance(kRoundTableChance)) {
      const double r = 0.4375;
      if (const auto box = Place(room, 2 * r, 2 * r, 0.5, 0.3125)) {
        plan_.figures.push_back(Circle({(box->x0 + box->x1) / 2, (box->y0 + box->y1) / 2}, r));
        KeepOut(room, *box);
      }
    }
    if (random_.Chance(kDeskChance)) {
      const double d = 2 * kDeskReach;
      if (const auto box = Place(room, d, d, 0.3125, 0.125)) {
        Figure insert;
        insert.kind = Figure::Kind::kInsert;
        insert.block = 0;
        insert.placement = {(box->x0 + box->x1) / 2, (box->y0 + box->y1) / 2, 1,
                            random_.Uniform(0, mem::kFullTurn)};
        plan_.figures.push_back(insert);
        KeepOut(room, *box);
      }
    }
  }

  // A table, sometimes with a chair on each long side.
  void AddTable(int room) {
    const double w = random_.OnGrid(1.0, 1.625), h = random_.OnGrid(0.625, 1.0);
    const auto table = Place(room, w, h, 0.6875, 0.625);
    if (!table) return;
    plan_.figures.push_back(Rectangle(*table));
    KeepOut(room, table->Grown(0.625));
    if (!random_.Chance(kChairsChance)) return;
    const double cx = (table->x0 + table->x1) / 2;
    plan_.figures.push_back(
        Rectangle({cx - 0.1875, table->y1 + 0.125, cx + 0.1875, table->y1 + 0.5}));
    plan_.figures.push_back(
        Rectangle({cx - 0.1875, table->y0 - 0.5, cx + 0.1875, table->y0 - 0.125}));
  }

  // A cabinet standing against one of the room's wall faces.
  void AddCabinet(int room) {
    const Rect floor = Floor(room);
    const double length = 1.25, depth = 0.5;
    const int wall = static_cast<int>(random_.Below(4));
    const bool vertical = wall < 2;
    const double span = vertical ? floor.y1 - floor.y0 : floor.x1 - floor.x0;
    const double at = random_.OnGrid(0.5, span - length - 0.5);
    Rect r;
    switch (wall) {
      case 0:
        r = {floor.x0, floor.y0 + at, floor.x0 + depth, floor.y0 + at + length};
        break;
      case 1:
        r = {floor.x1 - depth, floor.y0 + at, floor.x1, floor.y0 + at + length};
        break;
      case 2:
        r = {floor.x0 + at, floor.y0, floor.x0 + at + length, floor.y0 + depth};
        break;
      default:
        r = {floor.x0 + at, floor.y1 - depth, floor.x0 + at + length, floor.y1};
        break;
    }
    if (!Free(room, r, 0.0625)) return;
    plan_.figures.push_back(Rectangle(r));
    KeepOut(room, r.Grown(0.3125));
  }

  // A point of free floor in a random room.
  Vec2 Click() {
    for (;;) {
      const int room = static_cast<int>(random_.Below(static_cast<std::size_t>(nx_ * ny_)));
      const Rect floor = Floor(room).Grown(-kClickWallClearance);
      for (int attempt = 0; attempt < 50; ++attempt) {
        const Vec2 p{random_.Uniform(floor.x0, floor.x1), random_.Uniform(floor.y0, floor.y1)};
        const auto& boxes = keepOut_[static_cast<std::size_t>(room)];
        if (std::none_of(boxes.begin(), boxes.end(),
                         [&](const Rect& k) { return k.Grown(kClickClearance).Holds(p); })) {
          return p;
        }
      }
    }
  }

  int nx_, ny_;
  Random random_;
  std::vector<std::vector<Rect>> keepOut_;
  Plan plan_;
};

// Pieces per room of a small plan of that seed.
double PiecesPerRoom(std::uint32_t seed) {
  const Plan probe = FloorPlanMaker(kProbeSide, kProbeSide, seed).Make(0);
  std::size_t pieces = 0;
  for (const Figure& f : probe.figures) pieces += FigurePieceCount(probe, f);
  return static_cast<double>(pieces) / (kProbeSide * kProbeSide);
}

// Squared distance from p to the segment a-b.
double DistanceSquared(Vec2 p, const Piece& s) {
  const Vec2 d = s.b - s.a;
  const double len2 = mem::Dot(d, d);
  const double t = len2 > 0 ? std::clamp(mem::Dot(p - s.a, d) / len2, 0.0, 1.0) : 0;
  const Vec2 q = s.a + t * d - p;
  return mem::Dot(q, q);
}

}  // namespace

Plan MakeFloorPlan(std::size_t targetPieces, std::uint32_t seed, int clicks) {
  // A grid as square as the number of rooms allows.
  const double rooms = static_cast<double>(targetPieces) / PiecesPerRoom(seed);
  const int nx = std::max(2, static_cast<int>(std::ceil(std::sqrt(rooms))));
  const int ny = std::max(2, static_cast<int>(std::lround(rooms / nx)));
  Plan plan = FloorPlanMaker(nx, ny, seed).Make(clicks);
  plan.name = "floor plan " + std::to_string(nx) + "x" + std::to_string(ny) + " rooms";
  return plan;
}

Plan PunchGaps(Plan plan, double gap) {
  const double h = kWallThickness / 2;
  std::vector<bool> punched(plan.figures.size(), false);
  for (const Vec2 click : plan.clicks) {
    // A piece of the wall face along the bottom edge of the click's room.
    const double y0 = std::floor(click.y / kRoomHeight) * kRoomHeight + h;
    const double x0 = std::floor(click.x / kRoomWidth) * kRoomWidth, x1 = x0 + kRoomWidth;
    for (std::size_t f = 0; f < plan.figures.size(); ++f) {
      Figure& line = plan.figures[f];
      if (line.kind != Figure::Kind::kLine || punched[f]) continue;
      const Vec2 a = line.points[0], b = line.points[1];
      if (a.y != y0 || b.y != y0 || std::min(a.x, b.x) < x0 || std::max(a.x, b.x) > x1) continue;
      const double middle = std::min(a.x, b.x) + std::floor(std::fabs(b.x - a.x) / 2 / kGrid) * kGrid;
      const Vec2 left{std::min(a.x, b.x), y0}, right{std::max(a.x, b.x), y0};
      line.points = {left, {middle, y0}};
      plan.figures.push_back(Line({middle + gap, y0}, right));
      punched[f] = true;
      punched.push_back(true);
      break;
    }
  }
  plan.name += ", a gap of " + std::to_string(gap) + " in each clicked room";
  return plan;
}

Plan MakeGearBoundary(std::size_t pieces, OutlineAs outline, std::uint32_t seed, int clicks) {
  // Tooth pitch one unit along the root circle, teeth half a unit deep.
  constexpr double kPitch = 1, kDepth = 0.5;
  // Clicks keep this far inside the root circle.
  constexpr double kClearance = 0.1;
  const std::size_t teeth = std::max<std::size_t>(3, (pieces + 3) / 4);
  const double root = static_cast<double>(teeth) * kPitch / mem::kFullTurn;
  const double tip = root + kDepth;
  // Each corner is computed once, so that the lines that meet there end on
  // the same doubles.
  std::vector<Vec2> corners;
  corners.reserve(4 * teeth);
  const auto at = [](double radius, double angle) {
    return Vec2{radius * std::cos(angle), radius * std::sin(angle)};
  };
  for (std::size_t t = 0; t < teeth; ++t) {
    const double a0 = mem::kFullTurn * static_cast<double>(t) / static_cast<double>(teeth);
    const double a1 = mem::kFullTurn * (static_cast<double>(t) + 0.5) / static_cast<double>(teeth);
    corners.push_back(at(root, a0));
    corners.push_back(at(tip, a0));
    corners.push_back(at(tip, a1));
    corners.push_back(at(root, a1));
  }
  Plan plan;
  const std::string count = std::to_string(corners.size());
  if (outline == OutlineAs::kLines) {
    plan.name = "gear of " + count + " lines";
    for (std::size_t i = 0; i < corners.size(); ++i)
      plan.figures.push_back(Line(corners[i], corners[(i + 1) % corners.size()]));
  } else {
    plan.name = "gear, one polyline of " + count + " corners";
    Figure polygon;
    polygon.kind = Figure::Kind::kPolygon;
    polygon.points = corners;
    plan.figures.push_back(std::move(polygon));
  }
  double twice = 0;
  for (std::size_t i = 0; i < corners.size(); ++i)
    twice += mem::Cross(corners[i], corners[(i + 1) % corners.size()]);
  plan.expectedArea = std::fabs(twice) / 2;
  plan.expectedContours = 1;
  Random random(seed);
  const double reach = root - kClearance;
  while (plan.clicks.size() < static_cast<std::size_t>(clicks)) {
    const Vec2 p{random.Uniform(-reach, reach), random.Uniform(-reach, reach)};
    if (mem::Dot(p, p) < reach * reach) plan.clicks.push_back(p);
  }
  return plan;
}

Plan MakeIslandRoom(std::size_t islands, std::uint32_t seed, int clicks) {
  // Islands kSide wide every kPitch; the walls kMargin from the outer ones;
  // clicks kClearance from islands and walls. All multiples of 1/64.
  constexpr double kSide = 0.5, kPitch = 1.5, kMargin = 1, kClearance = 0.125;
  const std::size_t n = std::max<std::size_t>(1, islands);
  const auto columns = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(n))));
  const std::size_t rows = (n + columns - 1) / columns;
  const double width = 2 * kMargin + kPitch * static_cast<double>(columns - 1) + kSide;
  const double height = 2 * kMargin + kPitch * static_cast<double>(rows - 1) + kSide;
  Plan plan;
  plan.name = "room, " + std::to_string(n) + " islands in " + std::to_string(columns) + " columns";
  const Vec2 corners[] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
  for (int k = 0; k < 4; ++k) plan.figures.push_back(Line(corners[k], corners[(k + 1) % 4]));
  for (std::size_t k = 0; k < n; ++k) {
    const double x = kMargin + kPitch * static_cast<double>(k % columns);
    const double y = kMargin + kPitch * static_cast<double>(k / columns);
    plan.figures.push_back(Rectangle({x, y, x + kSide, y + kSide}));
  }
  plan.expectedArea = width * height - static_cast<double>(n) * kSide * kSide;
  plan.expectedContours = n + 1;
  Random random(seed);
  while (plan.clicks.size() < static_cast<std::size_t>(clicks)) {
    const Vec2 p{random.Uniform(kClearance, width - kClearance),
                 random.Uniform(kClearance, height - kClearance)};
    // The island of the grid cell p falls in, if there is one, grown by the clearance.
    const double cx = std::floor((p.x - kMargin + (kPitch - kSide) / 2) / kPitch);
    const double cy = std::floor((p.y - kMargin + (kPitch - kSide) / 2) / kPitch);
    const bool onGrid = cx >= 0 && cy >= 0 && cx < static_cast<double>(columns) &&
                        cy < static_cast<double>(rows) &&
                        static_cast<std::size_t>(cy) * columns + static_cast<std::size_t>(cx) < n;
    if (onGrid) {
      const double x = kMargin + kPitch * cx, y = kMargin + kPitch * cy;
      if (Rect{x, y, x + kSide, y + kSide}.Grown(kClearance).Holds(p)) continue;
    }
    plan.clicks.push_back(p);
  }
  return plan;
}

Plan MakeRandomSegments(std::size_t count, std::uint32_t seed, int clicks) {
  // In a square of side 1000, a segment of mean length 56 crosses about
  // 2 n L^2 / (pi A) = 10 others for n = 5000; lengths scale with 1/sqrt(n).
  constexpr double kSide = 1000;
  const double mean = kSide * std::sqrt(10 * 3.14159265358979 / (2.0 * static_cast<double>(count)));
  Random random(seed);
  Plan plan;
  plan.name = "random segments";
  std::vector<Piece> pieces;
  for (std::size_t k = 0; k < count; ++k) {
    const Vec2 a{random.Uniform(0, kSide), random.Uniform(0, kSide)};
    const double angle = random.Uniform(0, mem::kFullTurn);
    const double length = random.Uniform(0.5 * mean, 1.5 * mean);
    const Vec2 b = a + length * Vec2{std::cos(angle), std::sin(angle)};
    plan.figures.push_back(Line(a, b));
    pieces.push_back({a, b});
  }
  // Clicks in the middle of the square, clear of every segment.
  const double clearance = 1e-3 * kSide;
  while (plan.clicks.size() < static_cast<std::size_t>(clicks)) {
    const Vec2 p{random.Uniform(0.1 * kSide, 0.9 * kSide),
                 random.Uniform(0.1 * kSide, 0.9 * kSide)};
    if (std::all_of(pieces.begin(), pieces.end(), [&](const Piece& s) {
          return DistanceSquared(p, s) >= clearance * clearance;
        })) {
      plan.clicks.push_back(p);
    }
  }
  return plan;
}

}  // namespace pphatch::bench
