#include "platform/PackedPicture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Three-byte pixels named by one letter each, for readable cases.
Bytes Pixel(char name) { return {static_cast<unsigned char>(name), 0x10, 0x20}; }

Bytes Packed(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The padded rows a DIB holds: each row's pixels, then zeros to four bytes.
Bytes Rows(const std::vector<std::string>& rows) {
  Bytes out;
  for (const std::string& row : rows) {
    for (char name : row) {
      const Bytes p = Pixel(name);
      out.insert(out.end(), p.begin(), p.end());
    }
    while (out.size() % 4 != 0) out.push_back(0);
  }
  return out;
}

struct Case {
  const char* name;
  Bytes packed;
  int width, height;
  std::vector<std::string> rows;  // empty: the packets are refused
};

TEST(PackedPicture, UnpacksRunsAndLiteralsIntoPaddedRowsAndRefusesBadPackets) {
  const Bytes a = Pixel('a'), b = Pixel('b'), c = Pixel('c');
  const Case cases[] = {
      {"a literal across a row's end", Packed({{2}, a, b, c}), 1, 3, {"a", "b", "c"}},
      {"a run across a row's end", Packed({{0x80 + 1}, a}), 3, 1, {"aaa"}},
      {"the longest run", Packed({{0xFF}, a}), 129, 1, {std::string(129, 'a')}},
      {"runs and literals", Packed({{0x80}, a, {1}, b, c, {0x80}, c}), 3, 2, {"aab", "ccc"}},
      {"packets end before the picture", Packed({{0x80}, a}), 3, 1, {}},
      {"a run past the picture", Packed({{0x81}, a}), 2, 1, {}},
      {"a literal whose pixels are cut", Packed({{1}, a, {b[0]}}), 2, 1, {}},
      {"packets after the picture", Packed({{0}, a, {0}, b}), 1, 1, {}},
      {"no pixels at all", Bytes{}, 1, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t stride = (c.width * 3 + 3) & ~3;
    Bytes rows(stride * c.height, 0xCD);  // canary: the padding must be zeroed
    const bool ok = platform::UnpackPixels(c.packed.data(), c.packed.size(), c.width, c.height,
                                           rows.data());
    EXPECT_EQ(ok, !c.rows.empty());
    if (ok) {
      EXPECT_EQ(rows, Rows(c.rows));
    }
  }
}

}  // namespace
