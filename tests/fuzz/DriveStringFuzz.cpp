// The drive string: setting the check marks from the stored text, and the
// text made from the check marks, over any set of drives and any text.
//
// Input: the drives that exist (a mask of 26 bits), the check marks before
// the text is applied, then the text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fake/Fakes.h"
#include "settings/CheckOptions.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::Require;
using fuzz::Shown;

std::string Letters(std::uint32_t mask) {
  std::string letters;
  for (int bit = 0; bit < 26; ++bit) {
    if ((mask & (1u << bit)) != 0) letters += static_cast<char>('A' + bit);
  }
  return letters;
}

std::string Applied(TCheckOptions options, const std::string& text) {
  UncheckAllDrives(options);
  CheckDrivesFromString(options, text);
  return DriveString(options);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint32_t existing = input.Number32() & ((1u << 26) - 1);
  const std::uint32_t checkedBefore = input.Number32();
  const std::string text = input.Rest();

  platform::Journal journal;
  platform::FakeDrives drives{journal};
  platform::FakeShell shell{drives};
  for (char letter : Letters(existing)) drives.drives[letter].iconIndex = letter - 'A' + 1;
  TCheckOptions options;
  BuildDriveList(options, drives, shell);

  const std::string letters = Letters(existing);
  const auto detail = [&] { return "drives: " + letters + "\ntext: " + Shown(text); };
  Require(options.Drives.size() == letters.size(), "one entry for each drive", detail);
  for (std::size_t k = 0; k < letters.size(); ++k) {
    const TDriveEntry& entry = options.Drives[k];
    Require(entry.Caption == std::string(" ") + letters[k] + ":\\" &&
                entry.Letter() == letters[k] &&
                entry.RootPath() == std::string(1, letters[k]) + ":\\" &&
                entry.ImageIndex == letters[k] - 'A' + 1,
            "entries in letter order, captioned \" X:\\\"", detail);
  }
  Require(DriveString(options) == (letters.find('A') != std::string::npos ? "A" : ""),
          "a new list checks drive A alone", detail);

  for (std::size_t k = 0; k < options.Drives.size(); ++k) {
    options.Drives[k].Checked = ((checkedBefore >> (k % 32)) & 1) != 0;
  }
  const std::string before = DriveString(options);
  TCheckOptions added = options;
  CheckDrivesFromString(added, text);
  const std::string after = DriveString(added);
  Require(std::includes(after.begin(), after.end(), before.begin(), before.end()),
          "the text never clears a check mark",
          [&] { return detail() + "\nbefore: " + before + "\nafter: " + after; });

  // The stored text chooses the drives whose caption holds one of its
  // characters: its capitals, or all of them for a blank, ":" or "\".
  const std::string chosen = Applied(options, text);
  std::string expected;
  const bool all = text.find_first_of(" :\\") != std::string::npos;
  for (char letter : letters) {
    if (all || text.find(letter) != std::string::npos) expected += letter;
  }
  Require(chosen == expected, "the text checks the drives it names",
          [&] { return detail() + "\nchecked: " + chosen; });
  Require(std::is_sorted(chosen.begin(), chosen.end()) &&
              std::adjacent_find(chosen.begin(), chosen.end()) == chosen.end(),
          "the drive string lists each drive once, in letter order", detail);

  std::string reversed(text.rbegin(), text.rend());
  Require(Applied(options, reversed) == chosen && Applied(options, text + text) == chosen,
          "order and repetition make no difference", detail);
  Require(Applied(options, chosen) == chosen, "the drive string reads back as itself", detail);
  return 0;
}
