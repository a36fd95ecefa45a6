#include "platform/Text.h"

#include <algorithm>

namespace platform {

std::string AsciiUpperCase(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

std::string TrimBlanksAndControls(const std::string& text) {
  auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  auto first = std::find_if_not(text.begin(), text.end(), isTrimmed);
  auto last = std::find_if_not(text.rbegin(), text.rend(), isTrimmed).base();
  return first < last ? std::string(first, last) : std::string();
}

std::string DecimalText(unsigned long value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

}  // namespace platform
