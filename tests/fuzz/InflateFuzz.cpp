// Deflate's decompression over any stream and any room: it reads nothing
// past the stream and writes nothing past the room (AddressSanitizer
// watches both, the buffers allocated to exactly their sizes), and a
// stream it accepts holds exactly the bytes it was told.
//
// Input: a mode byte. Mode 0: the bytes to hold, which the target packs
// into stored blocks of up to 255 bytes, so that the stream is a good one
// whose contents are known. Any other mode: the size to expect (two
// bytes), then the stream as it is.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Inflate.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::Require;
using fuzz::Shown;

std::vector<unsigned char> Stored(const std::string& data) {
  std::vector<unsigned char> stream;
  std::size_t at = 0;
  do {
    const std::size_t length = std::min<std::size_t>(255, data.size() - at);
    const bool last = at + length == data.size();
    stream.insert(stream.end(), {static_cast<unsigned char>(last ? 1 : 0),
                                 static_cast<unsigned char>(length), 0,
                                 static_cast<unsigned char>(~length), 0xFF});
    stream.insert(stream.end(), data.begin() + at, data.begin() + at + length);
    at += length;
  } while (at < data.size());
  return stream;
}

// Inflates into a buffer of exactly `room` bytes.
bool Inflated(const std::vector<unsigned char>& stream, std::size_t room,
              std::vector<unsigned char>& out) {
  out.assign(room, 0);
  return platform::Inflate(stream.data(), stream.size(), out.data(), room);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  std::vector<unsigned char> out;
  if (input.Byte() == 0) {
    const std::string held = input.Rest();
    const std::vector<unsigned char> stream = Stored(held);
    Require(Inflated(stream, held.size(), out) && std::string(out.begin(), out.end()) == held,
            "stored blocks inflate to their bytes", [&] { return Shown(held); });
    return 0;
  }
  const std::size_t expected = static_cast<std::size_t>(input.Between(0, 65535));
  const std::string bytes = input.Rest();
  const std::vector<unsigned char> stream(bytes.begin(), bytes.end());
  if (!Inflated(stream, expected, out)) return 0;
  // Accepted: the stream holds exactly that many bytes, no more, no fewer,
  // and says so the same way again.
  const std::vector<unsigned char> first = out;
  const auto detail = [&] { return "expected " + std::to_string(expected) + ": " + Shown(bytes); };
  Require(Inflated(stream, expected, out) && out == first, "the same bytes twice", detail);
  Require(expected == 0 || !Inflated(stream, expected - 1, out), "not into less room", detail);
  Require(!Inflated(stream, expected + 1, out), "not as more bytes", detail);
  return 0;
}
