#include "platform/Language.h"

#include "platform/Text.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameId(const char* id, std::string_view name) {
  std::size_t i = 0;
  for (; id[i] != '\0'; ++i) {
    if (i >= name.size() || AsciiUpper(id[i]) != AsciiUpper(name[i])) return false;
  }
  return i == name.size();
}

// Well-formed UTF-8 without control characters (C0, DEL and C1, which
// Windows would show as boxes or take as line breaks): no overlong form, no
// surrogate, nothing past U+10FFFF, no byte that starts nothing.
bool ShowableUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3
                                                          : lead < 0xF5 ? 4 : 0;
    if (length == 0 || text.size() - i < length || lead < 0x20 || lead == 0x7F) return false;
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    const std::uint32_t least = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0;
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code >= 0x80 && code <= 0x9F) return false;
    i += length;
  }
  return true;
}

// The values a text names, as bits 1 to 9; kBadValue for a "%" that is
// followed by neither a number from 1 to 9 nor a second "%".
constexpr unsigned kBadValue = 1;
unsigned ValuesNamed(std::string_view text) {
  unsigned named = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    const char next = i + 1 < text.size() ? text[++i] : '\0';
    if (next >= '1' && next <= '9') {
      named |= 1u << (next - '0');
    } else if (next != '%') {
      return kBadValue;
    }
  }
  return named;
}

bool Acceptable(std::string_view translation, const char* english) {
  if (translation.empty() || translation.size() > kMaxTranslation) return false;
  // "|" parts the file choosers' list of file types into its entries.
  if (translation.find('|') != std::string_view::npos &&
      std::string_view(english).find('|') == std::string_view::npos) {
    return false;
  }
  const unsigned named = ValuesNamed(translation);
  return ShowableUtf8(translation) && named != kBadValue && named == ValuesNamed(english);
}

}  // namespace

std::vector<std::string> ReadLanguageFile(const std::string& bytes, const TextEntry* table,
                                          std::size_t count) {
  std::vector<std::string> translations(count);
  if (bytes.size() > kMaxLanguageFile) return translations;
  std::vector<char> seen(count, 0);
  std::string_view rest(bytes);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimBlanks(line);
    const std::size_t equals = line.find('=');
    if (line.empty() || line[0] == ';' || line[0] == '#' || equals == std::string_view::npos) {
      continue;
    }
    const std::string_view id = TrimBlanks(line.substr(0, equals));
    for (std::size_t i = 0; i < count; ++i) {
      if (!SameId(table[i].name, id)) continue;
      const std::string_view translation = TrimBlanks(line.substr(equals + 1));
      if (!seen[i] && Acceptable(translation, table[i].english)) translations[i] = translation;
      seen[i] = 1;
      break;
    }
  }
  return translations;
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const auto value = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next == '%') {
      text += '%';
    } else if (pattern[i] == '%' && next >= '1' && next <= '9' && value < values.size()) {
      text += values.begin()[value];
    } else {
      text += pattern[i];
      continue;
    }
    ++i;
  }
  return text;
}

void Texts::Translate(const std::string& fileBytes) {
  translations_ = ReadLanguageFile(fileBytes, table_, count_);
  bool any = false;
  for (std::size_t row = 0; row < translations_.size(); ++row) {
    std::string& translation = translations_[row];
    if (translation.empty()) continue;
    any = true;
    // A text that takes no values is shown as it stands, so its "%%" is
    // made the "%" it stands for here, once.
    if (ValuesNamed(table_[row].english) == 0) translation = FormatText(translation, {});
  }
  // A file that gives nothing at all leaves the program as it is in
  // English, fonts included.
  if (!any) translations_.clear();
}

std::string Texts::Format(TextId id, std::initializer_list<std::string_view> values) const {
  const auto row = static_cast<std::size_t>(id);
  // A text of no values is whole already: a "%1" in it is what it shows.
  if (row < count_ && ValuesNamed(table_[row].english) == 0) return (*this)[id];
  return FormatText((*this)[id], values);
}

const char* Texts::operator[](TextId id) const {
  const auto row = static_cast<std::size_t>(id);
  if (row >= count_) return "";
  return IsTranslated(id) ? translations_[row].c_str() : table_[row].english;
}

bool Texts::IsTranslated(TextId id) const {
  const auto row = static_cast<std::size_t>(id);
  return row < translations_.size() && !translations_[row].empty();
}

std::string Texts::FellBack() const {
  std::string names;
  for (std::size_t row = 0; row < translations_.size(); ++row) {
    if (!translations_[row].empty()) continue;
    if (!names.empty()) names += ", ";
    names += table_[row].name;
  }
  return names;
}

bool IsLanguageTag(const std::string& text) {
  if (text.empty() || text.size() > 35) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = AsciiUpper(text[i]);
    const bool letter = c >= 'A' && c <= 'Z';
    const bool digitOrHyphen = (c >= '0' && c <= '9') || c == '-';
    if (!letter && (i == 0 || !digitOrHyphen)) return false;
  }
  return true;
}

std::string ChosenLanguage(const std::string& chosen, const std::string& display) {
  const std::string& tag = IsLanguageTag(chosen) ? chosen : display;
  const bool english = tag.size() >= 2 && AsciiUpper(tag[0]) == 'E' && AsciiUpper(tag[1]) == 'N' &&
                       (tag.size() == 2 || tag[2] == '-');
  return IsLanguageTag(tag) && !english ? tag : std::string();
}

std::string LanguageWithoutRegion(const std::string& tag) {
  const std::size_t hyphen = tag.find('-');
  return hyphen == std::string::npos ? std::string() : tag.substr(0, hyphen);
}

}  // namespace platform
