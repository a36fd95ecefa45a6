// The log line's date, by the locale's short date pattern, and its time,
// built from the locale's hour style, separator and designators, over
// arbitrary locale values in single-byte and double-byte code pages.
//
// Input: a code-page byte, two times, then the locale's values as texts
// (pattern, date separator, time separator, the three numbers, the two
// designators) and a double-byte character and a literal for the pattern.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Text.h"
#include "platform/fake/FakeFiles.h"
#include "shell/LogDateTime.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::FuzzInput;
using fuzz::Require;
using fuzz::Shown;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(const std::string& text) {
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return !text.empty();
}

// A time GetLocalTime may give. With `wide` the day and the month have
// two digits either way, and the year four, so that two such times make
// dates of the same length.
platform::LocalTime TimeFrom(FuzzInput& input, bool wide) {
  platform::LocalTime time;
  time.year = wide ? input.Between(1000, 9999) : input.Between(1601, 30827);
  time.month = input.Between(wide ? 10 : 1, 12);
  time.day = input.Between(wide ? 10 : 1, wide ? 28 : 31);
  time.hour = input.Between(0, 23);
  time.minute = input.Between(0, 59);
  time.second = input.Between(0, 59);
  return time;
}

std::string Describe(const LogFormats& formats) {
  return "pattern " + Shown(formats.shortDate) + ", date separator " +
         Shown(formats.dateSeparator) + ", time separator " + Shown(formats.timeSeparator) +
         ", am " + Shown(formats.morning) + ", pm " + Shown(formats.afternoon) +
         (formats.hourLeadingZero ? ", hh" : ", h") + (formats.twentyFourHour ? ", 24" : ", 12") +
         (formats.markBeforeTime ? ", mark first" : ", mark last");
}

// The time read back: the designator where the locale puts it, then the
// hour, the minutes and the seconds between the separators.
void CheckTime(const LogFormats& formats, const platform::LocalTime& time) {
  std::string clock = FormatLongTime(formats, time);
  const auto detail = [&] {
    return Describe(formats) + "\ntime: " + Shown(clock) + " for " + std::to_string(time.hour) +
           ":" + std::to_string(time.minute) + ":" + std::to_string(time.second);
  };
  if (!formats.twentyFourHour) {
    const std::string mark = time.hour < 12 ? formats.morning : formats.afternoon;
    const std::string withBlank = formats.markBeforeTime ? mark + " " : " " + mark;
    const std::size_t at =
        formats.markBeforeTime ? 0 : clock.size() - std::min(clock.size(), withBlank.size());
    Require(clock.size() >= withBlank.size() && clock.compare(at, withBlank.size(), withBlank) == 0,
            "the designator of the half of the day stands where the locale puts it", detail);
    clock.erase(at, withBlank.size());
  }

  const std::string& separator = formats.timeSeparator;
  const std::size_t tail = 2 * separator.size() + 4;  // ":mm:ss"
  Require(clock.size() > tail, "the time has an hour, minutes and seconds", detail);
  const std::string hour = clock.substr(0, clock.size() - tail);
  const std::string rest = clock.substr(hour.size());
  Require(rest == separator + std::string(1, static_cast<char>('0' + time.minute / 10)) +
                      static_cast<char>('0' + time.minute % 10) + separator +
                      static_cast<char>('0' + time.second / 10) +
                      static_cast<char>('0' + time.second % 10),
          "minutes and seconds have two digits each, after the separator", detail);
  Require(AllDigits(hour) && hour.size() <= 2, "the hour is one or two digits", detail);
  const int shown = std::stoi(hour);
  Require(hour.size() == (formats.hourLeadingZero || shown >= 10 ? 2u : 1u),
          "the hour has a leading zero exactly when the locale asks for one", detail);
  if (formats.twentyFourHour) {
    Require(shown == time.hour, "a 24-hour clock shows the hour", detail);
  } else {
    Require(shown >= 1 && shown <= 12 && shown % 12 == time.hour % 12,
            "a 12-hour clock runs 12, 1, ... 11", detail);
  }
}

// Where two dates of the same pattern differ, both have digits: the time
// decides the numbers and nothing else.
void CheckOnlyDigitsVary(const std::string& a, const std::string& b,
                         const std::function<std::string()>& detail) {
  Require(a.size() == b.size(), "dates of equally wide numbers are equally long", detail);
  for (std::size_t k = 0; k < a.size(); ++k) {
    Require(a[k] == b[k] || (IsDigit(a[k]) && IsDigit(b[k])), "only the numbers depend on the time",
            detail);
  }
}

