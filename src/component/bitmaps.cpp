// Draws the toolbar bitmaps: a black frame, navy diagonal hatch lines inside
// it and a red pick cross, on white, in the standard 16-colour palette.
#include "component/bitmaps.h"

#include <array>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

namespace pphatch {
namespace {

struct BitmapSpec {
  int width, height, bitsPerPixel;
};

constexpr std::array<BitmapSpec, 3> kSpecs{{{16, 15, 8}, {24, 23, 4}, {32, 16, 4}}};

// The 16 standard colours as (blue, green, red).
constexpr std::array<std::array<unsigned char, 3>, 16> kPalette{{
    {0, 0, 0}, {0, 0, 128}, {0, 128, 0}, {0, 128, 128}, {128, 0, 0}, {128, 0, 128},
    {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},
    {0, 255, 255}, {255, 0, 0}, {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
}};

constexpr unsigned char kBlack = 0, kRed = 9, kNavy = 4, kWhite = 15;

/// Palette index of pixel (x, y), y counted from the top.
unsigned char MotifPixel(int x, int y, int w, int h) {
  const int crossX = w * 2 / 3, crossY = h / 3, arm = std::max(2, h / 5);
  if ((x == crossX && std::abs(y - crossY) <= arm) || (y == crossY && std::abs(x - crossX) <= arm)) {
    return kRed;
  }
  if (x == 1 || y == 1 || x == w - 2 || y == h - 2) return kBlack;
  const bool inside = x > 1 && y > 1 && x < w - 2 && y < h - 2;
  if (inside && (x + y) % 4 == 0) return kNavy;
  return kWhite;
}

void PutLittleEndian(std::vector<unsigned char>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

/// A BMP file: file header, info header, palette, rows bottom-up padded to
/// four bytes.
std::vector<unsigned char> EncodeBitmap(const BitmapSpec& spec) {
  const int colours = 1 << spec.bitsPerPixel;
  const int rowBytes = ((spec.width * spec.bitsPerPixel + 31) / 32) * 4;
  const uint32_t pixelOffset = 14 + 40 + 4 * colours;
  const uint32_t fileSize = pixelOffset + rowBytes * spec.height;
  std::vector<unsigned char> out;
  out.reserve(fileSize);
  out.push_back('B');
  out.push_back('M');
  PutLittleEndian(out, fileSize, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, pixelOffset, 4);
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, spec.width, 4);
  PutLittleEndian(out, spec.height, 4);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, spec.bitsPerPixel, 2);
  PutLittleEndian(out, 0, 4);  // no compression
  PutLittleEndian(out, rowBytes * spec.height, 4);
  PutLittleEndian(out, 2835, 4);  // 72 dpi
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, colours, 4);
  PutLittleEndian(out, 0, 4);
  for (int i = 0; i < colours; ++i) {
    const auto& c = kPalette[i % 16];
    const bool standard = i < 16;
    out.push_back(standard ? c[0] : 0);
    out.push_back(standard ? c[1] : 0);
    out.push_back(standard ? c[2] : 0);
    out.push_back(0);
  }
  for (int row = spec.height - 1; row >= 0; --row) {
    std::vector<unsigned char> line(rowBytes, 0);
    for (int x = 0; x < spec.width; ++x) {
      const unsigned char p = MotifPixel(x, row, spec.width, spec.height);
      if (spec.bitsPerPixel == 8) {
        line[x] = p;
      } else {
        line[x / 2] |= (x % 2 == 0) ? static_cast<unsigned char>(p << 4) : p;
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

}  // namespace

std::optional<std::vector<unsigned char>> BitmapFile(int id) {
  if (id < kFirstBitmapId || id > kLastBitmapId) return std::nullopt;
  return EncodeBitmap(kSpecs[id - kFirstBitmapId]);
}

}  // namespace pphatch
