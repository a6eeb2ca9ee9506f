#include "view_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "memhost/arc_shape.h"
#include "memhost/graphic.h"
#include "memhost/outline.h"

namespace pphatch::cli {

namespace {

using mem::Vec2;

// Polylines gathered in drawing coordinates.
struct Polylines {
  std::vector<std::uint32_t> starts{0};
  std::vector<std::uint8_t> flags;
  std::vector<Vec2> vertices;

  // Starts a polyline at p unless the last one ends there and has the same style.
  void MoveTo(Vec2 p, std::uint8_t flag) {
    if (open_ && flags.back() == flag && vertices.back() == p) return;
    End();
    flags.push_back(flag);
    vertices.push_back(p);
    open_ = true;
  }
  void LineTo(Vec2 p) { vertices.push_back(p); }
  // Closes the polyline being built.
  void End() {
    if (open_) starts.push_back(static_cast<std::uint32_t>(vertices.size()));
    open_ = false;
  }

 private:
  bool open_ = false;
};

// Adds one top-level graphic's outline.
void AddOutline(Polylines& out, const mem::Outline& outline, std::uint8_t flag) {
  for (const auto& s : outline.segments) {
    out.MoveTo(s.a, flag);
    out.LineTo(s.b);
  }
  for (const auto& arc : outline.arcs) {
    const int chords = std::max(
        2, static_cast<int>(std::ceil(arc.sweep / mem::kFullTurn * kChordsPerTurn - 1e-9)));
    for (int k = 0; k <= chords; ++k) {
      const double a = arc.start + arc.sweep * k / chords;
      const Vec2 p = arc.centre + arc.radius * Vec2{std::cos(a), std::sin(a)};
      if (k == 0) {
        out.MoveTo(p, flag);
      } else {
        out.LineTo(p);
      }
    }
  }
  for (const Vec2 p : outline.points) {
    out.End();
    out.MoveTo(p, flag);
    out.End();
  }
  out.End();
}

template <typename T>
void Put(std::string& bytes, T value) {
  char raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));
  bytes.append(raw, sizeof(T));
}

}  // namespace

std::string EncodeGeometry(const mem::MemDrawing& drawing) {
  Polylines lines;
  std::optional<mem::Box> box;
  for (const auto& graphic : drawing.List()->Items()) {
    const mem::Outline outline = mem::BuildOutline(*graphic);
    box = mem::Union(box, outline.Bounds());
    AddOutline(lines, outline, graphic->Ignored() ? kFaintPolyline : 0);
  }
  const mem::Box b = box.value_or(mem::Box{});
  const Vec2 origin{(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2};
  const std::size_t count = lines.flags.size();

  std::string bytes;
  bytes.reserve(64 + 4 * (count + 1) + count + 3 + 8 * lines.vertices.size());
  bytes.append("PPHV", 4);
  Put<std::uint32_t>(bytes, 1);
  Put<std::uint32_t>(bytes, static_cast<std::uint32_t>(count));
  Put<std::uint32_t>(bytes, static_cast<std::uint32_t>(lines.vertices.size()));
  for (const double v : {origin.x, origin.y, b.minX, b.minY, b.maxX, b.maxY}) Put(bytes, v);
  for (const std::uint32_t s : lines.starts) Put(bytes, s);
  bytes.append(reinterpret_cast<const char*>(lines.flags.data()), count);
  bytes.append((4 - count % 4) % 4, '\0');
  for (const Vec2 p : lines.vertices) {
    Put(bytes, static_cast<float>(p.x - origin.x));
    Put(bytes, static_cast<float>(p.y - origin.y));
  }
  return bytes;
}

}  // namespace pphatch::cli
