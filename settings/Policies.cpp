#include "settings/Policies.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/Failure.h"
#include "platform/Language.h"
#include "resources/Events.h"
#include "resources/Texts.h"
#include "settings/SettingsStore.h"
#include "settings/StoreValues.h"

const char kPolicyKeyPath[] = "SOFTWARE\\Policies\\Kestrome\\Dorvane\\4.0";

namespace {

using platform::RegistryKey;

// What a policy value holds, by the rules of the stored value of the same
// name, and a little stricter: what Group Policy's templates write, and
// nothing that a slip of the administrator's could make mean otherwise.
enum class TPolicyKind {
  Flag,          // REG_DWORD 0 or 1
  Path,          // REG_SZ of fewer than 260 characters; empty: the box's own fill
  Drives,        // REG_SZ of drive letters only; empty: no drive by its letter
  Sound,         // REG_SZ, a word of the sound choice
  WindowsSound,  // REG_SZ, a word of the Windows sound choice
  Labels,        // REG_DWORD 1: the labels of the subkey Exclusions, one value
                 // each, named by it; 0: none
};

struct PolicyValue {
  TOptionBit option;
  const char* name;
  TPolicyKind kind;
  bool TCheckOptions::*flag;         // a Flag's field
  std::string TCheckOptions::*path;  // a Path's field
};

// In the order in which the settings dialog shows them.
constexpr PolicyValue kPolicyValues[] = {
    {kOptionDrives, kDrivesValue, TPolicyKind::Drives, nullptr, nullptr},
    {kOptionSound, kSoundValue, TPolicyKind::Sound, nullptr, nullptr},
    {kOptionSoundFile, kSoundFileValue, TPolicyKind::Path, nullptr, &TCheckOptions::SoundFile},
    {kOptionWindowsSound, kWindowsSoundValue, TPolicyKind::WindowsSound, nullptr, nullptr},
    {kOptionLogging, kLoggingValue, TPolicyKind::Flag, &TCheckOptions::Logging, nullptr},
    {kOptionLogFile, kLogFileValue, TPolicyKind::Path, nullptr, &TCheckOptions::LogFile},
    {kOptionExclusions, kExclusionsSubkey, TPolicyKind::Labels, nullptr, nullptr},
    {kOptionNoDialog, kNoDialogValue, TPolicyKind::Flag, &TCheckOptions::NoDialog, nullptr},
    {kOptionRemovableDrives, kRemovableDrivesValue, TPolicyKind::Flag,
     &TCheckOptions::RemovableDrives, nullptr},
    {kOptionRemindWhenAway, kRemindWhenAwayValue, TPolicyKind::Flag,
     &TCheckOptions::RemindWhenAway, nullptr},
};

// The longest path the program opens: MAX_PATH less its terminating zero.
constexpr std::size_t kMaxPath = 259;

constexpr char kPolicyLabelsPath[] = "SOFTWARE\\Policies\\Kestrome\\Dorvane\\4.0\\Exclusions";

enum class TRead { Missing, Wrong, Read };

TRead ReadPolicyFlag(RegistryKey& key, const std::string& name, bool& flag) {
  std::uint8_t data[4] = {};
  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = sizeof data;
  const long result = key.QueryValue(name, type, data, size);
  if (result == platform::kErrorFileNotFound) return TRead::Missing;
  // Fewer than four bytes read zero-extended, as the stored values do; a
  // number other than 0 or 1 is no choice of the template's.
  if (result != platform::kErrorSuccess || type != platform::kRegDword || size == 0 ||
      data[0] > 1 || (data[1] | data[2] | data[3]) != 0) {
    return TRead::Wrong;
  }
  flag = data[0] == 1;
  return TRead::Read;
}

// A REG_SZ up to its first zero byte. A REG_EXPAND_SZ is refused, not read
// unexpanded as the stored values are: a policy that names %COMPUTERNAME%
// in a log file's path means the computer's name, and a log written to a
// file of that literal name would be lost to the administrator.
TRead ReadPolicyText(RegistryKey& key, const std::string& name, std::string& text) {
  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = 0;
  const long result = key.QueryValue(name, type, nullptr, size);
  if (result == platform::kErrorFileNotFound) return TRead::Missing;
  if (result != platform::kErrorSuccess || type != platform::kRegSz) return TRead::Wrong;
  text.assign(size, '\0');
  if (size != 0 && key.QueryValue(name, type, reinterpret_cast<std::uint8_t*>(&text[0]), size) !=
                       platform::kErrorSuccess) {
    return TRead::Wrong;
  }
  text.resize(std::strlen(text.c_str()));
  return TRead::Read;
}

bool IsDriveString(std::string& text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return false;
  }
  return true;
}

