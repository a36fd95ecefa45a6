// The line breaks of a log file's text, in single- and double-byte code
// pages.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "platform/fake/FakeFiles.h"
#include "shell/LineBreaks.h"

namespace {

// Counts the locale's answers: a long text must not cost one call per byte.
class CountingLocale : public platform::FakeLocale {
 public:
  int leadByteQuestions = 0;
  bool IsLeadByte(unsigned char byte) override {
    ++leadByteQuestions;
    return FakeLocale::IsLeadByte(byte);
  }
};

struct BreakScanCase {
  const char* name;
  std::string bytes;
  std::set<unsigned char> leadBytes;
  bool onlyCrLf;
  std::string normalized;
};

class BreakScanTest : public ::testing::TestWithParam<BreakScanCase> {};

TEST_P(BreakScanTest, TellsCleanTextAndMakesEveryBreakCrLf) {
  platform::FakeLocale locale;
  locale.leadBytes = GetParam().leadBytes;
  EXPECT_EQ(HasOnlyCrLfBreaks(GetParam().bytes, locale), GetParam().onlyCrLf);
  const std::string normalized = NormalizeLineBreaks(GetParam().bytes, locale);
  EXPECT_EQ(normalized, GetParam().normalized);
  EXPECT_TRUE(HasOnlyCrLfBreaks(normalized, locale));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BreakScanTest,
    ::testing::Values(
        BreakScanCase{"Empty", "", {}, true, ""},
        BreakScanCase{"NoBreakAtAll", "abc", {}, true, "abc"},
        BreakScanCase{"CrLfOnly", "a\r\nb\r\n", {}, true, "a\r\nb\r\n"},
        BreakScanCase{"LfAfterManyCrLf", "a\r\nb\r\nc\nd", {}, false, "a\r\nb\r\nc\r\nd"},
        BreakScanCase{"CrAtTheVeryEnd", "a\r\nb\r", {}, false, "a\r\nb\r\n"},
        BreakScanCase{"LfAtTheVeryStart", "\na", {}, false, "\r\na"},
        BreakScanCase{"LfCrIsTwoBreaks", "a\n\rb", {}, false, "a\r\n\r\nb"},
        BreakScanCase{"CrCrLf", "a\r\r\n", {}, false, "a\r\n\r\n"},
        // 0x81 and 0xE0 to 0xE1 start double-byte characters: the LF and the
        // CR that follow them are their second bytes, the rest are breaks.
        BreakScanCase{"TrailBytesOfTwoRanges", "\x81\n\xe1\r\r\n\n", {0x81, 0xE0, 0xE1}, false,
                      "\x81\n\xe1\r\r\n\r\n"},
        BreakScanCase{"TrailByteLooksLikeALoneBreak", "\x81\nx\r\n", {0x81}, true,
                      "\x81\nx\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BreakScan, AsksTheLocaleForTheLeadBytesOnceAndNotForEveryByte) {
  std::string text;
  for (int line = 0; line < 2000; ++line) text += "line " + std::to_string(line) + "\n";
  CountingLocale singleByte;
  const std::string normalized = NormalizeLineBreaks(text, singleByte);
  EXPECT_LE(singleByte.leadByteQuestions, 256);
  EXPECT_EQ(normalized.size(), text.size() + 2000);

  CountingLocale doubleByte;
  doubleByte.leadBytes = {0x81};
  EXPECT_TRUE(HasOnlyCrLfBreaks(normalized, doubleByte));
  EXPECT_LE(doubleByte.leadByteQuestions, 256);
}

TEST(BreakScan, TheDefaultLeadByteRangesJoinNeighbouringBytes) {
  platform::FakeLocale locale;
  locale.leadBytes = {0x81, 0x82, 0x83, 0x9F, 0xE0, 0xFF};
  const auto ranges = locale.LeadByteRanges();
  ASSERT_EQ(ranges.size(), 4u);
  const std::pair<int, int> expected[] = {{0x81, 0x83}, {0x9F, 0x9F}, {0xE0, 0xE0}, {0xFF, 0xFF}};
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    EXPECT_EQ(ranges[i].first, expected[i].first) << i;
    EXPECT_EQ(ranges[i].last, expected[i].second) << i;
  }
  EXPECT_TRUE(platform::FakeLocale().LeadByteRanges().empty()) << "code page 1252";
}

// The log takes a clean file's bytes as its text and copies only a text
// whose breaks change, with room for the line it adds.
TEST(BreakScan, NormalizesIntoABufferOnlyWhenSomeBreakChanges) {
  platform::FakeLocale locale;
  std::string text = "untouched";
  EXPECT_FALSE(NormalizeLineBreaksInto(text, "a\r\nb", locale, 100));
  EXPECT_EQ(text, "untouched");

  ASSERT_TRUE(NormalizeLineBreaksInto(text, "a\nb\r", locale, 100));
  EXPECT_EQ(text, "a\r\nb\r\n");
  EXPECT_GE(text.capacity(), text.size() + 100);
}

}  // namespace
