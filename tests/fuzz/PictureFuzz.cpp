// A stored picture, header and stream, as anyone might have made it: the
// header the program accepts is one it makes, and the rows it unpacks stay
// within the room they are given (AddressSanitizer), with their padding
// zeroed and, for a picture with a palette, every pixel one of its colours.
//
// Input: the picture's bytes as a resource holds them.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/PackedPicture.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::Require;

// A picture this large takes long to fill for a fuzzer, and its bytes
// come from a stream that fits in the fuzzer's input anyway.
constexpr std::size_t kLargestPixels = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto header = platform::ReadPictureHeader(data, size);
  if (!header) return 0;
  Require(header->width >= 1 && header->width <= platform::kLargestSide && header->height >= 1 &&
              header->height <= platform::kLargestSide && header->colours >= 0 &&
              header->colours <= 256,
          "the header read is one the program makes");
  const std::size_t pixels = static_cast<std::size_t>(header->width) * header->height;
  if (pixels > kLargestPixels) return 0;
  const std::size_t stride = platform::RowBytes(header->width);
  std::vector<unsigned char> rows(stride * header->height);
  Require(!platform::UnpackPicture(data, size, *header, rows.data(), rows.size() - 1),
          "no picture into one byte less than its rows");
  if (!platform::UnpackPicture(data, size, *header, rows.data(), rows.size())) return 0;

  const std::size_t used = static_cast<std::size_t>(header->width) * 3;
  std::set<std::string> shown;
  for (int y = 0; y < header->height; ++y) {
    const unsigned char* row = rows.data() + stride * y;
    for (std::size_t b = used; b < stride; ++b) Require(row[b] == 0, "the padding zeroed");
    for (int x = 0; x < header->width; ++x) {
      shown.insert(std::string(reinterpret_cast<const char*>(row + 3 * x), 3));
    }
  }
  if (header->colours != 0) {
    Require(shown.size() <= static_cast<std::size_t>(header->colours),
            "no more colours than the palette holds");
  }
  return 0;
}
