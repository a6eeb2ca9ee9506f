// The component's toolbar bitmaps: a hatched square with a pick mark.
#pragma once

#include <optional>
#include <vector>

namespace pphatch {

/// Bitmap ids and their sizes: 1001 is 16 x 15 at 8 bits per pixel, 1002 is
/// 24 x 23 and 1003 is 32 x 16, both at 4 bits per pixel.
inline constexpr int kFirstBitmapId = 1001;
inline constexpr int kLastBitmapId = 1003;

/// The bitmap as the bytes of a BMP file, or nothing for an unknown id.
std::optional<std::vector<unsigned char>> BitmapFile(int id);

}  // namespace pphatch
