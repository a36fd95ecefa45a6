// The error box's text and the failure messages' argument.

#include <gtest/gtest.h>

#include <new>

#include "platform/Failure.h"

namespace {

struct BoxTextCase {
  const char* name;
  const char* message;
  const char* shown;
};

class ErrorBoxTextTest : public ::testing::TestWithParam<BoxTextCase> {};

TEST_P(ErrorBoxTextTest, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(platform::ErrorBoxText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ErrorBoxTextTest,
    ::testing::Values(BoxTextCase{"Letter", "Stream write error", "Stream write error."},
                      // A quote sorts before the full stop: the registry's
                      // messages are shown as they are.
                      BoxTextCase{"Quote", "Failed to set data for 'Sound'",
                                  "Failed to set data for 'Sound'"},
                      BoxTextCase{"FullStop", "Done.", "Done."},
                      BoxTextCase{"Exclamation", "Stop!", "Stop!"},
                      BoxTextCase{"Hyphen", "a -", "a -"},
                      BoxTextCase{"Slash", "C:\\LOGS/", "C:\\LOGS/."},
                      BoxTextCase{"ByteAboveAscii", "Fehler \xe4", "Fehler \xe4."},
                      BoxTextCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatFailureTest, PutsTheArgumentInPlaceOfTheMarker) {
  EXPECT_EQ(platform::FormatFailure("Cannot create file %s", "A:\\dvn.dvl"),
            "Cannot create file A:\\dvn.dvl");
  // A "%s" inside the argument is text, not a second marker.
  EXPECT_EQ(platform::FormatFailure("Failed to get data for '%s'", "%s"),
            "Failed to get data for '%s'");
}

// What a callback's one catch (...) reports, for each kind of thing thrown.
TEST(CurrentFailureTextTest, NamesWhatWasThrownOfEveryKind) {
  const struct {
    const char* what;
    void (*raise)();
    std::string text;
  } cases[] = {
      {"the program's failure", [] { throw platform::Failure("Stream write error"); },
       "Stream write error"},
      {"a library exception", [] { throw std::bad_alloc(); }, std::bad_alloc().what()},
      {"anything else", [] { throw 42; }, "Unknown failure"},
  };
  for (const auto& c : cases) {
    std::string text;
    try {
      c.raise();
    } catch (...) {
      text = platform::CurrentFailureText();
    }
    EXPECT_EQ(text, c.text) << c.what;
  }
}

}  // namespace
