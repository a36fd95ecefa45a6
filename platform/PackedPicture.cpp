#include "platform/PackedPicture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Inflate.h"

namespace platform {

bool UnpackPixels(const unsigned char* packed, std::size_t size, int width, int height,
                  unsigned char* rows) {
  if (width <= 0 || height <= 0) return false;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  const std::size_t stride = (rowBytes + 3) & ~static_cast<std::size_t>(3);
  const unsigned char* const end = packed + size;
  std::size_t column = 0;  // bytes written of the current row
  int row = 0;
  unsigned char* out = rows;
  // Puts one pixel at the next place, zeroing a row's padding as it ends.
  auto put = [&](const unsigned char* pixel) {
    std::memcpy(out + column, pixel, 3);
    column += 3;
    if (column == rowBytes) {
      std::memset(out + rowBytes, 0, stride - rowBytes);
      out += stride;
      column = 0;
      ++row;
    }
  };
  while (packed != end) {
    if (row == height) return false;
    const unsigned control = *packed++;
    const bool repeated = control >= 0x80;
    const std::size_t count = repeated ? control - 0x7E : control + 1;
    const std::size_t bytes = repeated ? 3 : count * 3;
    if (static_cast<std::size_t>(end - packed) < bytes) return false;
    const std::size_t left =
        static_cast<std::size_t>(height - row) * static_cast<std::size_t>(width) - column / 3;
    if (count > left) return false;
    for (std::size_t i = 0; i < count; ++i) put(repeated ? packed : packed + 3 * i);
    packed += bytes;
  }
  return row == height;
}

bool InflatePixels(const unsigned char* deflated, std::size_t size, int width, int height,
                   int colours, unsigned char* rows) {
  if (width <= 0 || height <= 0 || colours <= 0 || colours > 256) return false;
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  const std::size_t paletteBytes = static_cast<std::size_t>(colours) * 3;
  std::vector<unsigned char> raw;
  if (!Inflate(deflated, size, paletteBytes + pixels, raw)) return false;
  const unsigned char* index = raw.data() + paletteBytes;
  for (int y = 0; y < height; ++y) {
    unsigned char* out = rows + RowBytes(width) * y;
    std::memset(out, 0, RowBytes(width));
    for (int x = 0; x < width; ++x, ++index) {
      if (*index >= colours) return false;
      std::memcpy(out + 3 * x, raw.data() + 3 * *index, 3);
    }
  }
  return true;
}

namespace {

// The drawing down counts in whole numbers: an area is measured in units of
// 1 / (width x height) of a source pixel, so every share is exact. With
// floating point the 32-bit program would compute with the x87 unit, whose
// extra precision depends on the compiler's choices, and a pixel here and
// there would round the other way in one build than in another. The sides
// are kept to kLargestSide, so that the sums of a whole picture's colours
// (255 x width x height at most) fit 32 bits.

// How much of source pixel `at` the span of output pixel `out` covers, when
// `from` source pixels are drawn down to `to`: in units of 1/to of a source
// pixel, so from 0 to `to`.
std::uint32_t Overlap(int at, int out, int from, int to) {
  const std::uint32_t start = static_cast<std::uint32_t>(out) * from;
  const std::uint32_t end = start + from;
  const std::uint32_t left = std::max(static_cast<std::uint32_t>(at) * to, start);
  const std::uint32_t right = std::min(static_cast<std::uint32_t>(at + 1) * to, end);
  return right > left ? right - left : 0;
}

// Blue, green, red weighted by how much of the picture's own pixels they
// hold, and that weight.
struct Sample {
  std::uint32_t colour[3] = {};
  std::uint32_t weight = 0;
};

bool SideFits(int side, int from) { return side > 0 && side <= from && from <= kLargestSide; }

}  // namespace

bool ShrinkPixels(const unsigned char* rows, int fromWidth, int fromHeight, unsigned char* to,
                  int width, int height, bool keyed) {
  if (!SideFits(width, fromWidth) || !SideFits(height, fromHeight)) return false;
  const std::size_t fromStride = RowBytes(fromWidth);
  const unsigned char* key = rows;  // bottom-up: the first pixel is the bottom-left one
  // Across first, each row of the picture into `width` samples...
  std::vector<Sample> across(static_cast<std::size_t>(width) * fromHeight);
  for (int y = 0; y < fromHeight; ++y) {
    const unsigned char* row = rows + fromStride * y;
    for (int x = 0; x < width; ++x) {
      Sample& sample = across[static_cast<std::size_t>(y) * width + x];
      for (int at = static_cast<std::uint32_t>(x) * fromWidth / width; at < fromWidth; ++at) {
        const std::uint32_t share = Overlap(at, x, fromWidth, width);
        if (share == 0) break;
        const unsigned char* pixel = row + 3 * at;
        if (keyed && std::memcmp(pixel, key, 3) == 0) continue;
        for (int c = 0; c < 3; ++c) sample.colour[c] += share * pixel[c];
        sample.weight += share;
      }
    }
  }
  // ...then down, each column of samples into `height` pixels. A whole
  // output pixel covers fromWidth x fromHeight units.
  const std::uint32_t area = static_cast<std::uint32_t>(fromWidth) * fromHeight;
  for (int y = 0; y < height; ++y) {
    unsigned char* out = to + RowBytes(width) * y;
    std::memset(out, 0, RowBytes(width));
    for (int x = 0; x < width; ++x) {
      Sample sum;
      for (int at = static_cast<std::uint32_t>(y) * fromHeight / height; at < fromHeight; ++at) {
        const std::uint32_t share = Overlap(at, y, fromHeight, height);
        if (share == 0) break;
        const Sample& sample = across[static_cast<std::size_t>(at) * width + x];
        for (int c = 0; c < 3; ++c) sum.colour[c] += share * sample.colour[c];
        sum.weight += share * sample.weight;
      }
      unsigned char* pixel = out + 3 * x;
      if (keyed && sum.weight * 2 < area) {
        std::memcpy(pixel, key, 3);
        continue;
      }
      // Rounded to the nearest, halves up.
      for (int c = 0; c < 3; ++c) {
        const std::uint32_t whole = sum.colour[c] / sum.weight;
        const std::uint32_t rest = sum.colour[c] % sum.weight;
        pixel[c] = static_cast<unsigned char>(whole + (rest >= sum.weight - rest ? 1 : 0));
      }
    }
  }
  return true;
}

}  // namespace platform
