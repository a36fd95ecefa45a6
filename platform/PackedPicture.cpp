#include "platform/PackedPicture.h"

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

// The share of source pixel `at` in the span that output pixel `out` of
// `to` covers of `from` source pixels.
double Overlap(int at, int out, int from, int to) {
  const double start = static_cast<double>(out) * from / to;
  const double end = static_cast<double>(out + 1) * from / to;
  const double left = at > start ? at : start;
  const double right = at + 1 < end ? at + 1 : end;
  return right > left ? right - left : 0.0;
}

// Blue, green, red weighted by how much of the picture's own pixels they
// hold, and that weight.
struct Sample {
  double colour[3] = {};
  double weight = 0;
};

}  // namespace

void ShrinkPixels(const unsigned char* rows, int fromWidth, int fromHeight, unsigned char* to,
                  int width, int height, bool keyed) {
  const std::size_t fromStride = RowBytes(fromWidth);
  const unsigned char* key = rows;  // bottom-up: the first pixel is the bottom-left one
  // Across first, each row of the picture into `width` samples...
  std::vector<Sample> across(static_cast<std::size_t>(width) * fromHeight);
  for (int y = 0; y < fromHeight; ++y) {
    const unsigned char* row = rows + fromStride * y;
    for (int x = 0; x < width; ++x) {
      Sample& sample = across[static_cast<std::size_t>(y) * width + x];
      const int first = x * fromWidth / width;
      for (int at = first; at < fromWidth; ++at) {
        const double share = Overlap(at, x, fromWidth, width);
        if (share <= 0 && at > first) break;
        const unsigned char* pixel = row + 3 * at;
        if (keyed && std::memcmp(pixel, key, 3) == 0) continue;
        for (int c = 0; c < 3; ++c) sample.colour[c] += share * pixel[c];
        sample.weight += share;
      }
    }
  }
  // ...then down, each column of samples into `height` pixels.
  const double area = static_cast<double>(fromWidth) / width * fromHeight / height;
  for (int y = 0; y < height; ++y) {
    unsigned char* out = to + RowBytes(width) * y;
    std::memset(out, 0, RowBytes(width));
    for (int x = 0; x < width; ++x) {
      Sample sum;
      const int first = y * fromHeight / height;
      for (int at = first; at < fromHeight; ++at) {
        const double share = Overlap(at, y, fromHeight, height);
        if (share <= 0 && at > first) break;
        const Sample& sample = across[static_cast<std::size_t>(at) * width + x];
        for (int c = 0; c < 3; ++c) sum.colour[c] += share * sample.colour[c];
        sum.weight += share * sample.weight;
      }
      unsigned char* pixel = out + 3 * x;
      if (keyed && sum.weight * 2 < area) {
        std::memcpy(pixel, key, 3);
        continue;
      }
      for (int c = 0; c < 3; ++c) {
        pixel[c] = static_cast<unsigned char>(sum.colour[c] / sum.weight + 0.5);
      }
    }
  }
}

}  // namespace platform