// Reads one value of a policy key into `options`, which only a value of the
// right type and content changes.
TRead ReadPolicyValue(RegistryKey& key, const PolicyValue& value, TCheckOptions& options,
                      const std::string& defaultLogFile) {
  const std::string name = value.name;
  if (value.kind == TPolicyKind::Flag) {
    bool flag = false;
    const TRead read = ReadPolicyFlag(key, name, flag);
    if (read == TRead::Read) options.*value.flag = flag;
    return read;
  }
  std::string text;
  const TRead read = ReadPolicyText(key, name, text);
  if (read != TRead::Read) return read;
  switch (value.kind) {
    case TPolicyKind::Path:
      if (text.size() > kMaxPath) return TRead::Wrong;
      // Empty, the path is what the dialog puts into an emptied box.
      if (text.empty() && value.option == kOptionLogFile) text = defaultLogFile;
      if (text.empty()) text = kNoSoundFile;
      options.*value.path = text;
      return read;
    case TPolicyKind::Drives:
      if (!IsDriveString(text)) return TRead::Wrong;
      UncheckAllDrives(options);
      CheckDrivesFromString(options, text);
      return read;
    case TPolicyKind::Sound:
      return SoundOfWord(text, options.Sound) ? read : TRead::Wrong;
    default:
      return WindowsSoundOfWord(text, options.WindowsSound) ? read : TRead::Wrong;
  }
}

// The labels: a switch in the policy key says that the policy sets them,
// and whether to the subkey's or to none at all. The subkey alone says
// nothing, since an emptied one may outlive its policy.
TRead ReadPolicyLabels(platform::Registry& registry, RegistryKey& key, const std::string& name,
                       TCheckOptions& options) {
  bool listed = false;
  const TRead read = ReadPolicyFlag(key, name, listed);
  if (read != TRead::Read) return read;
  options.Exclusions.clear();
  std::unique_ptr<RegistryKey> labels =
      listed ? registry.OpenKeyForReadingIn64BitView(kPolicyLabelsPath) : nullptr;
  if (labels) {
    for (const std::string& label : ValueNames(*labels)) AddExclusion(options, label);
  }
  return read;
}

// One policy key: the options it sets that the key read before did not,
// into `options`; `set` gathers them.
void ReadPolicyKey(platform::Registry& registry, const char* root, TCheckOptions& options,
                   TOptionSet& set, std::vector<std::string>& ignored,
                   const std::string& defaultLogFile) {
  // Opened as a 64-bit program sees it. Microsoft's "Registry Keys Affected
  // by WOW64" (learn.microsoft.com/windows/win32/winprog64/shared-registry-keys)
  // has a 32-bit program's HKEY_LOCAL_MACHINE\SOFTWARE redirected to
  // SOFTWARE\WOW6432Node on 64-bit Windows, with some subkeys shared;
  // Group Policy writes the 64-bit view. KEY_WOW64_64KEY reads that view
  // whether the version at hand redirects SOFTWARE\Policies or shares it,
  // and 32-bit Windows ignores the flag. HKEY_CURRENT_USER\Software is
  // shared. Read access only: the program never writes, creates or
  // repairs a policy.
  std::unique_ptr<RegistryKey> key = registry.OpenKeyForReadingIn64BitView(kPolicyKeyPath);
  if (!key) return;
  const std::string keyName = std::string(root) + kPolicyKeyPath + "\\";
  for (const PolicyValue& value : kPolicyValues) {
    if ((set & value.option) != 0) continue;
    const TRead read = value.kind == TPolicyKind::Labels
                           ? ReadPolicyLabels(registry, *key, value.name, options)
                           : ReadPolicyValue(*key, value, options, defaultLogFile);
    if (read == TRead::Read) set |= value.option;
    if (read == TRead::Wrong) {
      ignored.push_back(platform::FormatFailure(kInvalidPolicyValue, keyName + value.name));
    }
  }
}

}  // namespace

std::string OptionNames(TOptionSet options) {
  std::string names;
  for (const PolicyValue& value : kPolicyValues) {
    if ((options & value.option) == 0) continue;
    if (!names.empty()) names += ", ";
    names += value.name;
  }
  return names;
}

