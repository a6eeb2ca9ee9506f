// The group code / value pairs of a binary DXF file.
#pragma once

#include <string>
#include <string_view>

#include "formats/dxf_pairs.h"

namespace pphatch::formats {

/// True when the content starts with the binary DXF sentinel.
bool IsBinaryDxf(std::string_view content);

/// Splits binary DXF content (sentinel included) into checked pairs: group
/// codes of two bytes (one byte, with 255 before a two-byte code, in files
/// of release 12), values as the code's type lays them down (strings ended
/// by a zero byte, little-endian integers of 1, 2, 4 or 8 bytes, doubles,
/// chunks of binary data). Throws ReadError naming `name` and the byte
/// offset for a group that is cut off or malformed, a real that is not
/// finite, or a file without the EOF marker.
DxfPairs SplitBinaryDxfPairs(std::string_view content, const std::string& name);

}  // namespace pphatch::formats
