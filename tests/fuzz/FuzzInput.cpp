#include "tests/fuzz/FuzzInput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

std::uint8_t FuzzInput::Byte() { return at_ < size_ ? data_[at_++] : 0; }

std::uint32_t FuzzInput::Number32() {
  std::uint32_t value = 0;
  for (int shift = 0; shift < 32; shift += 8) value |= static_cast<std::uint32_t>(Byte()) << shift;
  return value;
}

int FuzzInput::Between(int low, int high) {
  const auto span = static_cast<std::uint32_t>(high - low) + 1;
  return low + static_cast<int>(((static_cast<std::uint32_t>(Byte()) << 8) | Byte()) % span);
}

std::string FuzzInput::Text(std::size_t maxLength) {
  std::size_t length = Byte();
  if (length > maxLength) length %= maxLength + 1;
  if (length > size_ - std::min(at_, size_)) length = size_ - std::min(at_, size_);
  std::string text(reinterpret_cast<const char*>(data_) + std::min(at_, size_), length);
  at_ += length;
  return text;
}

std::string FuzzInput::Rest() {
  if (Empty()) return {};
  std::string rest(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
  at_ = size_;
  return rest;
}

std::set<unsigned char> LeadBytesOf(std::uint8_t selector) {
  std::set<unsigned char> leads;
  switch (selector % 3) {
    case 0:
      break;
    case 1:
      for (int b = 0x81; b <= 0x9F; ++b) leads.insert(static_cast<unsigned char>(b));
      for (int b = 0xE0; b <= 0xFC; ++b) leads.insert(static_cast<unsigned char>(b));
      break;
    case 2:
      for (int b = 0x81; b <= 0xFE; ++b) leads.insert(static_cast<unsigned char>(b));
      break;
  }
  return leads;
}

std::string Shown(const std::string& bytes) {
  std::string shown;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      shown += c;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", b);
      shown += escape;
    }
  }
  return shown;
}

void Fail(const char* property, const std::string& detail) {
  std::fprintf(stderr, "\nProperty broken: %s\n%s\n", property, detail.c_str());
  std::abort();
}

}  // namespace fuzz
