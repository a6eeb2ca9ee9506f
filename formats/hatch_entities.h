// HATCH entities and boundary polylines as DXF text, with true arcs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/dxf_pair_text.h"
#include "formats/dxf_writer.h"
#include "formats/true_contour.h"

namespace pphatch::formats {

/// Where new entities go and how they are numbered.
class EntityContext {
 public:
  /// `modern`: the file is AutoCAD R13 or later (HATCH and LWPOLYLINE exist,
  /// entities carry handles and their owner); `owner`: handle of the model
  /// space block record (empty: none written); `firstHandle`: the first
  /// free handle.
  EntityContext(bool modern, std::string owner, std::uint64_t firstHandle)
      : modern_(modern), owner_(std::move(owner)), next_(firstHandle) {}

  bool Modern() const { return modern_; }
  /// Writes the entity's type, handle, owner and layer.
  void Begin(DxfText& out, const char* type, const char* layer);
  /// A fresh handle for a new object.
  std::uint64_t TakeHandle() { return next_++; }
  /// The next handle that nothing in the file uses.
  std::uint64_t NextHandle() const { return next_; }

 private:
  bool modern_;
  std::string owner_;
  std::uint64_t next_;
};

/// A handle as DXF writes it: upper-case hexadecimal.
std::string HandleText(std::uint64_t handle);

/// One HATCH on kHatchLayer: the outer contour as a loop flagged external,
/// the islands as loops flagged outermost, each a loop of line, arc and
/// elliptic arc edges; the seed point; no associated boundary objects.
/// Needs a modern context.
void AddHatch(DxfText& out, EntityContext& context, const std::vector<TrueContour>& contours,
              Point2 seed, const HatchFill& fill);

/// The contour as a closed polyline on kBoundaryLayer: an LWPOLYLINE (a
/// POLYLINE in older files) whose circular arcs are bulges; elliptic arcs
/// are followed by vertices at most 6 degrees of their parameter apart,
/// and a contour that is one whole ellipse is an ELLIPSE (in R13 and later).
void AddBoundary(DxfText& out, EntityContext& context, const TrueContour& contour);

/// A hatch as older files hold it: an anonymous block `name` of the
/// pattern's lines (appended to `blocks`) and its INSERT on kHatchLayer
/// (appended to `out`).
void AddLineHatch(DxfText& blocks, DxfText& out, EntityContext& context, const std::string& name,
                  const std::vector<TrueContour>& contours, const HatchFill& fill);

/// A one-line TEXT on `layer` with its lower left corner at `at`.
void AddLabel(DxfText& out, EntityContext& context, mem::Vec2 at, double height,
              const std::string& text, const char* layer = kLabelLayer);

/// The pattern scale that gives ANSI31 hatch lines about 3 mm apart in
/// drawing units ($INSUNITS code), made coarser by powers of ten until an
/// area of `size` drawing units holds no more than about a hundred lines.
double PatternScale(int insunits, double size);

}  // namespace pphatch::formats
