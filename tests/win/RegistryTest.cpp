// The registry wrappers against the real registry, in a scratch key under
// HKEY_LOCAL_MACHINE made fresh for each test and deleted after it. They
// must answer as the host tests' in-memory registry does.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "platform/fake/Fakes.h"
#include "settings/SettingsStore.h"
#include "tests/figures/StoreCombinations.h"

namespace {

using Names = std::vector<std::string>;

const char kScratchParent[] = "SOFTWARE\\DorvaneTests";

// Deletes a key and everything below it with advapi32 alone, so that a
// fault in the wrappers cannot leave the scratch key behind.
void DeleteTree(const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return;
  }
  char name[256];
  DWORD length = sizeof name;
  std::vector<std::string> children;
  for (DWORD index = 0; ::RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_SUCCESS;
       ++index, length = sizeof name) {
    children.push_back(name);
  }
  ::RegCloseKey(key);
  for (const std::string& child : children) DeleteTree(path + "\\" + child);
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

std::vector<std::uint8_t> Bytes(const char* text, std::size_t size) {
  return std::vector<std::uint8_t>(text, text + size);
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = std::string(kScratchParent) + "\\" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
           std::to_string(::GetCurrentProcessId());
    DeleteTree(path);
    key = registry.CreateKey(path);
    ASSERT_NE(key, nullptr);
  }
  void TearDown() override {
    key.reset();
    DeleteTree(path);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kScratchParent);  // only once it is empty
  }

  long Set(const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data) {
    return key->SetValue(name, type, data.data(), static_cast<std::uint32_t>(data.size()));
  }

  platform::Win32Registry registry;
  std::string path;
  std::unique_ptr<platform::RegistryKey> key;
};

TEST_F(Win32RegistryTest, QueryValueAnswersTheSizeQueryShortBuffersAndMissingValues) {
  ASSERT_EQ(Set("LogFile", platform::kRegSz, Bytes("C:\\LOG", 7)), platform::kErrorSuccess);

  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = 0;
  EXPECT_EQ(key->QueryValue("logfile", type, nullptr, size), platform::kErrorSuccess)
      << "value names ignore case";
  EXPECT_EQ(type, platform::kRegSz);
  EXPECT_EQ(size, 7u);

  // A buffer pre-filled with a canary shows what each call wrote.
  std::uint8_t buffer[16];
  std::memset(buffer, 0xCC, sizeof buffer);
  size = 6;
  EXPECT_EQ(key->QueryValue("LogFile", type, buffer, size), platform::kErrorMoreData);
  EXPECT_EQ(size, 7u);

  size = sizeof buffer;
  EXPECT_EQ(key->QueryValue("LogFile", type, buffer, size), platform::kErrorSuccess);
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 7), std::string("C:\\LOG", 7));
  EXPECT_EQ(buffer[7], 0xCC);

  size = sizeof buffer;
  EXPECT_EQ(key->QueryValue("Missing", type, buffer, size), platform::kErrorFileNotFound);
  size = 0;
  EXPECT_EQ(key->QueryValue("Missing", type, nullptr, size), platform::kErrorFileNotFound);
}

TEST_F(Win32RegistryTest, StoresTypesAsGivenAndLeavesExpandTextUnexpanded) {
  ASSERT_EQ(Set("NoDialog", platform::kRegDword, {1, 0, 0, 0}), platform::kErrorSuccess);
  ASSERT_EQ(Set("Path", platform::kRegExpandSz, Bytes("%WINDIR%\\x", 11)),
            platform::kErrorSuccess);
  ASSERT_EQ(Set("Empty", platform::kRegSz, {}), platform::kErrorSuccess);

  std::uint8_t buffer[32] = {};
  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = 4;
  EXPECT_EQ(key->QueryValue("NoDialog", type, buffer, size), platform::kErrorSuccess);
  EXPECT_EQ(type, platform::kRegDword);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(buffer[0], 1);

  size = sizeof buffer;
  EXPECT_EQ(key->QueryValue("Path", type, buffer, size), platform::kErrorSuccess);
  EXPECT_EQ(type, platform::kRegExpandSz);
  EXPECT_STREQ(reinterpret_cast<char*>(buffer), "%WINDIR%\\x");

  size = 99;
  EXPECT_EQ(key->QueryValue("Empty", type, nullptr, size), platform::kErrorSuccess);
  EXPECT_EQ(size, 0u);
}

