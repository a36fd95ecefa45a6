#pragma once
// The program's pictures are kept deflated in its resources: a 24-bit
// picture stored as Windows stores it would take a fifth of dorvane.exe
// for the splash's logo alone, and the deflated pixels inflate to exactly
// the same ones.
//
// A stored picture is a BITMAPINFOHEADER followed by one raw deflate
// stream. Its pixels run bottom row first, with no row padding, in one of
// two forms: 24 bits (biBitCount 24, biClrUsed 0), three bytes a pixel
// (blue, green, red); or, for a picture of 256 colours at most, a palette
// (biBitCount 8, biClrUsed its size), the stream holding the palette, three
// bytes a colour (blue, green, red), and then one index a pixel. Either
// way the program makes a 24-bit picture of it.
//
// The pictures are compiled in, but these are decoders all the same: they
// take the size of every buffer they read or write, refuse a header that
// is not one the program makes, and read and write nothing past them.

#include <cstddef>
#include <optional>

namespace platform {

// The longest side of a picture, stored or drawn down: 4096 keeps every
// size and sum of a picture's pixels within 32 bits.
constexpr int kLargestSide = 4096;

// The background of the keyed pictures, which is not drawn: magenta, as
// the rows hold it (blue, green, red).
constexpr unsigned char kKeyColour[3] = {0xFF, 0x00, 0xFF};

// The bytes of one row of 24-bit pixels, padded to four bytes.
constexpr std::size_t RowBytes(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }

// What the header of a stored picture says.
struct PictureHeader {
  int width = 0;
  int height = 0;
  int colours = 0;  // the palette's size; 0 for 24-bit pixels
};

// The header that starts the `size` bytes of a stored picture; nothing for
// one that is not what the program makes (another size of header, a
// top-down or empty picture, a side over kLargestSide, another depth, a
// compression, a palette of no or over 256 colours, or one on 24 bits).
std::optional<PictureHeader> ReadPictureHeader(const unsigned char* data, std::size_t size);

// The pixels of the stored picture `data` of `size` bytes, whose header
// reads `header`, written as a 24-bit bottom-up DIB holds them (each row
// padded to four bytes, padding zeroed) to `rows`, which has room for
// `rowsSize` bytes. False, with `rows` then undefined, for too little
// room, a damaged stream, one of another size than the picture's, or an
// index past the palette.
bool UnpackPicture(const unsigned char* data, std::size_t size, const PictureHeader& header,
                   unsigned char* rows, std::size_t rowsSize);

// Draws the 24-bit rows of a picture of `fromWidth` x `fromHeight` (as
// UnpackPicture writes them; `rowsSize` bytes) down to `width` x `height`
// (neither larger than the picture's) into `to` (`toSize` bytes), each
// pixel the average of the area it covers, exactly, rounded half up. A
// keyed picture's background, the colour of its bottom-left pixel, stays
// out of the averages: a pixel that the picture covers less than half is
// background, each other one is the average of the picture's own pixels
// under it, so that no blend of the two colours shows as a fringe where
// the background is not drawn. False, with nothing written, for a size of
// 0, one larger than the picture's, a side over kLargestSide, or too
// little room in either buffer.
bool ShrinkPixels(const unsigned char* rows, std::size_t rowsSize, int fromWidth, int fromHeight,
                  unsigned char* to, std::size_t toSize, int width, int height, bool keyed);

}  // namespace platform
