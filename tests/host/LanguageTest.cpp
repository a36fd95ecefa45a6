// The program's texts in the user's language: the reader of a language
// file over good and damaged files, the values put into a translation in
// the translator's order, and the choice of the file at the start.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Language.h"
#include "platform/fake/FakeFiles.h"
#include "resources/Texts.h"
#include "shell/UserLanguage.h"

namespace {

using platform::TextEntry;

// A small table of the shape of the program's.
constexpr TextEntry kTable[] = {
    {"Warning", "There is still a disk with the label \"%1\" in your %2-drive!"},
    {"Menu.Exit", "E&xit"},
    {"Error.WriteFile", "Stream write error"},
};
constexpr std::size_t kCount = sizeof kTable / sizeof kTable[0];

struct FileCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> expected;  // by row; empty: the English stands
};

class LanguageFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(LanguageFileTest, GivesWhatItCanShowAndLeavesTheRestToEnglish) {
  EXPECT_EQ(platform::ReadLanguageFile(GetParam().bytes, kTable, kCount), GetParam().expected);
}

const std::string kGood =
    "# en: There is still a disk ...\r\n"
    "Warning = Im Laufwerk %2: steckt noch \xE2\x80\x9E%1\xE2\x80\x9C!\r\n"
    "Menu.Exit = &Beenden\r\n"
    "Error.WriteFile = Fehler beim Schreiben\r\n";
const std::string kGoodWarning = "Im Laufwerk %2: steckt noch \xE2\x80\x9E%1\xE2\x80\x9C!";

INSTANTIATE_TEST_SUITE_P(
    Files, LanguageFileTest,
    ::testing::Values(
        FileCase{"Good", kGood, {kGoodWarning, "&Beenden", "Fehler beim Schreiben"}},
        FileCase{"ByteOrderMarkAndLineFeedsAlone",
                 "\xEF\xBB\xBFmenu.exit=&Beenden\n\tError.WriteFile\t=  Fehler  \n",
                 {"", "&Beenden", "Fehler"}},
        FileCase{"Empty", "", {"", "", ""}},
        FileCase{"NotesAndLinesWithoutAnEqualsSign",
                 "; Menu.Exit = A\n# Menu.Exit = B\nMenu.Exit\n\n   \nUnknown.Id = C\n",
                 {"", "", ""}},
        FileCase{"TheFirstLineOfAnIdCountsEvenWhenDamaged",
                 "Menu.Exit = \xFF\nMenu.Exit = &Beenden\n"
                 "Error.WriteFile = Fehler\nError.WriteFile = Anderer\n",
                 {"", "", "Fehler"}},
        FileCase{"ValuesInTheTranslatorsOrder", "Warning = %2: \"%1\"!\n",
                 {"%2: \"%1\"!", "", ""}},
        FileCase{"AValueTheEnglishLacks", "Warning = %1 %2 %3\n", {"", "", ""}},
        FileCase{"AValueLeftOut", "Warning = Laufwerk %2!\n", {"", "", ""}},
        FileCase{"APercentSignThatIsNoValue", "Warning = %1 %2 %s\nMenu.Exit = 100 %\n",
                 {"", "", ""}},
        FileCase{"ADoublePercentSign", "Menu.Exit = 100 %% &Beenden\n",
                 {"", "100 %% &Beenden", ""}},
        FileCase{"ControlCharacters",
                 "Menu.Exit = A\tB\nError.WriteFile = A\x7F\nWarning = %1 %2\xC2\x85\n",
                 {"", "", ""}},
        FileCase{"ABarThatWouldPartAListOfFileTypes", "Error.WriteFile = Fehler | *.*\n",
                 {"", "", ""}},
        // Each id once a row, since only an id's first line counts.
        FileCase{"MalformedUtf8",
                 // An overlong slash, a surrogate, a lone continuation byte.
                 "Warning = \xC0\xAF %1 %2\nMenu.Exit = \xED\xA0\x80\nError.WriteFile = \x80\n",
                 {"", "", ""}},
        FileCase{"OverlongOrPastTheLastCharacter",
                 // "/" in three bytes and in four, a lead byte of nothing
                 // Unicode has.
                 "Warning = \xE0\x80\xAF %1 %2\nMenu.Exit = \xF0\x80\x80\xAF\n"
                 "Error.WriteFile = \xF5\x80\x80\x80\n",
                 {"", "", ""}},
        FileCase{"U110000AndASequenceCutOffByTheEnd",
                 "Menu.Exit = \xF4\x90\x80\x80\nError.WriteFile = x\xE2\x82", {"", "", ""}},
        FileCase{"FourByteCharacters", "Menu.Exit = \xF0\x9F\x92\xBE &x\n",
                 {"", "\xF0\x9F\x92\xBE &x", ""}},
        FileCase{"AnEmptyText", "Menu.Exit =\nError.WriteFile = \xC2\xA0\n",
                 {"", "", "\xC2\xA0"}},
        FileCase{"TextsAtTheirLimitAndOneByteOver",
                 "Menu.Exit = " + std::string(platform::kMaxTranslation, 'x') +
                     "\nError.WriteFile = " + std::string(platform::kMaxTranslation + 1, 'x'),
                 {"", std::string(platform::kMaxTranslation, 'x'), ""}},
        FileCase{"AFileAtItsLimit",
                 "Menu.Exit = &Beenden\n#" + std::string(platform::kMaxLanguageFile - 22, '#'),
                 {"", "&Beenden", ""}},
        FileCase{"AFileOneByteOver",
                 "Menu.Exit = &Beenden\n#" + std::string(platform::kMaxLanguageFile - 21, '#'),
                 {"", "", ""}},
        FileCase{"Utf16AsNotepadsUnicode", std::string("\xFF\xFEM\0=\0x\0", 8), {"", "", ""}}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return info.param.name; });

