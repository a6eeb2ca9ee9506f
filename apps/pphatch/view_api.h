// The requests `pphatch view` answers, read and written without the server:
// parameters checked strictly, replies as JSON text.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/dxf_writer.h"
#include "picking.h"
#include "points.h"

namespace pphatch::cli {

/// A request that cannot be answered as sent; the server replies 400 with
/// the message.
class BadRequest : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Most characters of one number in a request.
inline constexpr std::size_t kMaxNumberLength = 64;
/// Most points an export may name.
inline constexpr std::size_t kMaxExportPoints = 10'000;

/// The point of a pick request's x and y parameters; BadRequest unless each
/// is one finite decimal number of at most kMaxNumberLength characters.
DrawingPoint ParsePickPoint(const std::string& x, const std::string& y);

/// The gap tolerance of a pick request's gap parameter; BadRequest unless
/// it is a finite number >= 0 of at most kMaxNumberLength characters.
double ParseGap(const std::string& gap);

/// A point to hatch again for an export, with the gap tolerance it was hatched with.
struct ExportPoint {
  DrawingPoint at;
  double gap = 0;
};

/// The points of an export request's body {"points":[[x,y],...]}, each
/// point optionally [x,y,gap]; BadRequest for anything else, for non-finite
/// numbers, negative gaps and for more than kMaxExportPoints points.
std::vector<ExportPoint> ParseExportPoints(const std::string& body);

/// The reply to a pick:
/// {"ok":true,"at":[x,y],"contours":[[[x,y],...],...],"area":A,"perimeter":P,
///  "islands":N,"ms":T} with the outer boundary first, or
/// {"ok":false,"at":[x,y],"error":"...","why":"...","ms":T}, with the gap
/// fields of the JSON lines ("open", "bridged") where the pick has them.
std::string PickReply(const PickOutcome& outcome);

}  // namespace pphatch::cli
