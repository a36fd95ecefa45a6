#pragma once
// The texts the program shows, in the user's language: a table of English
// texts compiled into the program, each with an id, over which the
// translations of a language file beside the program are laid. A shown
// text is UTF-8 while the program holds it, and becomes UTF-16 only where
// it meets a wide-character function of Windows; the data the program
// handles (labels, paths, the registry's texts) stays in the system's
// ANSI code page and is converted where it is put into a shown text.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A text of the table, by its row there.
enum class TextId : std::uint16_t {};

// A row of the table: the id that a language file names it by, and the
// English text, with "%1" to "%9" where the shown text takes its values.
struct TextEntry {
  const char* name;
  const char* english;
};

// What a language file gives for each text of a table: the translation in
// UTF-8, or the empty text where the file has none that the program can
// show (so that the English stands). A file is UTF-8, with or without its
// byte-order mark (Notepad's "UTF-8"); lines of "id = text", the id's
// letters in any case; blank lines and lines that start with ";" or "#"
// are notes; the first line of an id counts.
// A translation is taken only when it is valid UTF-8 of at most
// kMaxTranslation bytes without control characters or a "|" (which parts
// the file choosers' list of types), and names each value
// of the English text ("%1"...) and no other; "%%" stands for "%". A file
// larger than kMaxLanguageFile gives nothing.
constexpr std::size_t kMaxTranslation = 1024;
constexpr std::size_t kMaxLanguageFile = 64 * 1024;
std::vector<std::string> ReadLanguageFile(const std::string& bytes, const TextEntry* table,
                                          std::size_t count);

// `pattern` with each "%1" to "%9" replaced by that value (a number
// without a value is left as it is) and "%%" by "%".
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> values);

// The table's texts with a language file's translations laid over them.
class Texts {
 public:
  Texts(const TextEntry* table, std::size_t count) : table_(table), count_(count) {}
  Texts(const Texts&) = delete;
  Texts& operator=(const Texts&) = delete;

  // Takes the file's translations; English stands for each text the file
  // lacks or has damaged.
  void Translate(const std::string& fileBytes);

  // The text in UTF-8, as it is shown; a translation's "%%" is "%" in a
  // text that takes no values.
  const char* operator[](TextId id) const;
  // The text with its values put in; a text that takes none, as it is.
  std::string Format(TextId id, std::initializer_list<std::string_view> values) const;
  // Whether the text shown is a translation; false for the English.
  bool IsTranslated(TextId id) const;
  // Whether a language file is in use at all.
  bool AnyTranslated() const { return !translations_.empty(); }
  // The ids of the texts that stand in English although a language file is
  // in use, "Warning, About.OK"; empty when none does or no file is used.
  std::string FellBack() const;

 private:
  const TextEntry* table_;
  std::size_t count_;
  std::vector<std::string> translations_;  // empty until a file is read
};

// The language to look for a file of, by its tag: `chosen` (the setting
// "Language", a tag such as "de" or "pt-BR") when it is a tag, else
// `display` (Windows' display language). Empty for English, which the
// program holds itself, so that an English Windows shows the program's own
// texts whatever files lie beside it, and where neither is a tag.
std::string ChosenLanguage(const std::string& chosen, const std::string& display);

// The tag's language without its region ("de" of "de-AT"); empty for a tag
// without a region, which has no other to fall back to.
std::string LanguageWithoutRegion(const std::string& tag);

// Whether `text` may name a language file: a language tag of letters,
// digits and hyphens that starts with a letter, at most 35 characters.
bool IsLanguageTag(const std::string& text);

}  // namespace platform