TEST(FormatTextTest, PutsEachValueWhereItsNumberStands) {
  EXPECT_EQ(platform::FormatText("%2: \"%1\" %2", {"DISK", "A"}), "A: \"DISK\" A");
  EXPECT_EQ(platform::FormatText("100 %% %1%", {"x"}), "100 % x%");
  // A value that contains a number sign is put in as it is, never read again.
  EXPECT_EQ(platform::FormatText("%1 %2", {"%2", "B"}), "%2 B");
  EXPECT_EQ(platform::FormatText("%1 %3", {"A"}), "A %3");
}

TEST(TextsTest, NameTheTextsThatStandInEnglish) {
  platform::Texts texts(kTable, kCount);
  EXPECT_FALSE(texts.AnyTranslated());
  EXPECT_STREQ(texts[platform::TextId(1)], "E&xit");
  texts.Translate("Menu.Exit = &Beenden\n");
  EXPECT_TRUE(texts.AnyTranslated());
  EXPECT_TRUE(texts.IsTranslated(platform::TextId(1)));
  EXPECT_STREQ(texts[platform::TextId(1)], "&Beenden");
  EXPECT_STREQ(texts[platform::TextId(2)], "Stream write error");
  EXPECT_EQ(texts.FellBack(), "Warning, Error.WriteFile");
  // A text that takes no values shows "%%" as "%", and keeps a "%1" of its
  // own when values are put in.
  texts.Translate("Menu.Exit = 100 %% &x\nError.WriteFile = %%1 kaputt\n");
  EXPECT_STREQ(texts[platform::TextId(1)], "100 % &x");
  EXPECT_EQ(texts.Format(platform::TextId(2), {"C:\\dvn.dvl"}), "%1 kaputt");
  // A file that gives nothing leaves the program in English.
  texts.Translate("random \x01\x02 bytes");
  EXPECT_FALSE(texts.AnyTranslated());
  EXPECT_EQ(texts.FellBack(), "");
}

