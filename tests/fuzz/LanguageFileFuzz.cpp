// The reader of a language file, which comes from a folder a user may
// write to: whatever the bytes, it reads none past them, answers one text
// for each of the program's, and takes only texts the program can show.
//
// Input: the file's bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Language.h"
#include "resources/Texts.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::Require;
using fuzz::Shown;

// RFC 3629's UTF-8, read as its table of byte ranges rather than as the
// reader decodes it: each character's bytes, in order.
bool WellFormedUtf8(const std::string& text) {
  std::size_t i = 0;
  auto in = [&](std::size_t k, int low, int high) {
    if (i + k >= text.size()) return false;
    const int byte = static_cast<unsigned char>(text[i + k]);
    return byte >= low && byte <= high;
  };
  while (i < text.size()) {
    const int b = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (b <= 0x7F) {
      length = 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = in(1, 0x80, 0xBF) ? 2 : 0;
    } else if (b == 0xE0) {
      length = in(1, 0xA0, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
    } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
      length = in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
    } else if (b == 0xED) {
      length = in(1, 0x80, 0x9F) && in(2, 0x80, 0xBF) ? 3 : 0;
    } else if (b == 0xF0) {
      length = in(1, 0x90, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    } else if (b >= 0xF1 && b <= 0xF3) {
      length = in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    } else if (b == 0xF4) {
      length = in(1, 0x80, 0x8F) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    }
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void CheckTranslation(const std::string& file, const std::string& translation, std::size_t row) {
  const auto detail = [&] {
    return std::string("id: ") + kTexts[row].name + "\ntranslation: " + Shown(translation);
  };
  Require(translation.size() <= platform::kMaxTranslation, "a translation is short enough", detail);
  Require(file.find(translation) != std::string::npos, "a translation is the file's own bytes",
          detail);
  Require(WellFormedUtf8(translation), "a translation is UTF-8", detail);
  for (char c : translation) {
    const auto byte = static_cast<unsigned char>(c);
    Require(byte >= 0x20 && byte != 0x7F, "a translation holds no control character", detail);
  }
  // Each value of the English shows where the translation names it.
  const std::string shown = platform::FormatText(translation, {"\x01" "1", "\x01" "2", "\x01" "3"});
  for (const char* at = kTexts[row].english; *at != '\0'; ++at) {
    if (at[0] != '%' || at[1] < '1' || at[1] > '3') continue;
    const std::string marker = std::string("\x01") + at[1];
    Require(shown.find(marker) != std::string::npos, "each value of the English is put in",
            [&] { return detail() + "\nshown: " + Shown(shown); });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> translations =
      platform::ReadLanguageFile(file, TextTable(), kTextCount);
  Require(translations.size() == kTextCount, "one answer for each text");
  for (std::size_t row = 0; row < kTextCount; ++row) {
    if (!translations[row].empty()) CheckTranslation(file, translations[row], row);
  }

  // The first line of an id counts: what comes after changes no text taken.
  std::string longer = file + "\n";
  for (std::size_t row = 0; row < kTextCount; ++row) {
    longer += std::string(kTexts[row].name) + " = later %1 %2 %3\n";
  }
  const std::vector<std::string> again =
      platform::ReadLanguageFile(longer, TextTable(), kTextCount);
  for (std::size_t row = 0; row < kTextCount && longer.size() <= platform::kMaxLanguageFile;
       ++row) {
    Require(translations[row].empty() || again[row] == translations[row],
            "a later line of an id changes nothing",
            [&] { return std::string("id: ") + kTexts[row].name; });
  }

  // Whatever the file, every text shows something.
  platform::Texts texts(TextTable(), kTextCount);
  texts.Translate(file);
  for (std::size_t row = 0; row < kTextCount; ++row) {
    Require(*texts[static_cast<platform::TextId>(row)] != '\0', "every text shows something",
            [&] { return std::string("id: ") + kTexts[row].name; });
  }
  return 0;
}
