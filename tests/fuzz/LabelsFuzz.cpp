// Label folding and matching: the letters a to z folded to capitals,
// blanks and control characters trimmed at the ends, and nothing else.
//
// Input: a label, a few exclusions, then bytes that say how to vary the
// label: which letters change case, what padding, which byte to change.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "shell/DiskCheck.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::FuzzInput;
using fuzz::Require;
using fuzz::Shown;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

void CheckFolding(const std::string& text) {
  const auto detail = [&] { return "text: " + Shown(text); };
  const std::string upper = platform::AsciiUpperCase(text);
  Require(upper.size() == text.size(), "folding keeps the length", detail);
  for (std::size_t k = 0; k < text.size(); ++k) {
    const bool lowerLetter = text[k] >= 'a' && text[k] <= 'z';
    Require(lowerLetter ? upper[k] == text[k] - 'a' + 'A' : upper[k] == text[k],
            "only a to z change, to A to Z", detail);
  }
  Require(platform::AsciiUpperCase(upper) == upper, "folding twice changes nothing", detail);

  const std::string trimmed = platform::TrimBlanksAndControls(text);
  Require(platform::TrimBlanksAndControls(trimmed) == trimmed, "trimming twice changes nothing",
          detail);
  const std::size_t front =
      std::find_if_not(text.begin(), text.end(), IsBlankOrControl) - text.begin();
  Require(text.compare(std::min(front, text.size()), trimmed.size(), trimmed) == 0,
          "trimming takes bytes only from the ends",
          [&] { return detail() + "\ntrimmed: " + Shown(trimmed); });
  for (std::size_t k = 0; k < text.size(); ++k) {
    const bool inside = k >= front && k < front + trimmed.size();
    Require(inside || IsBlankOrControl(text[k]), "only blanks and control characters are trimmed",
            [&] { return detail() + "\ntrimmed: " + Shown(trimmed); });
  }
}

bool Matches(const std::string& exclusion, const std::string& label) {
  return !LabelNotExcluded({exclusion}, label);
}

void CheckMatching(const std::string& label, const std::vector<std::string>& exclusions,
                   FuzzInput& input) {
  const auto detail = [&] { return "label: " + Shown(label); };
  Require(LabelNotExcluded({}, label), "an empty list excludes nothing", detail);
  Require(Matches(label, label), "a label matches itself", detail);

  bool anyMatch = false;
  for (const std::string& exclusion : exclusions) {
    const bool match = Matches(exclusion, label);
    Require(match == Matches(label, exclusion), "matching is symmetric",
            [&] { return detail() + "\nexclusion: " + Shown(exclusion); });
    anyMatch = anyMatch || match;
  }
  Require(LabelNotExcluded(exclusions, label) == !anyMatch,
          "a list excludes the labels that one of its elements matches", detail);

  // The label as a user may type it: any ASCII letter in the other case,
  // blanks and control characters around it.
  std::string typed;
  for (char c : label) {
    const bool flip = (input.Byte() & 1) != 0;
    const char lower = platform::AsciiLower(c);
    const bool letter = platform::AsciiUpper(c) != lower;
    typed += flip && letter ? (c == lower ? platform::AsciiUpper(c) : lower) : c;
  }
  std::string padding = input.Text(4);
  for (char& c : padding) c = static_cast<char>(static_cast<unsigned char>(c) % 33);
  const std::size_t split = padding.empty() ? 0 : input.Byte() % (padding.size() + 1);
  typed = padding.substr(0, split) + typed + padding.substr(split);
  Require(Matches(typed, label), "case of a to z and blanks at the ends make no difference",
          [&] { return detail() + "\ntyped: " + Shown(typed); });

  // Any other change of a byte inside the trimmed label is a different
  // label: accented letters and double-byte characters are not folded, so
  // "\xE9" (e acute in 1252) does not match "\xC9" (E acute).
  const std::size_t front =
      std::find_if_not(label.begin(), label.end(), IsBlankOrControl) - label.begin();
  const std::size_t length = platform::TrimBlanksAndControls(label).size();
  if (length == 0) return;
  const std::size_t at = front + input.Byte() % length;
  const char was = label[at];
  char changed = static_cast<char>(input.Byte());
  if (static_cast<unsigned char>(was) >= 0x80 && (input.Byte() & 1) != 0) {
    changed = static_cast<char>(was ^ 0x20);  // the other case in Latin-1
  }
  if (IsBlankOrControl(changed) || platform::AsciiUpper(changed) == platform::AsciiUpper(was)) {
    return;
  }
  std::string other = label;
  other[at] = changed;
  Require(!Matches(other, label), "no byte but a to z is folded",
          [&] { return detail() + "\nother: " + Shown(other); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::string label = input.Text(64);
  std::vector<std::string> exclusions(input.Byte() % 4);
  for (std::string& exclusion : exclusions) exclusion = input.Text(64);

  CheckFolding(label);
  for (const std::string& exclusion : exclusions) CheckFolding(exclusion);
  CheckMatching(label, exclusions, input);
  return 0;
}
