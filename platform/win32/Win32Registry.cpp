#include "platform/win32/Win32Registry.h"

#include <vector>

namespace platform {

namespace {

// RegEnumValueA and RegEnumKeyExA both give the name at an index, with the
// same first four arguments; what else they could give is not asked for.
template <class Enumerate>
long EnumName(Enumerate enumerate, HKEY key, std::uint32_t index, std::uint32_t capacity,
              std::string& name) {
  // One spare character so that a capacity of zero still has a buffer.
  std::vector<char> buffer(capacity + 1);
  DWORD length = capacity;
  const LONG result =
      enumerate(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) name.assign(buffer.data(), length);
  return result;
}

}  // namespace

long Win32RegistryKey::QueryValue(const std::string& name, std::uint32_t& type, std::uint8_t* data,
                                  std::uint32_t& size) {
  DWORD valueType = REG_NONE;
  DWORD valueSize = size;
  const LONG result =
      ::RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &valueType, data, &valueSize);
  type = valueType;
  size = valueSize;
  return result;
}

long Win32RegistryKey::SetValue(const std::string& name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) {
  return ::RegSetValueExA(key_.Get(), name.c_str(), 0, type, data, size);
}

long Win32RegistryKey::QueryInfo(KeyInfo& info) {
  DWORD subKeys = 0;
  DWORD maxSubKeyNameLength = 0;
  DWORD values = 0;
  DWORD maxValueNameLength = 0;
  const LONG result =
      ::RegQueryInfoKeyA(key_.Get(), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyNameLength,
                         nullptr, &values, &maxValueNameLength, nullptr, nullptr, nullptr);
  info.subKeys = subKeys;
  info.maxSubKeyNameLength = maxSubKeyNameLength;
  info.values = values;
  info.maxValueNameLength = maxValueNameLength;
  return result;
}

long Win32RegistryKey::EnumValueName(std::uint32_t index, std::uint32_t capacity,
                                     std::string& name) {
  return EnumName(::RegEnumValueA, key_.Get(), index, capacity, name);
}

long Win32RegistryKey::EnumKeyName(std::uint32_t index, std::uint32_t capacity, std::string& name) {
  return EnumName(::RegEnumKeyExA, key_.Get(), index, capacity, name);
}

long Win32RegistryKey::DeleteValue(const std::string& name) {
  return ::RegDeleteValueA(key_.Get(), name.c_str());
}

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(const std::string& path) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::Open(const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root_, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32RegistryKey>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(const std::string& path) {
  return Open(path, KEY_ALL_ACCESS);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenKeyForReading(const std::string& path) {
  return Open(path, KEY_READ);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenKeyForReadingIn64BitView(const std::string& path) {
  return Open(path, KEY_READ | KEY_WOW64_64KEY);
}

long Win32Registry::DeleteKey(const std::string& path) {
  return ::RegDeleteKeyA(root_, path.c_str());
}

}  // namespace platform
