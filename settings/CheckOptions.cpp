#include "settings/CheckOptions.h"

#include <algorithm>

#include "platform/Text.h"

namespace {

// The order of the label list serves display only, so a simple case-blind
// byte order is enough to keep it tidy.
bool LabelBefore(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(platform::AsciiUpper(x)) <
           static_cast<unsigned char>(platform::AsciiUpper(y));
  });
}

}  // namespace

std::string TDriveEntry::RootPath() const { return platform::TrimBlanksAndControls(Caption); }

platform::ImageListHandle BuildDriveList(TCheckOptions& options, platform::Drives& drives,
                                         platform::Shell& shell) {
  BuildDriveEntries(options, drives);
  return AssignDriveIcons(options, shell);
}

void BuildDriveEntries(TCheckOptions& options, platform::Drives& drives) {
  const std::uint32_t mask = drives.LogicalDrives();
  options.Drives.clear();
  for (int bit = 0; bit < 26; ++bit) {
    if ((mask & (1u << bit)) == 0) continue;
    TDriveEntry entry;
    entry.Caption = std::string(" ") + static_cast<char>('A' + bit) + ":\\";
    entry.Checked = entry.RootPath() == "A:\\";
    options.Drives.push_back(entry);
  }
}

platform::ImageListHandle AssignDriveIcons(TCheckOptions& options, platform::Shell& shell) {
  platform::ImageListHandle imageList = shell.SystemSmallImageList();
  for (TDriveEntry& entry : options.Drives) entry.ImageIndex = shell.SystemIconIndex(entry.RootPath());
  return imageList;
}

void UncheckAllDrives(TCheckOptions& options) {
  for (TDriveEntry& entry : options.Drives) entry.Checked = false;
}

void CheckDrivesFromString(TCheckOptions& options, const std::string& drives) {
  for (char c : drives) {
    for (TDriveEntry& entry : options.Drives) {
      if (entry.Caption.find(c) != std::string::npos) entry.Checked = true;
    }
  }
}

std::string DriveString(const TCheckOptions& options) {
  std::string result;
  for (const TDriveEntry& entry : options.Drives) {
    if (entry.Checked) result += entry.Letter();
  }
  return result;
}

void AddExclusion(TCheckOptions& options, const std::string& label) {
  auto& list = options.Exclusions;
  list.insert(std::upper_bound(list.begin(), list.end(), label, LabelBefore), label);
}
