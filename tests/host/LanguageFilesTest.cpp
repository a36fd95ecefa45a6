// The language files that ship beside the program: every text of the
// program translated, each in step with the English it was translated
// from, and the access keys of each window and menu distinct.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "resources/AboutLayout.h"
#include "resources/SettingsLayout.h"
#include "resources/SplashLayout.h"
#include "resources/Texts.h"

namespace {

// Every language file kept for the program, by its tag: those it ships, and
// one a translator adds.
std::vector<std::string> Shipped() {
  std::vector<std::string> tags;
  for (const auto& entry : std::filesystem::directory_iterator(DORVANE_LANG_DIR)) {
    const std::filesystem::path path = entry.path();
    if (path.extension() == ".txt" && path.stem() != "CMakeLists") tags.push_back(path.stem());
  }
  return tags;
}

std::string FileBytes(const std::string& tag) {
  std::ifstream file(std::string(DORVANE_LANG_DIR) + "/" + tag + ".txt", std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

class ShippedLanguageTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    bytes_ = FileBytes(GetParam());
    ASSERT_FALSE(bytes_.empty()) << "no lang/" << GetParam() << ".txt";
    texts_.Translate(bytes_);
  }

  // The letter after the single "&" of the text shown, upper case; "" for none.
  std::string AccessKey(const layout::Caption& caption) const {
    const std::string text = caption.In(texts_);
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != '&') continue;
      if (text[i + 1] == '&') {
        ++i;
        continue;
      }
      return std::string(1, platform::AsciiUpper(text[i + 1]));
    }
    return "";
  }

  // Two of the captions that share a scope (a menu, a page with the
  // dialog's tabs and buttons) must not share a key, or the second is
  // never reached.
  void ExpectDistinctKeys(const std::vector<std::pair<const char*, layout::Caption>>& scope) {
    std::map<std::string, const char*> seen;
    for (const auto& [name, caption] : scope) {
      const std::string key = AccessKey(caption);
      if (key.empty()) continue;
      const auto [at, added] = seen.emplace(key, name);
      EXPECT_TRUE(added) << name << " and " << at->second << " share " << key;
    }
  }

  std::string bytes_;
  platform::Texts texts_{TextTable(), kTextCount};
};

TEST_P(ShippedLanguageTest, TranslatesEveryTextInAFormTheProgramShows) {
  EXPECT_EQ(texts_.FellBack(), "");
  for (std::size_t row = 0; row < kTextCount; ++row) {
    const auto id = static_cast<platform::TextId>(row);
    SCOPED_TRACE(kTexts[row].name);
    EXPECT_TRUE(texts_.IsTranslated(id));
    const bool key = std::strchr(kTexts[row].english, '&') != nullptr;
    EXPECT_EQ(AccessKey(id).empty(), !key) << "a caption keeps its access key, or has none";
  }
}

// Each translation is preceded by the English it translates ("# en: ..."):
// a change of the English shows here, as the translation to review.
TEST_P(ShippedLanguageTest, EachTranslationFollowsTheEnglishOfToday) {
  std::istringstream lines(bytes_);
  std::string line;
  std::string english;
  int checked = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("# en: ", 0) == 0) {
      english = line.substr(6);
      continue;
    }
    const std::size_t equals = line.find(" = ");
    if (equals == std::string::npos || line[0] == '#') continue;
    const std::string id = line.substr(0, equals);
    bool known = false;
    for (const platform::TextEntry& entry : kTexts) {
      if (id != entry.name) continue;
      std::string current = entry.english;
      while (!current.empty() && current.back() == ' ') current.pop_back();
      EXPECT_EQ(english, current) << id;
      ++checked;
      known = true;
    }
    // An id the program has no text of is a translation nobody sees: a
    // misspelt id, or one the program no longer has.
    EXPECT_TRUE(known) << id << " is no text of the program";
    english.clear();
  }
  EXPECT_EQ(checked, static_cast<int>(kTextCount));
}

TEST_P(ShippedLanguageTest, EachMenuAndWindowHasDistinctAccessKeys) {
  std::map<std::string, std::vector<std::pair<const char*, layout::Caption>>> menus;
  for (const layout::MenuItem& item : layout::kTrayMenu) {
    menus[item.parent != nullptr ? item.parent : ""].push_back({item.name, item.caption});
  }
  for (const auto& [parent, items] : menus) ExpectDistinctKeys(items);

  // The tabs and the buttons answer on every page; a page's own controls
  // only on theirs.
  std::vector<std::pair<const char*, layout::Caption>> dialog;
  std::map<std::string, std::vector<std::pair<const char*, layout::Caption>>> pages;
  const std::size_t count = std::size(layout::kSettingsLayout);
  const std::vector<std::size_t> parents = layout::ParentRows(layout::kSettingsLayout, count);
  for (std::size_t row = 0; row < count; ++row) {
    const layout::Control& control = layout::kSettingsLayout[row];
    std::size_t page = row;
    while (page < count && layout::kSettingsLayout[page].kind != layout::Kind::TabSheet) {
      page = parents[page];
    }
    if (page == row || page == count) {
      dialog.push_back({control.name, control.text});
    } else {
      pages[layout::kSettingsLayout[page].name].push_back({control.name, control.text});
    }
  }
  for (auto& [page, controls] : pages) {
    SCOPED_TRACE(page);
    controls.insert(controls.end(), dialog.begin(), dialog.end());
    ExpectDistinctKeys(controls);
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageTest, ::testing::ValuesIn(Shipped()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name) c = c == '-' ? '_' : c;
                           return name;
                         });

// The four languages that ship are among them.
TEST(ShippedLanguagesTest, GermanFrenchSpanishAndPolish) {
  const std::vector<std::string> tags = Shipped();
  for (const char* tag : {"de", "es", "fr", "pl"}) {
    EXPECT_NE(std::find(tags.begin(), tags.end(), tag), tags.end()) << tag;
  }
}

}  // namespace
