#include "platform/PackedPicture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "platform/Inflate.h"

namespace platform {

namespace {

constexpr std::size_t kHeaderSize = 40;  // a BITMAPINFOHEADER's

std::uint32_t Read32(const unsigned char* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}
unsigned Read16(const unsigned char* at) { return at[0] | at[1] << 8; }

bool SideFits(std::uint32_t side) { return side >= 1 && side <= kLargestSide; }

// The 24-bit form: the stream inflates into the end of the rows, and each
// row moves from there to its place. A row's place and its padding end
// before the next row's pixels begin, so nothing is overwritten before it
// is read, and no buffer beside the rows is needed.
bool UnpackTrueColour(const unsigned char* stream, std::size_t size, int width, int height,
                      unsigned char* rows) {
  const std::size_t stride = RowBytes(width);
  const std::size_t rowPixels = static_cast<std::size_t>(width) * 3;
  const std::size_t packed = rowPixels * height;
  unsigned char* const from = rows + (stride * height - packed);
  if (!Inflate(stream, size, from, packed)) return false;
  for (int y = 0; y < height; ++y) {
    std::memmove(rows + stride * y, from + rowPixels * y, rowPixels);
    std::memset(rows + stride * y + rowPixels, 0, stride - rowPixels);
  }
  return true;
}

bool UnpackPaletted(const unsigned char* stream, std::size_t size, int width, int height,
                    int colours, unsigned char* rows) {
  const std::size_t paletteBytes = static_cast<std::size_t>(colours) * 3;
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  std::vector<unsigned char> raw;
  try {
    raw.resize(paletteBytes + pixels);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!Inflate(stream, size, raw.data(), raw.size())) return false;
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

}  // namespace

std::optional<PictureHeader> ReadPictureHeader(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size < kHeaderSize || Read32(data) != kHeaderSize) return std::nullopt;
  const std::uint32_t width = Read32(data + 4);
  const std::uint32_t height = Read32(data + 8);  // a top-down picture's is negative
  const unsigned planes = Read16(data + 12);
  const unsigned bits = Read16(data + 14);
  const std::uint32_t compression = Read32(data + 16);
  const std::uint32_t colours = Read32(data + 32);
  const bool trueColour = bits == 24 && colours == 0;
  const bool paletted = bits == 8 && colours >= 1 && colours <= 256;
  if (!SideFits(width) || !SideFits(height) || planes != 1 || compression != 0 ||
      !(trueColour || paletted)) {
    return std::nullopt;
  }
  return PictureHeader{static_cast<int>(width), static_cast<int>(height), static_cast<int>(colours)};
}

bool UnpackPicture(const unsigned char* data, std::size_t size, const PictureHeader& header,
                   unsigned char* rows, std::size_t rowsSize) {
  const int width = header.width;
  const int height = header.height;
  if (!SideFits(width) || !SideFits(height) || header.colours < 0 || header.colours > 256 ||
      size < kHeaderSize || rows == nullptr || rowsSize < RowBytes(width) * height) {
    return false;
  }
  const unsigned char* stream = data + kHeaderSize;
  const std::size_t streamSize = size - kHeaderSize;
  return header.colours == 0
             ? UnpackTrueColour(stream, streamSize, width, height, rows)
             : UnpackPaletted(stream, streamSize, width, height, header.colours, rows);
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

bool ShrinkFits(int side, int from) { return side > 0 && side <= from && from <= kLargestSide; }

}  // namespace

bool ShrinkPixels(const unsigned char* rows, std::size_t rowsSize, int fromWidth, int fromHeight,
                  unsigned char* to, std::size_t toSize, int width, int height, bool keyed) {
  if (!ShrinkFits(width, fromWidth) || !ShrinkFits(height, fromHeight) ||
      rowsSize < RowBytes(fromWidth) * fromHeight || toSize < RowBytes(width) * height) {
    return false;
  }
  const std::size_t fromStride = RowBytes(fromWidth);
  const unsigned char* key = rows;  // bottom-up: the first pixel is the bottom-left one
  // Across first, each row of the picture into `width` samples...
  std::vector<Sample> across;
  try {
    across.resize(static_cast<std::size_t>(width) * fromHeight);
  } catch (const std::bad_alloc&) {
    return false;
  }
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
