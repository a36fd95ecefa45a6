#pragma once
// Byte-text rules that do not depend on the code page: the program's texts
// are ANSI bytes, and the only letters it folds are the ASCII ones, so a
// label compares the same on every Windows whatever its language.

#include <string>

namespace platform {

constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The letters a to z made capitals; every other byte, accented letters
// and the bytes of double-byte characters included, stays as it is.
std::string AsciiUpperCase(std::string text);

// Without the blanks and control characters (codes 0 to 32) at its ends.
std::string TrimBlanksAndControls(const std::string& text);

// A number in decimal digits, as Windows' own texts show an error number.
std::string DecimalText(unsigned long value);

}  // namespace platform
