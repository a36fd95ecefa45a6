#include "shell/LogDateTime.h"

#include "platform/Text.h"

namespace {

// The parts of a date and a time are never negative.
std::string Digits(int value, std::size_t width) {
  std::string text;
  unsigned rest = value < 0 ? 0u : static_cast<unsigned>(value);
  do {
    text.insert(text.begin(), static_cast<char>('0' + rest % 10));
    rest /= 10;
  } while (rest != 0);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

// The pattern letters are d (day), m (month) and y (year), in either case,
// as Windows writes "M" and older patterns "m". A run of one letter gives
// the number without a leading zero, a longer run gives it with two digits;
// the log has no names of days or months, so "ddd" or "MMMM" read as "dd"
// and "MM". The year has two digits for "y" and "yy", four for three or
// more. Text in single or double quotes is copied without its quotes, as
// Windows patterns quote literal words; "/" is the locale's separator, and
// every other byte, the two bytes of a double-byte character included, is
// copied as it is.
std::string FormatShortDate(const LogFormats& formats, const platform::LocalTime& time,
                            platform::Locale& locale) {
  const std::string& pattern = formats.shortDate;
  std::string date;
  std::size_t i = 0;
  auto copyCharacter = [&] {
    const bool pair =
        locale.IsLeadByte(static_cast<unsigned char>(pattern[i])) && i + 1 < pattern.size();
    date.append(pattern, i, pair ? 2 : 1);
    i += pair ? 2 : 1;
  };

  while (i < pattern.size()) {
    const char c = pattern[i];
    const char letter = platform::AsciiLower(c);
    if (c == '\'' || c == '"') {
      ++i;
      while (i < pattern.size() && pattern[i] != c) copyCharacter();
      ++i;  // the closing quote; an unclosed quote runs to the end
    } else if (letter == 'd' || letter == 'm' || letter == 'y') {
      std::size_t run = 1;
      while (i + run < pattern.size() && platform::AsciiLower(pattern[i + run]) == letter) ++run;
      i += run;
      if (letter == 'y') {
        date += run <= 2 ? Digits(time.year % 100, 2) : Digits(time.year, 4);
      } else {
        date += Digits(letter == 'd' ? time.day : time.month, run == 1 ? 1 : 2);
      }
    } else if (c == '/') {
      date += formats.dateSeparator;
      ++i;
    } else {
      copyCharacter();
    }
  }
  return date;
}

std::string FormatLongTime(const LogFormats& formats, const platform::LocalTime& time) {
  int hour = time.hour;
  if (!formats.twentyFourHour) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  const std::string clock = Digits(hour, formats.hourLeadingZero ? 2 : 1) + formats.timeSeparator +
                            Digits(time.minute, 2) + formats.timeSeparator + Digits(time.second, 2);
  if (formats.twentyFourHour) return clock;
  const std::string& mark = time.hour < 12 ? formats.morning : formats.afternoon;
  return formats.markBeforeTime ? mark + " " + clock : clock + " " + mark;
}
