#pragma once
// Deflate's decompression (RFC 1951), for the pictures, which the program
// keeps compressed: zlib's own format without its header, as make_art.py
// writes it. A few hundred bytes of code in place of a library that
// Windows XP lacks. It reads nothing past the stream it is given, writes
// nothing past the room it is given, and allocates nothing.

#include <cstddef>

namespace platform {

// The bytes that the raw deflate stream `data` of `size` bytes holds,
// written to `out`, which has room for `expected` bytes. False, with `out`
// then undefined, for a damaged stream, one that ends before its last
// block does, or one that holds more or fewer than `expected` bytes.
bool Inflate(const unsigned char* data, std::size_t size, unsigned char* out,
             std::size_t expected);

}  // namespace platform
