// The stored pictures: the header the program accepts, and the pixels a
// stored stream unpacks to, written into exactly the room given.

#include "platform/PackedPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void Put32(Bytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}
void Put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<unsigned char>(value));
  out.push_back(static_cast<unsigned char>(value >> 8));
}

// A BITMAPINFOHEADER with these fields, the others 0.
Bytes Header(std::uint32_t size, std::int32_t width, std::int32_t height, unsigned planes,
             unsigned bits, std::uint32_t compression, std::uint32_t colours) {
  Bytes out;
  Put32(out, size);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, planes);
  Put16(out, bits);
  Put32(out, compression);
  for (int i = 0; i < 3; ++i) Put32(out, 0);
  Put32(out, colours);
  Put32(out, 0);
  return out;
}

// `data` as one last stored deflate block.
Bytes Stored(const Bytes& data) {
  const unsigned length = static_cast<unsigned>(data.size());
  Bytes block = {0x01, static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
                 static_cast<unsigned char>(~length), static_cast<unsigned char>(~length >> 8)};
  block.insert(block.end(), data.begin(), data.end());
  return block;
}

Bytes Joined(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(PackedPictureTest, OnlyTheHeadersTheProgramMakesAreRead) {
  const struct {
    const char* name;
    Bytes header;
    bool read;
  } cases[] = {
      {"24 bits", Header(40, 132, 138, 1, 24, 0, 0), true},
      {"a palette of 256", Header(40, 16, 16, 1, 8, 0, 256), true},
      {"the largest side", Header(40, 4096, 1, 1, 24, 0, 0), true},
      {"another size of header", Header(108, 16, 16, 1, 24, 0, 0), false},
      {"no width", Header(40, 0, 16, 1, 24, 0, 0), false},
      {"top down", Header(40, 16, -16, 1, 24, 0, 0), false},
      {"past the largest side", Header(40, 4097, 1, 1, 24, 0, 0), false},
      {"two planes", Header(40, 16, 16, 2, 24, 0, 0), false},
      {"16 colours", Header(40, 16, 16, 1, 4, 0, 16), false},
      {"compressed", Header(40, 16, 16, 1, 24, 1, 0), false},
      {"8 bits without a palette", Header(40, 16, 16, 1, 8, 0, 0), false},
      {"a palette of 257", Header(40, 16, 16, 1, 8, 0, 257), false},
      {"24 bits with a palette", Header(40, 16, 16, 1, 24, 0, 2), false},
      {"cut short", Bytes(39, 0), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ReadPictureHeader(c.header.data(), c.header.size()).has_value(), c.read)
        << c.name;
  }
  EXPECT_FALSE(platform::ReadPictureHeader(nullptr, 40).has_value());
}

TEST(PackedPictureTest, UnpacksIntoPaddedRowsWithinTheRoomGivenAndRefusesDamage) {
  const Bytes a = {1, 2, 3}, b = {4, 5, 6}, c = {7, 8, 9};
  // Two rows of two pixels; each row padded from six bytes to eight.
  const Bytes twoByTwo = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 1, 2, 3, 0, 0};
  const Bytes trueColour = Stored(Joined(Joined(Joined(a, b), c), a));
  const Bytes palette = Joined(Joined(a, b), c);  // colours 0, 1, 2
  const struct {
    const char* name;
    platform::PictureHeader header;
    Bytes stream;
    std::size_t room;
    Bytes rows;  // empty: refused
  } cases[] = {
      {"24 bits", {2, 2, 0}, trueColour, 16, twoByTwo},
      {"a palette", {2, 2, 3}, Stored(Joined(palette, {0, 1, 2, 0})), 16, twoByTwo},
      {"an index past the palette", {2, 2, 3}, Stored(Joined(palette, {0, 1, 3, 0})), 16, {}},
      {"a pixel too few", {2, 2, 3}, Stored(Joined(palette, {0, 1, 2})), 16, {}},
      {"a pixel too many", {2, 2, 3}, Stored(Joined(palette, {0, 1, 2, 0, 0})), 16, {}},
      {"room for one row less", {2, 2, 0}, trueColour, 8, {}},
      {"a stream cut short", {2, 2, 0}, Bytes(trueColour.begin(), trueColour.end() - 1), 16, {}},
      {"no stream at all", {2, 2, 0}, {}, 16, {}},
      {"a header of no size", {0, 2, 0}, trueColour, 16, {}},
  };
  for (const auto& c : cases) {
    const Bytes data = Joined(Header(40, c.header.width, c.header.height, 1,
                                     c.header.colours == 0 ? 24 : 8, 0, c.header.colours),
                              c.stream);
    // Canary bytes after the room: nothing is written there.
    Bytes rows(c.room + 4, 0xCD);
    const bool unpacked =
        platform::UnpackPicture(data.data(), data.size(), c.header, rows.data(), c.room);
    EXPECT_EQ(unpacked, !c.rows.empty()) << c.name;
    if (unpacked) {
      EXPECT_EQ(Bytes(rows.begin(), rows.begin() + c.room), c.rows) << c.name;
    }
    EXPECT_EQ(Bytes(rows.end() - 4, rows.end()), Bytes(4, 0xCD)) << c.name;
  }
}

}  // namespace
