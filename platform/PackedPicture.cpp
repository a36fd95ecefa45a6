#include "platform/PackedPicture.h"

#include <cstring>

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

}  // namespace platform
