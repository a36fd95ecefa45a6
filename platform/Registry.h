#pragma once
// The registry, under one root key: HKEY_LOCAL_MACHINE unless the program
// body names another. Each operation opens the keys it uses and closes them
// when its RegistryKey objects go out of scope.
// Results are the registry's own error codes (0 for success).

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

// RegQueryInfoKeyA's counts; name lengths exclude the terminating zero.
struct KeyInfo {
  std::uint32_t subKeys = 0;
  std::uint32_t maxSubKeyNameLength = 0;
  std::uint32_t values = 0;
  std::uint32_t maxValueNameLength = 0;
};

// An open key. Closing happens in the destructor (RegCloseKey).
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  virtual ~RegistryKey() = default;

  // RegQueryValueExA. With `data` null only the type and the size are
  // asked for; otherwise `size` is the buffer's size on the way in and the
  // data's size on the way out (kErrorMoreData when the buffer is short).
  virtual long QueryValue(const std::string& name, std::uint32_t& type, std::uint8_t* data,
                          std::uint32_t& size) = 0;

  // RegSetValueExA.
  virtual long SetValue(const std::string& name, std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t size) = 0;

  // RegQueryInfoKeyA.
  virtual long QueryInfo(KeyInfo& info) = 0;

  // RegEnumValueA / RegEnumKeyExA: the name at `index`, read into a buffer
  // of `capacity` characters including the terminating zero.
  virtual long EnumValueName(std::uint32_t index, std::uint32_t capacity, std::string& name) = 0;
  virtual long EnumKeyName(std::uint32_t index, std::uint32_t capacity, std::string& name) = 0;

  // RegDeleteValueA.
  virtual long DeleteValue(const std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, no class,
  // REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, no security attributes).
  // Null when the key can be neither opened nor created.
  virtual std::unique_ptr<RegistryKey> CreateKey(const std::string& path) = 0;

  // RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS). Null when it fails.
  virtual std::unique_ptr<RegistryKey> OpenKey(const std::string& path) = 0;

  // RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ): a key that the
  // user may read but not change. Its writes fail. Null when it fails.
  virtual std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) = 0;

  // RegOpenKeyExA(root, path, 0, KEY_READ | KEY_WOW64_64KEY): a key as a
  // 64-bit program sees it, where on 64-bit Windows a 32-bit program's own
  // view of HKEY_LOCAL_MACHINE\SOFTWARE is SOFTWARE\WOW6432Node; 32-bit
  // Windows ignores the flag. Its writes fail. Null when it fails.
  virtual std::unique_ptr<RegistryKey> OpenKeyForReadingIn64BitView(const std::string& path) = 0;

  // RegDeleteKeyA(HKEY_LOCAL_MACHINE, path): only a key without subkeys.
  virtual long DeleteKey(const std::string& path) = 0;
};

}  // namespace platform