// The choice at the start: the setting "Language" over Windows' display
// language, each with and without its region, English where there is no
// file or the language is English.
struct ChoiceCase {
  const char* name;
  std::uint32_t display;  // a language id, as Windows gives it
  std::string setting;
  std::vector<std::string> files;  // in lang\ beside the program: "Menu.Exit = <name>"
  const char* exitCaption;         // as the program then shows it
  std::string event;               // how the start event begins
};

class LanguageChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(LanguageChoiceTest, TakesTheFirstFileOfTheLanguageAsked) {
  const ChoiceCase& c = GetParam();
  platform::Journal journal;
  platform::FakeFiles files{journal};
  for (const std::string& name : c.files) {
    files.files["C:\\DVN\\lang\\" + name] = {"Menu.Exit = " + name};
  }
  files.files["C:\\DVN\\lang\\xx.txt"] = {"\x01 random bytes"};
  files.files["C:\\DVN\\lang\\yy.txt"].unreadable = true;
  platform::FakeLocale locale;
  locale.userInterfaceLanguage = c.display;
  auto language = [&](std::uint32_t id, const char* code, const char* country) {
    locale.values[id] = {{platform::kLocaleSIso639LangName, code},
                         {platform::kLocaleSIso3166CtryName, country}};
  };
  language(0x407, "de", "DE");
  language(0xC07, "de", "AT");
  language(0x415, "pl", "PL");
  language(0x809, "en", "GB");
  language(0x1000, "xx", "");
  platform::Texts texts(TextTable(), kTextCount);
  const std::string event = LoadUserLanguage(texts, files, locale, c.setting);
  // The whole of it for English; the beginning of a list of ids.
  EXPECT_EQ(event.substr(0, std::max(c.event.size(), std::size_t{3})), c.event) << event;
  EXPECT_STREQ(texts[TextNamed("Menu.Exit")], c.exitCaption);
}

const std::string kEnglishStands = ", in English: Warning, BlockReason, ";

INSTANTIATE_TEST_SUITE_P(
    Choices, LanguageChoiceTest,
    ::testing::Values(
        ChoiceCase{"English", 0x409, "", {"en.txt", "en-US.txt"}, "E&xit", "en"},
        ChoiceCase{"BritishEnglish", 0x809, "", {"en-GB.txt", "en.txt"}, "E&xit", "en"},
        ChoiceCase{"TheDisplayLanguage", 0x415, "", {"pl.txt", "de.txt"}, "pl.txt",
                   "pl from lang\\pl.txt" + kEnglishStands},
        ChoiceCase{"WithItsRegionFirst", 0x407, "", {"de-DE.txt", "de.txt"}, "de-DE.txt",
                   "de-DE from lang\\de-DE.txt" + kEnglishStands},
        ChoiceCase{"ThenWithoutItsRegion", 0xC07, "", {"de.txt"}, "de.txt",
                   "de from lang\\de.txt" + kEnglishStands},
        ChoiceCase{"NoFile", 0x407, "", {"fr.txt"}, "E&xit",
                   "en"},
        ChoiceCase{"TheSettingOverWindows", 0x407, "fr", {"fr.txt", "de.txt"}, "fr.txt",
                   "fr from lang\\fr.txt"},
        ChoiceCase{"TheSettingEnglish", 0x407, "EN", {"de.txt"}, "E&xit", "en"},
        ChoiceCase{"TheSettingNoTag", 0x407, "..\\..\\de", {"de.txt"}, "de.txt",
                   "de from lang\\de.txt"},
        ChoiceCase{"TheSettingsFileMissing", 0x407, "pt-BR", {"de.txt"}, "E&xit",
                   "en"},
        ChoiceCase{"ADamagedFile", 0x407, "xx", {}, "E&xit", "en"},
        ChoiceCase{"AnUnreadableFile", 0x407, "yy", {}, "E&xit", "en"},
        ChoiceCase{"NoCountry", 0x1000, "", {}, "E&xit", "en"}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return info.param.name; });

}  // namespace