void CopyOptions(TOptionSet which, const TCheckOptions& from, TCheckOptions& to) {
  if (which & kOptionDrives) {
    for (std::size_t i = 0; i < to.Drives.size() && i < from.Drives.size(); ++i) {
      to.Drives[i].Checked = from.Drives[i].Checked;
    }
  }
  if (which & kOptionRemovableDrives) to.RemovableDrives = from.RemovableDrives;
  if (which & kOptionRemindWhenAway) to.RemindWhenAway = from.RemindWhenAway;
  if (which & kOptionLogging) to.Logging = from.Logging;
  if (which & kOptionLogFile) to.LogFile = from.LogFile;
  if (which & kOptionNoDialog) to.NoDialog = from.NoDialog;
  if (which & kOptionSound) to.Sound = from.Sound;
  if (which & kOptionSoundFile) to.SoundFile = from.SoundFile;
  if (which & kOptionWindowsSound) to.WindowsSound = from.WindowsSound;
  if (which & kOptionExclusions) to.Exclusions = from.Exclusions;
}

TOptionSet ReadPolicies(platform::Registry& machine, platform::Registry& user,
                        TCheckOptions& options, const std::string& defaultLogFile,
                        std::vector<std::string>& ignored) {
  TOptionSet set = 0;
  // The computer's first: where both set an option, the computer's wins.
  ReadPolicyKey(machine, "HKEY_LOCAL_MACHINE\\", options, set, ignored, defaultLogFile);
  ReadPolicyKey(user, "HKEY_CURRENT_USER\\", options, set, ignored, defaultLogFile);
  return set;
}

bool PolicyLanguage(platform::Registry& machine, platform::Registry& user,
                    platform::EventLog& events, std::string& language) {
  const std::pair<platform::Registry*, const char*> keys[] = {{&machine, "HKEY_LOCAL_MACHINE\\"},
                                                              {&user, "HKEY_CURRENT_USER\\"}};
  for (const auto& [registry, root] : keys) {
    const std::unique_ptr<RegistryKey> key = registry->OpenKeyForReadingIn64BitView(kPolicyKeyPath);
    if (!key) continue;
    std::string text;
    const TRead read = ReadPolicyText(*key, kLanguageValue, text);
    if (read == TRead::Missing) continue;
    if (read == TRead::Read && (text.empty() || platform::IsLanguageTag(text))) {
      language = text;
      return true;
    }
    const std::string damage =
        platform::FormatFailure(kInvalidPolicyValue, std::string(root) + kPolicyKeyPath + "\\" +
                                                         kLanguageValue);
    events.Report(platform::kEventlogWarningType, kEventSettingOrServiceDamaged,
                  {damage.c_str(), kPolicyValueIgnored});
  }
  return false;
}

PolicyOverlay::PolicyOverlay(platform::Registry& machine, platform::Registry& user,
                             platform::EventLog& events, const std::string& defaultLogFile)
    : machine_(machine), user_(user), events_(events), defaultLogFile_(defaultLogFile) {}

void PolicyOverlay::Loaded(TCheckOptions& options) {
  // The drive entries never change once made: the flags are what differ.
  if (stored_.Drives.size() != options.Drives.size()) stored_.Drives = options.Drives;
  CopyOptions(~0u, options, stored_);
  managed_ = 0;
  Refresh(options);
}

TOptionSet PolicyOverlay::Refresh(TCheckOptions& options) {
  // Every option a policy set goes back to its stored value; the policies
  // then set theirs again. The others keep what they hold.
  const TOptionSet before = managed_;
  Withdraw(options);
  std::vector<std::string> ignored;
  managed_ = ReadPolicies(machine_, user_, options, defaultLogFile_, ignored);

  // Group Policy applies its policies again every 90 minutes or so, and
  // the program reads them at each check: an administrator hears of a
  // value once, not at every reading.
  for (const std::string& damage : ignored) {
    if (std::find(reported_.begin(), reported_.end(), damage) != reported_.end()) continue;
    events_.Report(platform::kEventlogWarningType, kEventSettingOrServiceDamaged,
                   {damage.c_str(), kPolicyValueIgnored});
  }
  reported_ = std::move(ignored);
  return before | managed_;
}

void PolicyOverlay::Withdraw(TCheckOptions& options) const {
  CopyOptions(managed_, stored_, options);
}