void CheckDate(LogFormats formats, const platform::LocalTime& one, const platform::LocalTime& other,
               const std::string& doubleByte, const std::string& literal,
               platform::FakeLocale& locale) {
  const std::string date = FormatShortDate(formats, one, locale);
  const auto detail = [&] { return Describe(formats) + "\ndate: " + Shown(date); };
  CheckOnlyDigitsVary(date, FormatShortDate(formats, other, locale), [&] {
    return detail() + "\nother: " + Shown(FormatShortDate(formats, other, locale));
  });

  // The separator stands only where the pattern's "/" does.
  LogFormats marked = formats;
  marked.dateSeparator = std::string(formats.dateSeparator.size(), '\x01');
  const std::string withMarks = FormatShortDate(marked, one, locale);
  Require(withMarks.size() == date.size(), "the separator is copied whole", detail);
  for (std::size_t k = 0; k < date.size(); ++k) {
    Require(withMarks[k] == date[k] || withMarks[k] == '\x01', "the separator is copied whole",
            [&] { return detail() + "\nmarked: " + Shown(withMarks); });
  }

  // A double-byte character is copied whole, whatever its second byte: a
  // "d", a quote or a "/" there is no pattern letter.
  if (doubleByte.size() == 2 && locale.IsLeadByte(static_cast<unsigned char>(doubleByte[0]))) {
    LogFormats prefixed = formats;
    prefixed.shortDate = doubleByte + formats.shortDate;
    Require(FormatShortDate(prefixed, one, locale) == doubleByte + date,
            "a double-byte character is copied whole",
            [&] { return detail() + "\nbefore it: " + Shown(doubleByte); });
  }

  // Quoted text is copied without its quotes.
  for (char quote : {'\'', '"'}) {
    std::string text;
    for (char c : literal) {
      if (c != quote && !locale.IsLeadByte(static_cast<unsigned char>(c))) text += c;
    }
    LogFormats quoted = formats;
    quoted.shortDate = quote + text + quote + formats.shortDate;
    Require(FormatShortDate(quoted, one, locale) == text + date, "quoted text is copied as it is",
            [&] { return detail() + "\nquoted: " + Shown(quoted.shortDate); });
  }

  // The pattern letters count in either case. Without quotes and
  // double-byte characters every d, m and y is a pattern letter.
  const std::string& pattern = formats.shortDate;
  bool plain = true;
  for (char c : pattern) {
    if (c == '\'' || c == '"' || locale.IsLeadByte(static_cast<unsigned char>(c))) plain = false;
  }
  if (plain) {
    LogFormats swapped = formats;
    for (char& c : swapped.shortDate) {
      const char lower = platform::AsciiLower(c);
      if (lower == 'd' || lower == 'm' || lower == 'y') {
        c = c == lower ? platform::AsciiUpper(c) : lower;
      }
    }
    Require(FormatShortDate(swapped, one, locale) == date, "pattern letters count in either case",
            [&] { return detail() + "\nswapped: " + Shown(swapped.shortDate); });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  platform::FakeLocale locale;
  locale.leadBytes = fuzz::LeadBytesOf(input.Byte());
  const bool wide = (input.Byte() & 1) != 0;
  const platform::LocalTime one = TimeFrom(input, wide);
  const platform::LocalTime other = TimeFrom(input, true);

  // Whatever the locale gives, values it leaves empty take the fallbacks.
  auto& values = locale.values[locale.threadLocale];
  for (std::uint32_t type :
       {platform::kLocaleSShortDate, platform::kLocaleSDate, platform::kLocaleSTime,
        platform::kLocaleITLZero, platform::kLocaleITime, platform::kLocaleITimeMarkPosn,
        platform::kLocaleS1159, platform::kLocaleS2359}) {
    values[type] = input.Text(40);
  }
  const LogFormats formats = ReadLogFormats(locale, locale.threadLocale);
  Require(!formats.shortDate.empty() && !formats.dateSeparator.empty() &&
              !formats.timeSeparator.empty() && !formats.morning.empty() &&
              !formats.afternoon.empty(),
          "a value the locale leaves empty takes its fallback", Describe(formats));

  const std::string doubleByte = input.Text(2);
  const std::string literal = input.Text(16);
  CheckTime(formats, one);
  // Dates of equally wide numbers differ only in their digits; a narrow
  // time is compared with itself.
  CheckDate(formats, one, wide ? other : one, doubleByte, literal, locale);
  return 0;
}
