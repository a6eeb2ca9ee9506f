// Bytes to drawing: a reader of operands and one builder call per operation.
#include "fuzz/drawing_decoder.h"

#include <array>
#include <cmath>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "geometry/tolerance.h"
#include "memhost/builders.h"

namespace pphatch::reliability {
namespace {

using mem::GraphicPtr;
using mem::Into;
using mem::Vec2;

// Most points one chain operation makes.
constexpr int kMaxChainPoints = 12;
// Deepest nesting of containers and blocks being filled.
constexpr std::size_t kMaxOpen = 12;

// Reads operands from the front of the bytes; zero once they run out.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  // True once every byte is read.
  bool Empty() const { return pos_ >= size_; }

  // The next byte, or 0.
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  // The next eight bytes as a double, whatever they hold.
  double RawDouble() {
    std::array<std::uint8_t, sizeof(double)> bytes{};
    for (std::uint8_t& b : bytes) b = Byte();
    double value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
  }

  // A coordinate: usually a whole number in -8 .. 55; byte 0xFE adds a
  // fraction to the next one, byte 0xFF reads any double.
  double Coordinate() {
    const std::uint8_t b = Byte();
    if (b == 0xFF) return RawDouble();
    if (b == 0xFE) {
      const double whole = Grid(Byte());
      return whole + Byte() / 256.0;
    }
    return Grid(b);
  }

  // A point: two coordinates.
  Vec2 Point() {
    const double x = Coordinate();
    return {x, Coordinate()};
  }

  // A count in [low, low + span).
  int Count(int low, int span) { return low + Byte() % span; }

  // An angle in radians, in steps of 1/64 of a turn.
  double Angle() { return Byte() % 64 * (kTwoPi / 64); }

  // A length: usually 0 .. 31.75 in quarters; 0xFF reads any double.
  double Length() {
    const std::uint8_t b = Byte();
    if (b == 0xFF) return RawDouble();
    return (b % 128) / 4.0;
  }

 private:
  // The grid value of a byte: -8 .. 55.
  static double Grid(std::uint8_t b) { return static_cast<int>(b % 64) - 8; }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Texts for "BrushStyle": unfilled, filled, blanked, patterned.
const std::array<const char*, 4> kBrushes = {"None", "Solid", "", "Pattern"};

// Type names of graphics built as plain chains: area bounding kinds, kinds
// the scan leaves out, and one it has never heard of.
const std::array<const char*, 10> kChainTypes = {
    "GRAPHIC",         "PWW50Polyline", "PWW25DimLin", "PWW30POINT", "PWW40CUBE",
    "PWW60ACISSOLID", "SURFACE",       "TEXT",        "DATA",       "PWW99Unknown"};

// Builds graphics from operations, keeping the containers being filled.
class Decoder {
 public:
  Decoder(ByteReader& in, std::shared_ptr<mem::MemDrawing> drawing)
      : in_(in), drawing_(std::move(drawing)) {}

  // Runs operations until the bytes or the graphic budget run out.
  void Run() {
    while (!in_.Empty() && made_ < kMaxDecodedGraphics) {
      const std::uint8_t op = in_.Byte();
      try {
        Operation(op % 26);
      } catch (const std::exception&) {
        // A builder refused its operands (an insert of scale 0, say): the
        // graphic is simply not made.
      }
    }
  }

 private:
  // Where the next graphic goes: the innermost open container, else the drawing.
  Into Target() const {
    if (open_.empty()) return Into(drawing_);
    return Into(open_.back());
  }

  // Counts a made graphic and remembers it for property operations.
  void Made(const GraphicPtr& g) {
    ++made_;
    if (g) last_ = g;
  }

  // `count` points.
  std::vector<Vec2> Points(int count) {
    std::vector<Vec2> points;
    for (int i = 0; i < count; ++i) points.push_back(in_.Point());
    return points;
  }

