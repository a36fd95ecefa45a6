// The log line's date and time by the locale's formats.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/fake/FakeFiles.h"
#include "shell/LogDateTime.h"

namespace {

using platform::FakeClock;

const platform::LocalTime kNotified = FakeClock::At(2026, 12, 8, 16, 35, 12);

struct FormatCase {
  const char* name;
  std::map<std::uint32_t, std::string> changes;  // to the English (United States) values
  platform::LocalTime time;
  const char* date;
  const char* clockTime;
};

class LogFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(LogFormatTest, ReadsTheLocaleValuesAndFormatsTheDateAndTime) {
  platform::FakeLocale locale;
  for (const auto& [type, value] : GetParam().changes) locale.values[0x409][type] = value;
  const LogFormats formats = ReadLogFormats(locale, 0x409);
  EXPECT_EQ(FormatShortDate(formats, GetParam().time, locale), GetParam().date);
  EXPECT_EQ(FormatLongTime(formats, GetParam().time), GetParam().clockTime);
}

using namespace platform;
INSTANTIATE_TEST_SUITE_P(
    Locales, LogFormatTest,
    ::testing::Values(
        FormatCase{"EnglishUnitedStates", {}, kNotified, "12/8/2026", "4:35:12 PM"},
        FormatCase{"MidnightReadsTwelveWithTheMarkAfter", {}, FakeClock::At(2026, 12, 8, 0, 5, 9),
                   "12/8/2026", "12:05:09 AM"},
        FormatCase{"NoonIsAfternoon", {}, FakeClock::At(2026, 12, 8, 12, 0, 0), "12/8/2026",
                   "12:00:00 PM"},
        FormatCase{"LastSecondOfTheDay", {}, FakeClock::At(2026, 12, 8, 23, 59, 59), "12/8/2026",
                   "11:59:59 PM"},
        FormatCase{"MarkBeforeTheTime", {{kLocaleITimeMarkPosn, "1"}, {kLocaleS1159, "a.m."}},
                   FakeClock::At(2026, 12, 8, 9, 5, 9), "12/8/2026", "a.m. 9:05:09"},
        FormatCase{"TwelveHourWithLeadingZero", {{kLocaleITLZero, "1"}},
                   FakeClock::At(2026, 12, 8, 9, 5, 9), "12/8/2026", "09:05:09 AM"},
        FormatCase{"TwentyFourHourWithLeadingZero",
                   {{kLocaleSShortDate, "dd.MM.yyyy"}, {kLocaleSDate, "."},
                    {kLocaleITime, "1"}, {kLocaleITLZero, "1"}},
                   FakeClock::At(2026, 12, 8, 7, 5, 9), "08.12.2026", "07:05:09"},
        FormatCase{"TwentyFourHourWithoutLeadingZero", {{kLocaleITime, "1"}},
                   FakeClock::At(2026, 12, 8, 7, 5, 9), "12/8/2026", "7:05:09"},
        FormatCase{"SeparatorsStandForSlashAndColon",
                   {{kLocaleSShortDate, "yyyy/MM/dd"}, {kLocaleSDate, "-"}, {kLocaleSTime, "."}},
                   kNotified, "2026-12-08", "4.35.12 PM"},
        FormatCase{"NoShortDate", {{kLocaleSShortDate, ""}}, kNotified, "12/8/26", "4:35:12 PM"},
        FormatCase{"NoValuesAtAll",
                   {{kLocaleSShortDate, ""}, {kLocaleSDate, ""}, {kLocaleSTime, ""},
                    {kLocaleITLZero, ""}, {kLocaleITime, ""}, {kLocaleITimeMarkPosn, ""},
                    {kLocaleS1159, ""}, {kLocaleS2359, ""}},
                   kNotified, "12/8/26", "4:35:12 pm"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PatternCase {
  const char* name;
  const char* pattern;
  const char* expected;  // for 7 March 2005
  bool doubleByte = false;  // 0x94 starts a two-byte character
};

class DatePatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(DatePatternTest, ReadsThePattern) {
  platform::FakeLocale locale;
  if (GetParam().doubleByte) locale.leadBytes = {0x94};
  LogFormats formats;
  formats.shortDate = GetParam().pattern;
  formats.dateSeparator = "/";
  EXPECT_EQ(FormatShortDate(formats, FakeClock::At(2005, 3, 7, 0, 0, 0), locale),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, DatePatternTest,
    ::testing::Values(PatternCase{"WithoutLeadingZeros", "d/M/yyyy", "7/3/2005"},
                      PatternCase{"WithLeadingZeros", "dd/MM/yy", "07/03/05"},
                      PatternCase{"LowerCaseMonth", "mm-m", "03-3"},
                      PatternCase{"UpperCaseDayAndYear", "D Y", "7 05"},
                      PatternCase{"NamesReadAsTwoDigits", "ddd dddd MMM MMMM", "07 07 03 03"},
                      PatternCase{"OddYearRuns", "y yyy yyyyy", "05 2005 2005"},
                      PatternCase{"OtherCharactersCopied", "yyyy. MM. dd.", "2005. 03. 07."},
                      PatternCase{"QuotedTextIsLiteral", "d 'de' M \"ym\"", "7 de 3 ym"},
                      PatternCase{"TrailByteIsNoLetter", "yyyy\x94" "d", "2005\x94" "d", true},
                      PatternCase{"SameByteInASingleByteCodePage", "yyyy\x94" "d", "2005\x94" "7"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