TEST_F(Win32RegistryTest, NamesIgnoreCaseAndKeepTheFirstSpellingWithTheDefaultValueListed) {
  ASSERT_EQ(Set("Work", platform::kRegSz, Bytes("Work", 5)), platform::kErrorSuccess);
  ASSERT_EQ(Set("WORK", platform::kRegSz, Bytes("WORK", 5)), platform::kErrorSuccess);
  ASSERT_EQ(Set("", platform::kRegSz, Bytes("", 1)), platform::kErrorSuccess);
  ASSERT_EQ(Set("Archive", platform::kRegSz, Bytes("Archive", 8)), platform::kErrorSuccess);

  platform::KeyInfo info;
  ASSERT_EQ(key->QueryInfo(info), platform::kErrorSuccess);
  EXPECT_EQ(info.values, 3u);
  EXPECT_EQ(info.maxValueNameLength, 7u);
  EXPECT_EQ(info.subKeys, 0u);

  Names names;
  std::string name;
  for (std::uint32_t index = 0;; ++index) {
    const long result = key->EnumValueName(index, info.maxValueNameLength + 1, name);
    if (result == platform::kErrorNoMoreItems) break;
    ASSERT_EQ(result, platform::kErrorSuccess);
    names.push_back(name);
  }
  // Windows lists values in the order they were made, Wine alphabetically;
  // the label list sorts itself, so only the names matter.
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Names{"", "Archive", "Work"}));

  EXPECT_EQ(key->EnumValueName(0, 0, name), platform::kErrorMoreData);
  EXPECT_EQ(key->DeleteValue("work"), platform::kErrorSuccess);
  EXPECT_EQ(key->DeleteValue("Work"), platform::kErrorFileNotFound);
}

TEST_F(Win32RegistryTest, DeletesAKeyOnlyOnceItHasNoSubkeys) {
  EXPECT_EQ(registry.CreateKey("\\" + path), nullptr) << "a leading backslash is refused";
  EXPECT_EQ(registry.OpenKey(path + "\\Labels"), nullptr);
  ASSERT_NE(registry.CreateKey(path + "\\Labels\\Inner\\Deep"), nullptr)
      << "missing parents are created";
  ASSERT_NE(registry.CreateKey(path + "\\Labels\\b"), nullptr);

  auto labels = registry.OpenKey(path + "\\Labels");
  ASSERT_NE(labels, nullptr);
  platform::KeyInfo info;
  ASSERT_EQ(labels->QueryInfo(info), platform::kErrorSuccess);
  EXPECT_EQ(info.subKeys, 2u);
  EXPECT_EQ(info.maxSubKeyNameLength, 5u);
  std::string first;
  std::string second;
  EXPECT_EQ(labels->EnumKeyName(0, 6, first), platform::kErrorSuccess);
  EXPECT_EQ(labels->EnumKeyName(1, 6, second), platform::kErrorSuccess);
  EXPECT_EQ(first + "," + second, "b,Inner") << "alphabetical, ignoring case";
  EXPECT_EQ(labels->EnumKeyName(2, 6, first), platform::kErrorNoMoreItems);
  EXPECT_EQ(labels->EnumKeyName(1, 5, second), platform::kErrorMoreData);
  labels.reset();

  EXPECT_EQ(registry.DeleteKey(path + "\\Labels"), platform::kErrorAccessDenied);
  EXPECT_EQ(registry.DeleteKey(path + "\\Labels\\Inner\\Deep"), platform::kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(path + "\\Labels\\Inner"), platform::kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(path + "\\Labels\\b"), platform::kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(path + "\\Labels"), platform::kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(path + "\\Labels"), platform::kErrorFileNotFound);
}

// The policies' opening: what a 64-bit program sees (here the key itself),
// for reading alone.
TEST_F(Win32RegistryTest, OpensTheSixtyFourBitViewForReadingOnly) {
  ASSERT_EQ(Set("Drives", platform::kRegSz, Bytes("B", 2)), platform::kErrorSuccess);
  auto policy = registry.OpenKeyForReadingIn64BitView(path);
  ASSERT_NE(policy, nullptr);
  std::uint8_t data[4] = {'?', '?', '?', '?'};
  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = sizeof data;
  EXPECT_EQ(policy->QueryValue("Drives", type, data, size), platform::kErrorSuccess);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), std::string("B", 2));
  const std::uint8_t one[] = {'C', 0};
  EXPECT_EQ(policy->SetValue("Drives", platform::kRegSz, one, sizeof one),
            platform::kErrorAccessDenied);
  EXPECT_EQ(policy->DeleteValue("Drives"), platform::kErrorAccessDenied);
  EXPECT_EQ(registry.OpenKeyForReadingIn64BitView(path + "\\Missing"), nullptr)
      << "never created";
}

