// The pictures kept for the larger display scales: deflate's decompression
// and their drawing down to 125 and 150 %.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Inflate.h"
#include "platform/PackedPicture.h"

namespace {

using Bytes = std::vector<unsigned char>;

// 300 letters of "abcd" picked by a linear congruential generator, and
// zlib's raw deflate of them at level 9: a block of dynamic codes.
std::string Letters() {
  std::string text;
  unsigned x = 1;
  for (int i = 0; i < 300; ++i) {
    x = (x * 1103515245u + 12345u) & 0x7fffffffu;
    text += "abcd"[(x >> 16) & 3];
  }
  return text;
}
const Bytes kLettersDeflated = {
    0x25, 0x90, 0x8b, 0x11, 0xc0, 0x30, 0x08, 0x42, 0x67, 0x45, 0xd8, 0x7f, 0x86, 0xf0, 0xc8, 0xa5,
    0xbd, 0x58, 0xe5, 0x67, 0xed, 0x4b, 0xe2, 0xa8, 0xb7, 0x74, 0xe9, 0xb1, 0xbd, 0xd6, 0xb9, 0x0d,
    0x6a, 0xdf, 0x89, 0x59, 0x8b, 0xd8, 0xad, 0x03, 0xe4, 0x46, 0x2c, 0xf3, 0x60, 0x58, 0x7d, 0x5a,
    0x65, 0xf3, 0x9c, 0x7a, 0x4e, 0xd5, 0xe8, 0x9c, 0xe6, 0xde, 0x7d, 0x54, 0xb6, 0xc8, 0xc2, 0x41,
    0xa3, 0x6d, 0x7c, 0x4a, 0xc2, 0x7d, 0xf8, 0xa0, 0x7c, 0x08, 0xe0, 0x01, 0x0d, 0x88, 0x49, 0x3a,
    0x71, 0x2f, 0x4c, 0xd5, 0x8d, 0x0f, 0x89, 0xa9, 0x59, 0xe0, 0x87, 0x01, 0x50, 0x69, 0x61, 0xd5,
    0x16, 0xd0, 0xf5, 0x2a, 0x5e, 0x9e, 0x90, 0x10, 0x59, 0xb2, 0xe4, 0x33, 0x64, 0x2d, 0x36, 0x32,
    0x49, 0x41, 0x12, 0x82, 0x7f, 0x92, 0xad, 0xf5, 0x93, 0x3e};

// A last stored block holding `data` as it is.
Bytes Stored(const Bytes& data, unsigned char complementFix = 0) {
  const unsigned length = static_cast<unsigned>(data.size());
  Bytes block = {0x01, static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
                 static_cast<unsigned char>(~length ^ complementFix),
                 static_cast<unsigned char>(~length >> 8)};
  block.insert(block.end(), data.begin(), data.end());
  return block;
}

TEST(LargePicture, InflatesEachKindOfBlockAndRefusesDamage) {
  const std::string letters = Letters();
  // "Dorvane " twenty times at level 9: fixed codes and a copy of 152 bytes.
  const Bytes fixed = {0x73, 0xc9, 0x2f, 0x2a, 0x4b, 0xcc, 0x4b, 0x55, 0x70, 0x19, 0xa4, 0x34, 0x00};
  std::string dorvane;
  for (int i = 0; i < 20; ++i) dorvane += "Dorvane ";
  const Bytes truncated(kLettersDeflated.begin(), kLettersDeflated.end() - 4);
  const struct {
    const char* name;
    Bytes stream;
    std::size_t expected;
    bool inflates;
    std::string text;  // when it inflates
  } cases[] = {
      {"stored", Stored({'a', 'b', 'c'}), 3, true, "abc"},
      {"fixed codes with a copy", fixed, dorvane.size(), true, dorvane},
      {"dynamic codes", kLettersDeflated, letters.size(), true, letters},
      {"one byte more than expected", kLettersDeflated, letters.size() - 1, false, ""},
      {"one byte fewer than expected", kLettersDeflated, letters.size() + 1, false, ""},
      {"cut short", truncated, letters.size(), false, ""},
      {"a stored length without its complement", Stored({'a'}, 1), 1, false, ""},
      {"nothing", {}, 0, false, ""},
  };
  for (const auto& c : cases) {
    // Canary bytes after the room given: nothing is written there.
    Bytes out(c.expected + 4, 0xCD);
    EXPECT_EQ(platform::Inflate(c.stream.data(), c.stream.size(), out.data(), c.expected),
              c.inflates)
        << c.name;
    if (c.inflates) {
      EXPECT_EQ(std::string(out.begin(), out.begin() + c.expected), c.text) << c.name;
    }
    EXPECT_EQ(Bytes(out.end() - 4, out.end()), Bytes(4, 0xCD)) << c.name;
  }
}

// A picture's rows as ShrinkPixels reads and writes them: pixels of three
// bytes (blue, green, red), bottom row first, each row padded to four bytes.
using Picture = std::vector<std::vector<Bytes>>;
Bytes Rows(const Picture& picture) {
  Bytes rows;
  for (const auto& row : picture) {
    for (const Bytes& pixel : row) rows.insert(rows.end(), pixel.begin(), pixel.end());
    while (rows.size() % 4 != 0) rows.push_back(0);
  }
  return rows;
}

Bytes Grey(unsigned char level) { return {level, level, level}; }

// Each expected pixel is the exact area average, rounded half up, worked
// out by hand: the program and every test that compares its pixels must
// draw the same ones in every build, whatever the compiler does with
// floating point.
TEST(LargePicture, DrawingDownIsTheExactAverageAndKeepsTheKeyedBackgroundOut) {
  const Bytes key = {0xFF, 0x00, 0xFF};
  const struct {
    const char* name;
    Picture from;
    int width, height;
    bool keyed;
    Picture expected;
  } cases[] = {
      // 8 to 5 (125 %): each pixel covers 1.6. The first is (0 + 0.6 x 4) /
      // 1.6 = 1.5 and the third (0.8 x 20 + 0.8 x 255) / 1.6 = 137.5, halves
      // that floating point misses by a hair.
      {"125 %, one row",
       {{Grey(0), Grey(4), Grey(10), Grey(20), Grey(255), Grey(3), Grey(1), Grey(200)}},
       5, 1, false,
       {{Grey(2), Grey(10), Grey(138), Grey(34), Grey(125)}}},
      // 4 x 4 to 3 x 3 (150 %): each pixel covers 4/3 across and down.
      {"150 %, both ways",
       {{Grey(0), Grey(10), Grey(20), Grey(30)},
        {Grey(40), Grey(50), Grey(60), Grey(70)},
        {Grey(80), Grey(90), Grey(100), Grey(110)},
        {Grey(120), Grey(130), Grey(140), Grey(255)}},
       3, 3, false,
       {{Grey(13), Grey(25), Grey(38)}, {Grey(63), Grey(75), Grey(88)},
        {Grey(113), Grey(125), Grey(197)}}},
      // Keyed, at 150 %: a pixel that the picture covers less than half is
      // background; the others average the picture's own pixels only.
      {"150 %, keyed",
       {{key, key, key, key},
        {key, {0, 0, 200}, {0, 0, 100}, key},
        {key, {0, 100, 0}, {90, 90, 90}, {10, 20, 30}},
        {key, key, {200, 0, 0}, key}},
       3, 3, true,
       {{key, key, key}, {key, {23, 48, 98}, {24, 30, 56}}, {key, {138, 38, 18}, key}}},
      // 4 x 2 to 2 x 1, keyed: on the left three of four pixels are drawn and
      // make the average; on the right one of four: background.
      {"half, keyed",
       {{key, Grey(0x40), key, key}, {Grey(0xFF), Grey(0xFF), {0x00, 0x00, 0xFF}, key}},
       2, 1, true,
       {{Grey(0xBF), key}}},
      // Not keyed, the magenta pixels count as any other.
      {"half, not keyed",
       {{key, Grey(0x40), key, key}, {Grey(0xFF), Grey(0xFF), {0x00, 0x00, 0xFF}, key}},
       2, 1, false,
       {{{0xCF, 0x90, 0xCF}, {0xBF, 0x00, 0xFF}}}},
  };
  for (const auto& c : cases) {
    const Bytes from = Rows(c.from);
    Bytes drawn(platform::RowBytes(c.width) * c.height, 0xCD);  // canary in the padding
    EXPECT_TRUE(platform::ShrinkPixels(from.data(), from.size(), static_cast<int>(c.from[0].size()),
                                       static_cast<int>(c.from.size()), drawn.data(), drawn.size(),
                                       c.width, c.height, c.keyed))
        << c.name;
    EXPECT_EQ(drawn, Rows(c.expected)) << c.name;
  }
}

TEST(LargePicture, DrawingDownRefusesSizesItCannotDraw) {
  const Bytes from(platform::RowBytes(4) * 4, 0x40);
  const struct {
    const char* name;
    std::size_t fromSize;
    int fromWidth, fromHeight;
    std::size_t toSize;
    int width, height;
  } cases[] = {
      {"no width", from.size(), 4, 4, 16, 0, 3},
      {"no height", from.size(), 4, 4, 16, 3, 0},
      {"wider than the picture", from.size(), 4, 4, 16, 5, 3},
      {"a negative height", from.size(), 4, 4, 16, 3, -1},
      {"a picture past the longest side", from.size(), platform::kLargestSide + 1, 1, 16, 1, 1},
      {"less picture than its size", from.size() - 1, 4, 4, 16, 1, 1},
      {"less room than the drawing", from.size(), 4, 4, 11, 3, 1},
  };
  for (const auto& c : cases) {
    Bytes drawn(16, 0xCD);
    EXPECT_FALSE(platform::ShrinkPixels(from.data(), c.fromSize, c.fromWidth, c.fromHeight,
                                        drawn.data(), c.toSize, c.width, c.height, false))
        << c.name;
    EXPECT_EQ(drawn, Bytes(16, 0xCD)) << c.name << ": nothing written";
  }
}

}  // namespace
