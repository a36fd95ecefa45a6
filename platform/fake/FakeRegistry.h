#pragma once
// An in-memory registry for the host tests. It answers as the Windows
// registry does in the cases the program meets: names of keys and values
// ignore case, a value keeps the name it was created with, RegQueryValueExA's
// size query and short buffers, the default value with the empty name,
// values listed in the order they were created, subkeys in alphabetical
// order, and RegDeleteKeyA refusing a key that still has subkeys.
//
// Paths are given as the program gives them to the registry: from
// HKEY_LOCAL_MACHINE, without a leading backslash (which the registry
// refuses).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace platform {

// RegSetValueExA and friends on a handle whose key was deleted meanwhile.
constexpr long kErrorKeyDeleted = 1018;

struct FakeRegistryValue {
  std::string name;
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;
};

class FakeRegistry : public Registry {
 public:
  FakeRegistry() = default;
  FakeRegistry(const FakeRegistry&) = delete;
  FakeRegistry& operator=(const FakeRegistry&) = delete;

  // What the program asked to change, in order: "set NAME", "delete NAME",
  // "create key PATH" (only when the key was new), "delete key PATH"; a
  // change that was refused ends with " refused".
  std::vector<std::string> writes;

  // The registry as a 32-bit program sees it on 64-bit Windows, which
  // Wine here does not show: every path below SOFTWARE is redirected to
  // SOFTWARE\WOW6432Node, as on a version that shares none of its subkeys,
  // except for an opening that asks for the 64-bit view. Set-up and checks
  // (Put, Value...) name the keys where they physically are.
  bool redirectsSoftware = false;

  // Runs after each value write the registry accepted, as another program
  // changing the key at that moment would.
  std::function<void(const std::string& valueName)> afterSet;

  // The key at `path` and every key below it can be neither created,
  // opened nor deleted: a user without the rights to them.
  void RefuseKey(const std::string& path);
  // The key at `path` and every key below it may be read but not changed:
  // only OpenKeyForReading opens them, and their handles refuse writes, as
  // for a standard user under a key that an administrator set up.
  void AllowOnlyReading(const std::string& path);
  // The key opens, but refuses to change any of its values, or one of them.
  void RefuseWrites(const std::string& path);
  void RefuseWrite(const std::string& path, const std::string& valueName);

  // Direct access for setting up and checking a test; not recorded and not
  // refused. Put creates the key and its parents when they are missing.
  void AddKey(const std::string& path);
  void Put(const std::string& path, const std::string& name, std::uint32_t type,
           std::vector<std::uint8_t> data);
  // Text with its zero byte, as the program stores it.
  void PutText(const std::string& path, const std::string& name, const std::string& text,
               std::uint32_t type = kRegSz);
  void PutDword(const std::string& path, const std::string& name, std::uint32_t value);
  void Erase(const std::string& path, const std::string& name);
  bool HasKey(const std::string& path) const;
  std::optional<FakeRegistryValue> Value(const std::string& path, const std::string& name) const;
  std::vector<std::string> ValueNames(const std::string& path) const;
  std::vector<std::string> SubKeyNames(const std::string& path) const;

  std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override;
  std::unique_ptr<RegistryKey> OpenKey(const std::string& path) override;
  std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) override;
  std::unique_ptr<RegistryKey> OpenKeyForReadingIn64BitView(const std::string& path) override;
  long DeleteKey(const std::string& path) override;

 private:
  friend class FakeRegistryKey;

  struct Key {
    std::string path;                       // as it was created
    std::vector<FakeRegistryValue> values;  // in creation order
    std::uint64_t id = 0;                   // a key created anew at the same path is another key
  };

  static std::string Fold(const std::string& text);
  // Where a 32-bit program's path leads (see redirectsSoftware).
  std::string Redirected(const std::string& path) const;
  std::unique_ptr<RegistryKey> OpenReadOnly(const std::string& path);
  static bool IsValidPath(const std::string& path);
  static bool IsBelow(const std::set<std::string>& roots, const std::string& foldedPath);
  bool IsRefused(const std::string& foldedPath) const;
  bool RefusesWrite(const std::string& foldedPath, const std::string& valueName) const;
  Key* Find(const std::string& foldedPath);
  const Key* Find(const std::string& foldedPath) const;
  Key& Make(const std::string& path);
  std::vector<const Key*> Children(const std::string& foldedPath) const;

  std::uint64_t nextId_ = 1;
  std::map<std::string, Key> keys_;  // by folded path: alphabetical, ignoring case
  std::set<std::string> refusedKeys_;
  std::set<std::string> readableKeys_;
  std::set<std::string> readOnlyKeys_;
  std::set<std::pair<std::string, std::string>> refusedValues_;  // folded path and name
};

}  // namespace platform