  // One graphic (or container step) of the operation code, its operands read on.
  void Operation(int op) {
    switch (op) {
      case 0: {
        const Vec2 a = in_.Point();
        Made(mem::AddLine(Target(), a, in_.Point()));
        break;
      }
      case 1: {
        const int n = in_.Count(2, kMaxChainPoints - 1);
        const bool closed = in_.Byte() & 1;
        Made(mem::AddChain(Target(), Points(n), closed));
        break;
      }
      case 2:
        Made(mem::AddPolygon(Target(), Points(in_.Count(3, 6))));
        break;
      case 3: {
        const Vec2 a = in_.Point();
        Made(mem::AddRectangle(Target(), a, in_.Point()));
        break;
      }
      case 4: {
        const int n = in_.Count(2, 6);
        const bool closed = in_.Byte() & 1;
        std::vector<mem::BulgePoint> points;
        for (int i = 0; i < n; ++i) {
          const Vec2 p = in_.Point();
          points.push_back({p.x, p.y, static_cast<std::int8_t>(in_.Byte()) / 64.0});
        }
        Made(mem::AddPolyline(Target(), points, closed));
        break;
      }
      case 5: {
        const int n = in_.Count(2, 6);
        std::vector<Vec2> points = Points(n);
        Made(mem::AddCurve(Target(), points, kBrushes[in_.Byte() % kBrushes.size()]));
        break;
      }
      case 6: {
        const Vec2 c = in_.Point();
        Made(mem::AddCircle(Target(), c, in_.Length()));
        break;
      }
      case 7: {
        const Vec2 c = in_.Point();
        const Vec2 major = in_.Point();
        Made(mem::AddEllipse(Target(), c, major, in_.Byte() / 255.0));
        break;
      }
      case 8: {
        const Vec2 c = in_.Point();
        const double r = in_.Length();
        const double start = in_.Angle();
        Made(mem::AddArc(Target(), c, r, start, in_.Angle()));
        break;
      }
      case 9: {
        const Vec2 c = in_.Point();
        const Vec2 major = in_.Point();
        const double ratio = in_.Byte() / 255.0;
        const double start = in_.Angle();
        Made(mem::AddEllipticalArc(Target(), c, major, ratio, start, in_.Angle()));
        break;
      }
      case 10:
        OpenContainer();
        break;
      case 11:
        if (!open_.empty()) open_.pop_back();
        break;
      case 12:
        // A block definition: later graphics fill it until it is closed.
        if (open_.size() < kMaxOpen) {
          blocks_.push_back(mem::NewBlock(*drawing_));
          open_.push_back(blocks_.back());
        }
        break;
      case 13:
        Insert();
        break;
      case 14: {
        const double mode = in_.Byte() % 3;
        std::vector<std::vector<Vec2>> letters;
        const int n = in_.Count(1, 2);
        for (int i = 0; i < n; ++i) {
          std::vector<Vec2> ring = Points(in_.Count(3, 3));
          ring.push_back(ring.front());
          letters.push_back(ring);
        }
        Made(mem::AddText(Target(), mode, letters));
        break;
      }
      case 15: {
        const std::string info = in_.Byte() & 1 ? "Line_Width_Cosmetic" : "Brush_Cosmetic";
        std::vector<Vec2> own = Points(in_.Count(2, 3));
        std::vector<Vec2> outline = Points(in_.Count(2, 5));
        const bool closed = in_.Byte() & 1;
        Made(mem::AddIntProp(Target(), info, own, outline, closed));
        break;
      }
      case 16: {
        std::vector<Vec2> ring = Points(in_.Count(3, 4));
        Made(mem::AddHatch(Target(), ring, kBrushes[in_.Byte() % kBrushes.size()]));
        break;
      }
      case 17: {
        const Vec2 a = in_.Point();
        const Vec2 b = in_.Point();
        Made(mem::AddDimension(Target(), a, b, in_.Length()));
        break;
      }
      case 18:
        Made(mem::AddPoint(Target(), in_.Point()));
        break;
      case 19: {
        const Vec2 a = in_.Point();
        Made(mem::AddSolid(Target(), a, in_.Point()));
        break;
      }
      case 20:
        Made(mem::AddSurface(Target(), Points(in_.Count(3, 3))));
        break;
      case 21:
        SetLastProperty();
        break;
      case 22: {
        const int n = in_.Count(2, kMaxChainPoints - 1);
        std::vector<mem::ChainPoint> points;
        for (int i = 0; i < n; ++i) {
          const Vec2 p = in_.Point();
          const std::uint8_t flags = in_.Byte();
          points.push_back({p.x, p.y, (flags & 1) == 0, (flags & 2) != 0});
        }
        Made(mem::AddFlaggedChain(Target(), points, in_.Byte() & 1));
        break;
      }
      case 23: {
        const char* type = kChainTypes[in_.Byte() % kChainTypes.size()];
        const int n = in_.Count(1, 6);
        const bool closed = in_.Byte() & 1;
        Made(mem::AddTyped(Target(), type, Points(n), closed));
        break;
      }
      case 24:
        if (last_) mem::AddCosmeticChild(last_, "Brush_Cosmetic", Points(in_.Count(2, 5)), true);
        break;
      default:
        // The most common closed shape gets a second operation code, so
        // that random bytes close areas often.
        Made(mem::AddRectangle(Target(), in_.Point(), in_.Point()));
        break;
    }
  }

