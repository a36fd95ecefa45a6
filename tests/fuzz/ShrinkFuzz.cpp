// The drawing down of any picture to any size: sizes it cannot draw are
// refused with nothing written; the others give each pixel an average of
// the picture's own colours, so every channel lies within the picture's,
// a picture of one colour stays that colour, and a keyed one keeps its
// background exactly where it shows.
//
// Input: the picture's width and height (1 to 64), the size to draw it at
// (0 to 70 each, so that some are refused), whether it is keyed, whether
// it is of one colour, then its pixels (the bytes repeated to fill it).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PackedPicture.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const int fromWidth = input.Between(1, 64);
  const int fromHeight = input.Between(1, 64);
  const int width = input.Between(0, 70);
  const int height = input.Between(0, 70);
  const bool keyed = (input.Byte() & 1) != 0;
  const bool oneColour = (input.Byte() & 1) != 0;
  std::string bytes = input.Rest();
  if (bytes.empty()) bytes = std::string(3, '\0');
  if (oneColour) bytes.resize(3, '\0');

  const std::size_t fromStride = platform::RowBytes(fromWidth);
  std::vector<unsigned char> rows(fromStride * fromHeight, 0);
  int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
  std::size_t next = 0;
  for (int y = 0; y < fromHeight; ++y) {
    for (int x = 0; x < fromWidth * 3; ++x) {
      rows[fromStride * y + x] = static_cast<unsigned char>(bytes[next++ % bytes.size()]);
    }
  }
  for (int y = 0; y < fromHeight; ++y) {
    for (int x = 0; x < fromWidth; ++x) {
      const unsigned char* pixel = &rows[fromStride * y + 3 * x];
      if (keyed && std::equal(pixel, pixel + 3, rows.data())) continue;
      for (int c = 0; c < 3; ++c) {
        low[c] = std::min<int>(low[c], pixel[c]);
        high[c] = std::max<int>(high[c], pixel[c]);
      }
    }
  }

  const bool drawable = width >= 1 && height >= 1 && width <= fromWidth && height <= fromHeight;
  const std::size_t toSize = drawable ? platform::RowBytes(width) * height : 16;
  std::vector<unsigned char> to(toSize, 0xCD);
  const bool drawn = platform::ShrinkPixels(rows.data(), rows.size(), fromWidth, fromHeight,
                                            to.data(), to.size(), width, height, keyed);
  const auto detail = [&] {
    return std::to_string(fromWidth) + "x" + std::to_string(fromHeight) + " to " +
           std::to_string(width) + "x" + std::to_string(height) + (keyed ? ", keyed" : "");
  };
  Require(drawn == drawable, "drawn exactly when the size can be drawn", detail);
  if (!drawn) {
    Require(std::all_of(to.begin(), to.end(), [](unsigned char b) { return b == 0xCD; }),
            "nothing written when refused", detail);
    return 0;
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* pixel = &to[platform::RowBytes(width) * y + 3 * x];
      if (keyed && std::equal(pixel, pixel + 3, rows.data())) continue;
      for (int c = 0; c < 3; ++c) {
        Require(pixel[c] >= low[c] && pixel[c] <= high[c],
                "each channel within the picture's own", detail);
      }
      if (oneColour && !keyed) {
        Require(std::equal(pixel, pixel + 3, rows.data()), "one colour stays that colour", detail);
      }
    }
  }
  return 0;
}
