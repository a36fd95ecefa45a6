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

}  // namespace platform
