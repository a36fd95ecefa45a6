#pragma once
// The registry through advapi32: each method is one registry call.

#include <windows.h>

#include "platform/Registry.h"
#include "platform/win32/Handles.h"

namespace platform {

// An open HKEY, closed with RegCloseKey when the object goes.
class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}

  long QueryValue(const std::string& name, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override;
  long SetValue(const std::string& name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;
  long QueryInfo(KeyInfo& info) override;
  long EnumValueName(std::uint32_t index, std::uint32_t capacity, std::string& name) override;
  long EnumKeyName(std::uint32_t index, std::uint32_t capacity, std::string& name) override;
  long DeleteValue(const std::string& name) override;

 private:
  RegistryKeyHandle key_;
};

// Keys below one root, HKEY_LOCAL_MACHINE unless a test names another.
class Win32Registry : public Registry {
 public:
  explicit Win32Registry(HKEY root = HKEY_LOCAL_MACHINE) : root_(root) {}

  std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override;
  std::unique_ptr<RegistryKey> OpenKey(const std::string& path) override;
  std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) override;
  std::unique_ptr<RegistryKey> OpenKeyForReadingIn64BitView(const std::string& path) override;
  long DeleteKey(const std::string& path) override;

 private:
  std::unique_ptr<RegistryKey> Open(const std::string& path, REGSAM access);

  HKEY root_;
};

}  // namespace platform