// The store's own key under HKEY_LOCAL_MACHINE, in the test run's
// throwaway prefix: a first run, a save and the load that follows.
TEST(SettingsStoreOnWindowsTest, FirstRunSaveAndLoadRoundTrip) {
  const std::string settingsPath = kSettingsKeyPath + 1;
  platform::Win32Registry registry;
  if (registry.OpenKey(settingsPath)) GTEST_SKIP() << "settings already stored on this machine";
  struct Cleanup {
    std::string path;
    ~Cleanup() {
      DeleteTree(path);
      ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kestrome\\Dorvane");
      ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kestrome");
    }
  } cleanup{settingsPath};

  platform::Journal events;
  platform::FakeEventLog eventLog{events};
  SettingsStore store(registry, "C:\\DVN\\dvn.dvl", eventLog);
  TCheckOptions options;
  options.Drives = {{" A:\\", true, 0}, {" C:\\", false, 0}};
  options.Sound = TSound::SoundWindows;
  store.Load(options);
  EXPECT_EQ(options.Sound, TSound::NoSound);
  EXPECT_EQ(options.LogFile, "C:\\DVN\\dvn.dvl");
  EXPECT_EQ(DriveString(options), "A");
  auto labels = registry.OpenKey(kExclusionsKeyPath + 1);
  ASSERT_NE(labels, nullptr);
  labels.reset();

  options.Sound = TSound::SoundFile;
  options.SoundFile = "C:\\media\\ding.wav";
  options.WindowsSound = TWindowsSound::Question;
  options.Logging = true;
  options.NoDialog = true;
  options.Drives[0].Checked = false;
  options.Drives[1].Checked = true;
  for (const char* label : {"WORK", "", "Archive", "work"}) AddExclusion(options, label);
  store.Save(options);

  TCheckOptions loaded;
  loaded.Drives = options.Drives;
  store.Load(loaded);
  EXPECT_EQ(loaded.Sound, TSound::SoundFile);
  EXPECT_EQ(loaded.SoundFile, "C:\\media\\ding.wav");
  EXPECT_EQ(loaded.WindowsSound, TWindowsSound::Question);
  EXPECT_TRUE(loaded.Logging);
  EXPECT_TRUE(loaded.NoDialog);
  EXPECT_EQ(loaded.LogFile, "C:\\DVN\\dvn.dvl");
  EXPECT_EQ(DriveString(loaded), "C");
  EXPECT_EQ(loaded.Exclusions, (Names{"", "Archive", "WORK"}));

  // A boolean that a .reg file stored in two bytes ("NoDialog"=hex(4):01,00)
  // is read by the real registry as it stands: true, and no reset.
  {
    auto key = registry.OpenKey(settingsPath);
    ASSERT_NE(key, nullptr);
    const std::uint8_t twoBytes[] = {1, 0};
    ASSERT_EQ(key->SetValue("NoDialog", platform::kRegDword, twoBytes, sizeof twoBytes),
              platform::kErrorSuccess);
  }
  TCheckOptions reread;
  reread.Drives = options.Drives;
  store.Load(reread);
  EXPECT_TRUE(reread.NoDialog);
  EXPECT_EQ(reread.Sound, TSound::SoundFile) << "a two-byte boolean reset the store";
}

// The same stores as the host tests load, in the real registry: below a
// scratch key, which the registry wrappers take as their root.
class StoreCombinationsOnWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = std::string(kScratchParent) + "\\Combinations-" + std::to_string(::GetCurrentProcessId());
    DeleteTree(path);
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &root, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegCloseKey(root);
    DeleteTree(path);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kScratchParent);
  }

  std::string path;
  HKEY root = nullptr;
};

TEST_F(StoreCombinationsOnWindowsTest, EveryStoreOfTheSevenValuesLoadsAsTheDesignSays) {
  platform::Win32Registry registry(root);
  figures::ExpectEveryCombinationAsDesigned(registry, "Wine registry");
}

TEST_F(StoreCombinationsOnWindowsTest, BooleansOfUpToFourBytesReadZeroExtendedAndFiveReset) {
  platform::Win32Registry registry(root);
  figures::ExpectBooleanSizesAsDesigned(registry, "Wine registry");
}

}  // namespace
