#pragma once
// Deflate's decompression (RFC 1951), for the pictures drawn for the larger
// display scales, which the program keeps compressed: zlib's own format
// without its header, as make_art.py writes it. A few hundred bytes of code
// in place of a library that Windows XP lacks.

#include <cstddef>
#include <vector>

namespace platform {

// The bytes that the raw deflate stream `data` holds. False, with `out`
// undefined, for a damaged stream, one that reads past its end, or one
// whose output is not exactly `expected` bytes.
bool Inflate(const unsigned char* data, std::size_t size, std::size_t expected,
             std::vector<unsigned char>& out);

}  // namespace platform
