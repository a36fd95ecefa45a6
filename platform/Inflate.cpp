#include "platform/Inflate.h"

namespace platform {

namespace {

constexpr int kMaxBits = 15;

// The stream's bits, least significant first, as deflate packs them.
class BitReader {
 public:
  BitReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  unsigned Bits(int count) {
    while (held_ < count) {
      unsigned byte = 0;
      if (position_ < size_) {
        byte = data_[position_++];
      } else {
        overrun_ = true;
      }
      buffer_ |= byte << held_;
      held_ += 8;
    }
    const unsigned value = buffer_ & ((1u << count) - 1);
    buffer_ >>= count;
    held_ -= count;
    return value;
  }
  // A stored block starts at a byte: the rest of the current one is left.
  void SkipToByte() {
    buffer_ = 0;
    held_ = 0;
  }
  bool Overrun() const { return overrun_; }

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  unsigned buffer_ = 0;
  int held_ = 0;
  bool overrun_ = false;
};

// A canonical Huffman code: how many codes of each length, and the symbols
// in the order of their codes.
struct Huffman {
  short count[kMaxBits + 1] = {};
  short symbol[288] = {};
};

// False for lengths that promise more codes than there are; a code with
// fewer (a single distance code) is allowed.
bool Build(Huffman& code, const unsigned char* lengths, int symbols) {
  for (int i = 0; i < symbols; ++i) ++code.count[lengths[i]];
  code.count[0] = 0;
  int left = 1;
  for (int length = 1; length <= kMaxBits; ++length) {
    left = left * 2 - code.count[length];
    if (left < 0) return false;
  }
  short offset[kMaxBits + 1] = {};
  for (int length = 1; length < kMaxBits; ++length) {
    offset[length + 1] = static_cast<short>(offset[length] + code.count[length]);
  }
  for (int i = 0; i < symbols; ++i) {
    if (lengths[i] != 0) code.symbol[offset[lengths[i]]++] = static_cast<short>(i);
  }
  return true;
}

int Decode(BitReader& in, const Huffman& code) {
  int value = 0, first = 0, index = 0;
  for (int length = 1; length <= kMaxBits; ++length) {
    value |= static_cast<int>(in.Bits(1));
    const int count = code.count[length];
    if (value - first < count) return code.symbol[index + value - first];
    index += count;
    first = (first + count) << 1;
    value <<= 1;
  }
  return -1;
}

constexpr short kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr unsigned char kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr unsigned short kDistanceBase[] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr unsigned char kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The room the stream is written into, and how much of it is written.
struct Output {
  unsigned char* data;
  std::size_t room;
  std::size_t size = 0;
};

bool InflateCodes(BitReader& in, const Huffman& literals, const Huffman& distances, Output& out) {
  for (;;) {
    const int symbol = Decode(in, literals);
    if (symbol < 0 || in.Overrun()) return false;
    if (symbol < 256) {
      if (out.size >= out.room) return false;
      out.data[out.size++] = static_cast<unsigned char>(symbol);
      continue;
    }
    if (symbol == 256) return true;
    const int lengthCode = symbol - 257;
    if (lengthCode >= 29) return false;
    const std::size_t length = kLengthBase[lengthCode] + in.Bits(kLengthExtra[lengthCode]);
    const int distanceCode = Decode(in, distances);
    if (distanceCode < 0 || distanceCode >= 30) return false;
    const std::size_t distance =
        kDistanceBase[distanceCode] + in.Bits(kDistanceExtra[distanceCode]);
    if (in.Overrun() || distance > out.size || length > out.room - out.size) return false;
    for (std::size_t i = 0; i < length; ++i, ++out.size) {
      out.data[out.size] = out.data[out.size - distance];
    }
  }
}

bool InflateStored(BitReader& in, Output& out) {
  in.SkipToByte();
  const unsigned length = in.Bits(16);
  if ((in.Bits(16) ^ 0xFFFFu) != length || length > out.room - out.size) return false;
  for (unsigned i = 0; i < length; ++i) {
    out.data[out.size++] = static_cast<unsigned char>(in.Bits(8));
  }
  return !in.Overrun();
}

bool InflateFixed(BitReader& in, Output& out) {
  unsigned char lengths[288];
  for (int i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
  Huffman literals, distances;
  const bool built = Build(literals, lengths, 288);
  for (int i = 0; i < 30; ++i) lengths[i] = 5;
  return built && Build(distances, lengths, 30) && InflateCodes(in, literals, distances, out);
}

bool InflateDynamic(BitReader& in, Output& out) {
  const int literalCount = static_cast<int>(in.Bits(5)) + 257;
  const int distanceCount = static_cast<int>(in.Bits(5)) + 1;
  const int lengthCount = static_cast<int>(in.Bits(4)) + 4;
  if (literalCount > 286 || distanceCount > 30) return false;
  static constexpr unsigned char kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                               11, 4,  12, 3, 13, 2, 14, 1, 15};
  unsigned char lengths[286 + 30] = {};
  for (int i = 0; i < lengthCount; ++i) lengths[kOrder[i]] = static_cast<unsigned char>(in.Bits(3));
  Huffman lengthCode;
  if (!Build(lengthCode, lengths, 19)) return false;

  const int total = literalCount + distanceCount;
  for (int i = 0; i < total;) {
    const int symbol = Decode(in, lengthCode);
    if (symbol < 0 || in.Overrun()) return false;
    if (symbol < 16) {
      lengths[i++] = static_cast<unsigned char>(symbol);
      continue;
    }
    unsigned char repeated = 0;
    int times = 0;
    if (symbol == 16) {
      if (i == 0) return false;
      repeated = lengths[i - 1];
      times = 3 + static_cast<int>(in.Bits(2));
    } else if (symbol == 17) {
      times = 3 + static_cast<int>(in.Bits(3));
    } else {
      times = 11 + static_cast<int>(in.Bits(7));
    }
    if (i + times > total) return false;
    while (times-- > 0) lengths[i++] = repeated;
  }
  if (lengths[256] == 0) return false;  // no end of the block
  Huffman literals, distances;
  if (!Build(literals, lengths, literalCount) ||
      !Build(distances, lengths + literalCount, distanceCount)) {
    return false;
  }
  return InflateCodes(in, literals, distances, out);
}

}  // namespace

bool Inflate(const unsigned char* data, std::size_t size, unsigned char* out,
             std::size_t expected) {
  Output written{out, expected};
  BitReader in(data, size);
  bool last = false;
  while (!last) {
    last = in.Bits(1) != 0;
    bool inflated = false;
    switch (in.Bits(2)) {
      case 0: inflated = InflateStored(in, written); break;
      case 1: inflated = InflateFixed(in, written); break;
      case 2: inflated = InflateDynamic(in, written); break;
      default: break;
    }
    if (!inflated || in.Overrun()) return false;
  }
  return written.size == expected;
}

}  // namespace platform
