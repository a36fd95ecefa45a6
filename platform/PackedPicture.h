#pragma once
// The program's larger pictures are kept run-length packed in its
// resources: a 24-bit picture stored as Windows stores it would take a
// fifth of dorvane.exe for the splash's logo alone, and the packed pixels
// unpack to exactly the same ones.
//
// A packed picture is a BITMAPINFOHEADER (24 bits, bottom row first)
// followed by its pixels, three bytes each (blue, green, red), bottom row
// first and with no row padding, in packets: a control byte below 0x80 is
// followed by that many plus one pixels as they are; a control byte c from
// 0x80 on by one pixel that stands c - 0x7E times over.

#include <cstddef>

namespace platform {

// The pixels' rows as a 24-bit bottom-up DIB holds them (each padded to
// four bytes, padding zeroed), written to `rows`. False, with `rows` then
// undefined, when the packets end before the picture does, run past it, or
// go on after it.
bool UnpackPixels(const unsigned char* packed, std::size_t size, int width, int height,
                  unsigned char* rows);

// The pictures drawn for the larger display scales hold few colours and
// large areas of one: they are kept deflated with a palette, a third of
// their run-length packed size. After the BITMAPINFOHEADER (8 bits, its
// biClrUsed the palette's size) comes one raw deflate stream of the
// palette, three bytes a colour (blue, green, red), and the pixels'
// indices, bottom row first with no padding. `deflated` is that stream;
// the rows are written as UnpackPixels writes them. False for a damaged
// stream or an index past the palette.
bool InflatePixels(const unsigned char* deflated, std::size_t size, int width, int height,
                   int colours, unsigned char* rows);

// The longest side of a picture that ShrinkPixels draws down.
constexpr int kLargestSide = 4096;

// Draws the 24-bit rows of a picture (as UnpackPixels writes them) down to
// `width` x `height` (neither larger than the picture's), each pixel the
// average of the area it covers, exactly, rounded half up. A keyed
// picture's background, the colour of its bottom-left pixel, stays out of
// the averages: a pixel that the picture covers less than half is
// background, each other one is the average of the picture's own pixels
// under it, so that no blend of the two colours shows as a fringe where
// the background is not drawn. False, with nothing written, for a size of
// 0, one larger than the picture's, or a side over kLargestSide.
bool ShrinkPixels(const unsigned char* rows, int fromWidth, int fromHeight, unsigned char* to,
                  int width, int height, bool keyed);

// The bytes of one row of 24-bit pixels, padded to four bytes.
constexpr std::size_t RowBytes(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }

}  // namespace platform
