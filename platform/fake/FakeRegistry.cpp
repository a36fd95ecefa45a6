#include "platform/fake/FakeRegistry.h"

#include <algorithm>

namespace platform {

namespace {

// The registry compares names without regard to the case of the letters.
char FoldChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

template <typename Values>
auto FindValue(Values& values, const std::string& name) -> decltype(values.data()) {
  for (auto& value : values) {
    if (SameName(value.name, name)) return &value;
  }
  return nullptr;
}

std::string LastName(const std::string& path) {
  return path.substr(path.rfind('\\') + 1);  // npos + 1 is 0: a top-level key
}

}  // namespace

// An open handle. A key deleted while a handle to it is open answers as
// Windows does, with kErrorKeyDeleted, even after a new key takes its path.
class FakeRegistryKey : public RegistryKey {
 public:
  FakeRegistryKey(FakeRegistry& registry, std::string foldedPath, bool readOnly = false)
      : registry_(registry), foldedPath_(std::move(foldedPath)),
        id_(registry.Find(foldedPath_)->id), readOnly_(readOnly) {}

  long QueryValue(const std::string& name, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override {
    FakeRegistry::Key* key = Own();
    if (key == nullptr) return kErrorKeyDeleted;
    FakeRegistryValue* value = FindValue(key->values, name);
    if (value == nullptr) return kErrorFileNotFound;
    type = value->type;
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    if (data == nullptr) {
      size = needed;
      return kErrorSuccess;
    }
    // A short buffer is left as it was; the size says what would be needed.
    if (size < needed) {
      size = needed;
      return kErrorMoreData;
    }
    std::copy(value->data.begin(), value->data.end(), data);
    size = needed;
    return kErrorSuccess;
  }

  long SetValue(const std::string& name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override {
    FakeRegistry::Key* key = Own();
    if (key == nullptr) return kErrorKeyDeleted;
    if (readOnly_ || registry_.RefusesWrite(foldedPath_, name)) {
      registry_.writes.push_back("set " + name + " refused");
      return kErrorAccessDenied;
    }
    registry_.writes.push_back("set " + name);
    std::vector<std::uint8_t> bytes(data, data + size);
    if (FakeRegistryValue* value = FindValue(key->values, name)) {
      value->type = type;  // the name keeps the case it was created with
      value->data = std::move(bytes);
    } else {
      key->values.push_back({name, type, std::move(bytes)});
    }
    if (registry_.afterSet) registry_.afterSet(name);
    return kErrorSuccess;
  }

  long QueryInfo(KeyInfo& info) override {
    FakeRegistry::Key* key = Own();
    if (key == nullptr) return kErrorKeyDeleted;
    info = KeyInfo{};
    for (const FakeRegistry::Key* child : registry_.Children(foldedPath_)) {
      ++info.subKeys;
      info.maxSubKeyNameLength =
          std::max(info.maxSubKeyNameLength, static_cast<std::uint32_t>(LastName(child->path).size()));
    }
    for (const FakeRegistryValue& value : key->values) {
      ++info.values;
      info.maxValueNameLength =
          std::max(info.maxValueNameLength, static_cast<std::uint32_t>(value.name.size()));
    }
    return kErrorSuccess;
  }

  long EnumValueName(std::uint32_t index, std::uint32_t capacity, std::string& name) override {
    FakeRegistry::Key* key = Own();
    if (key == nullptr) return kErrorKeyDeleted;
    if (index >= key->values.size()) return kErrorNoMoreItems;
    return Deliver(key->values[index].name, capacity, name);
  }

  long EnumKeyName(std::uint32_t index, std::uint32_t capacity, std::string& name) override {
    if (Own() == nullptr) return kErrorKeyDeleted;
    std::vector<const FakeRegistry::Key*> children = registry_.Children(foldedPath_);
    if (index >= children.size()) return kErrorNoMoreItems;
    return Deliver(LastName(children[index]->path), capacity, name);
  }

  long DeleteValue(const std::string& name) override {
    FakeRegistry::Key* key = Own();
    if (key == nullptr) return kErrorKeyDeleted;
    if (readOnly_ || registry_.RefusesWrite(foldedPath_, name)) {
      registry_.writes.push_back("delete " + name + " refused");
      return kErrorAccessDenied;
    }
    FakeRegistryValue* value = FindValue(key->values, name);
    if (value == nullptr) return kErrorFileNotFound;
    registry_.writes.push_back("delete " + name);
    key->values.erase(key->values.begin() + (value - key->values.data()));
    return kErrorSuccess;
  }

 private:
  FakeRegistry::Key* Own() {
    FakeRegistry::Key* key = registry_.Find(foldedPath_);
    return key != nullptr && key->id == id_ ? key : nullptr;
  }

  // The name must fit with its terminating zero.
  static long Deliver(const std::string& found, std::uint32_t capacity, std::string& name) {
    if (found.size() + 1 > capacity) return kErrorMoreData;
    name = found;
    return kErrorSuccess;
  }

  FakeRegistry& registry_;
  std::string foldedPath_;
  std::uint64_t id_;
  bool readOnly_;
};

std::string FakeRegistry::Fold(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) c = FoldChar(c);
  return folded;
}

// The registry refuses a path that starts with a backslash
// (ERROR_BAD_PATHNAME) and one with an empty key name in it.
bool FakeRegistry::IsValidPath(const std::string& path) {
  return !path.empty() && path.front() != '\\' && path.back() != '\\' &&
         path.find("\\\\") == std::string::npos;
}

bool FakeRegistry::IsBelow(const std::set<std::string>& roots, const std::string& foldedPath) {
  for (const std::string& root : roots) {
    if (foldedPath == root || foldedPath.compare(0, root.size() + 1, root + "\\") == 0) {
      return true;
    }
  }
  return false;
}

// Refused outright, or open to reading only, which a full-access open or
// a deletion is refused as well.
bool FakeRegistry::IsRefused(const std::string& foldedPath) const {
  return IsBelow(refusedKeys_, foldedPath) || IsBelow(readableKeys_, foldedPath);
}

bool FakeRegistry::RefusesWrite(const std::string& foldedPath, const std::string& valueName) const {
  return readOnlyKeys_.count(foldedPath) != 0 ||
         refusedValues_.count({foldedPath, Fold(valueName)}) != 0;
}

FakeRegistry::Key* FakeRegistry::Find(const std::string& foldedPath) {
  auto it = keys_.find(foldedPath);
  return it == keys_.end() ? nullptr : &it->second;
}

const FakeRegistry::Key* FakeRegistry::Find(const std::string& foldedPath) const {
  auto it = keys_.find(foldedPath);
  return it == keys_.end() ? nullptr : &it->second;
}

// Creates the key and its missing parents, as RegCreateKeyExA does.
FakeRegistry::Key& FakeRegistry::Make(const std::string& path) {
  for (std::string::size_type at = path.find('\\'); at != std::string::npos;
       at = path.find('\\', at + 1)) {
    const std::string parent = path.substr(0, at);
    auto made = keys_.emplace(Fold(parent), Key{parent, {}, nextId_});
    if (made.second) ++nextId_;
  }
  auto made = keys_.emplace(Fold(path), Key{path, {}, nextId_});
  if (made.second) ++nextId_;
  return made.first->second;
}

std::vector<const FakeRegistry::Key*> FakeRegistry::Children(const std::string& foldedPath) const {
  std::vector<const Key*> children;
  const std::string prefix = foldedPath + "\\";
  for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    if (it->first.find('\\', prefix.size()) == std::string::npos) children.push_back(&it->second);
  }
  return children;
}

void FakeRegistry::RefuseKey(const std::string& path) { refusedKeys_.insert(Fold(path)); }

void FakeRegistry::AllowOnlyReading(const std::string& path) {
  readableKeys_.insert(Fold(path));
}

void FakeRegistry::RefuseWrites(const std::string& path) { readOnlyKeys_.insert(Fold(path)); }

void FakeRegistry::RefuseWrite(const std::string& path, const std::string& valueName) {
  refusedValues_.insert({Fold(path), Fold(valueName)});
}

void FakeRegistry::AddKey(const std::string& path) { Make(path); }

void FakeRegistry::Put(const std::string& path, const std::string& name, std::uint32_t type,
                       std::vector<std::uint8_t> data) {
  Key& key = Make(path);
  if (FakeRegistryValue* value = FindValue(key.values, name)) {
    value->type = type;
    value->data = std::move(data);
  } else {
    key.values.push_back({name, type, std::move(data)});
  }
}

void FakeRegistry::PutText(const std::string& path, const std::string& name,
                           const std::string& text, std::uint32_t type) {
  Put(path, name, type, std::vector<std::uint8_t>(text.c_str(), text.c_str() + text.size() + 1));
}

void FakeRegistry::PutDword(const std::string& path, const std::string& name,
                            std::uint32_t value) {
  Put(path, name, kRegDword,
      {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
       static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void FakeRegistry::Erase(const std::string& path, const std::string& name) {
  if (Key* key = Find(Fold(path))) {
    if (FakeRegistryValue* value = FindValue(key->values, name)) {
      key->values.erase(key->values.begin() + (value - key->values.data()));
    }
  }
}

bool FakeRegistry::HasKey(const std::string& path) const { return Find(Fold(path)) != nullptr; }

std::optional<FakeRegistryValue> FakeRegistry::Value(const std::string& path,
                                                     const std::string& name) const {
  const Key* key = Find(Fold(path));
  if (key == nullptr) return std::nullopt;
  const FakeRegistryValue* value = FindValue(key->values, name);
  if (value == nullptr) return std::nullopt;
  return *value;
}

std::vector<std::string> FakeRegistry::ValueNames(const std::string& path) const {
  std::vector<std::string> names;
  if (const Key* key = Find(Fold(path))) {
    for (const FakeRegistryValue& value : key->values) names.push_back(value.name);
  }
  return names;
}

std::vector<std::string> FakeRegistry::SubKeyNames(const std::string& path) const {
  std::vector<std::string> names;
  for (const Key* child : Children(Fold(path))) {
    names.push_back(LastName(child->path));
  }
  return names;
}

std::string FakeRegistry::Redirected(const std::string& path) const {
  static const std::string kSoftware = "software";
  const std::string folded = Fold(path);
  if (!redirectsSoftware || folded.compare(0, kSoftware.size(), kSoftware) != 0 ||
      (folded.size() > kSoftware.size() && folded[kSoftware.size()] != '\\') ||
      folded.compare(0, 20, "software\\wow6432node") == 0) {
    return path;
  }
  return "SOFTWARE\\WOW6432Node" + path.substr(kSoftware.size());
}

std::unique_ptr<RegistryKey> FakeRegistry::CreateKey(const std::string& viewPath) {
  const std::string path = Redirected(viewPath);
  if (!IsValidPath(path)) return nullptr;
  const std::string folded = Fold(path);
  if (IsRefused(folded)) return nullptr;
  if (Find(folded) == nullptr) {
    Make(path);
    writes.push_back("create key " + path);
  }
  return std::make_unique<FakeRegistryKey>(*this, folded);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKey(const std::string& viewPath) {
  const std::string path = Redirected(viewPath);
  if (!IsValidPath(path)) return nullptr;
  const std::string folded = Fold(path);
  if (IsRefused(folded) || Find(folded) == nullptr) return nullptr;
  return std::make_unique<FakeRegistryKey>(*this, folded);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKeyForReading(const std::string& path) {
  return OpenReadOnly(Redirected(path));
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKeyForReadingIn64BitView(const std::string& path) {
  return OpenReadOnly(path);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenReadOnly(const std::string& path) {
  if (!IsValidPath(path)) return nullptr;
  const std::string folded = Fold(path);
  if (IsBelow(refusedKeys_, folded) || Find(folded) == nullptr) return nullptr;
  return std::make_unique<FakeRegistryKey>(*this, folded, true);
}

long FakeRegistry::DeleteKey(const std::string& viewPath) {
  const std::string path = Redirected(viewPath);
  if (!IsValidPath(path)) return kErrorFileNotFound;
  const std::string folded = Fold(path);
  if (Find(folded) == nullptr) return kErrorFileNotFound;
  // Windows answers a key that still has subkeys with access denied.
  if (IsRefused(folded) || !Children(folded).empty()) {
    writes.push_back("delete key " + path + " refused");
    return kErrorAccessDenied;
  }
  writes.push_back("delete key " + path);
  keys_.erase(folded);
  return kErrorSuccess;
}

}  // namespace platform