  // Opens a group or one of the kinds the scan takes apart.
  void OpenContainer() {
    if (open_.size() >= kMaxOpen) return;
    GraphicPtr g;
    switch (in_.Byte() % 6) {
      case 0: g = mem::AddGroup(Target()); break;
      case 1: g = mem::AddWall(Target()); break;
      case 2: g = mem::AddDoubleLine(Target()); break;
      case 3: g = mem::AddMultiline(Target()); break;
      case 4: g = mem::AddDrafting(Target()); break;
      default: g = mem::AddRegion(Target()); break;
    }
    Made(g);
    open_.push_back(g);
  }

  // An insert of one of the blocks defined so far (even one still being
  // filled, which then holds what it held at this point).
  void Insert() {
    const std::uint8_t which = in_.Byte();
    mem::Placement placement;
    const Vec2 at = in_.Point();
    placement.x = at.x;
    placement.y = at.y;
    const std::array<double, 4> scales = {1, 2, 0.5, -1};
    placement.scale = scales[in_.Byte() % scales.size()];
    placement.rotation = in_.Angle();
    if (blocks_.empty()) return;
    Made(mem::AddInsert(Target(), blocks_[which % blocks_.size()], placement));
  }

  // Sets "BrushStyle" or "Thickness" of the graphic made last.
  void SetLastProperty() {
    const std::uint8_t b = in_.Byte();
    if (!last_) return;
    if (b & 0x80) {
      mem::SetProperty(last_, "Thickness", static_cast<double>(b & 1));
    } else {
      mem::SetProperty(last_, "BrushStyle", std::string(kBrushes[b % kBrushes.size()]));
    }
  }

  ByteReader& in_;
  std::shared_ptr<mem::MemDrawing> drawing_;
  std::vector<GraphicPtr> open_;
  std::vector<GraphicPtr> blocks_;
  GraphicPtr last_;
  int made_ = 0;
};

// The view: zoom, rotation and size from the next bytes.
void DecodeView(ByteReader& in, mem::MemView& view) {
  const std::array<double, 8> zooms = {1, 1, 10, 0.5, 37.5, 1e-3, 1e3, 1e-9};
  const std::array<double, 6> widths = {1000, 1000, 1000, 0.0005, 1, 1e6};
  const double zoom = zooms[in.Byte() % zooms.size()];
  const std::uint8_t turn = in.Byte();
  const double width = widths[in.Byte() % widths.size()];
  view.SetSize(width, width * 0.75);
  view.SetZoom(zoom);
  view.SetRotation(turn < 128 ? 0 : (turn - 128) * (kTwoPi / 128));
}

}  // namespace

// The view first, then "TileMode", the click and the graphics.
DecodedRequest DecodeRequest(const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  DecodedRequest request;
  request.drawing = mem::MemDrawing::Create();
  request.view = std::make_shared<mem::MemView>(request.drawing);
  DecodeView(in, *request.view);
  request.drawing->Props().Define("TileMode", static_cast<double>(in.Byte() & 1));
  // The click: half-grid steps, so that it often falls inside a cell.
  const double cx = in.Coordinate() + 0.5 * (in.Byte() & 1);
  const double cy = in.Coordinate() + 0.5 * (in.Byte() & 1);
  request.click = {cx, cy};
  Decoder(in, request.drawing).Run();
  // The view looks at the click, as it does when a user clicks.
  request.view->SetCentre({std::isfinite(cx) ? cx : 0, std::isfinite(cy) ? cy : 0});
  const mem::Vec2 v = request.view->ToView({cx, cy});
  request.viewClick = {v.x, v.y};
  return request;
}

}  // namespace pphatch::reliability
