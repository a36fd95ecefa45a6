#include "platform/fake/FakeFiles.h"

#include <algorithm>
#include <utility>

#include "platform/Text.h"

namespace platform {

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return !CaseInsensitiveLess()(a, b) && !CaseInsensitiveLess()(b, a);
}

std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiUpper(x)) < static_cast<unsigned char>(AsciiUpper(y));
  });
}

// A file open for writing: the bytes land in the file at once, as they do
// on Windows, up to what the medium still takes.
class FakeWritableFile : public WritableFile {
 public:
  FakeWritableFile(FakeFiles& files, std::string name, std::string key)
      : files_(files), name_(std::move(name)), key_(std::move(key)) {}
  ~FakeWritableFile() override { files_.journal_.push_back("close " + name_); }

  std::uint32_t Write(const char* data, std::uint32_t size) override {
    if (files_.Record("write " + name_)) return 0;
    std::uint32_t taken = size;
    if (files_.freeSpace) {
      taken = static_cast<std::uint32_t>(std::min<std::size_t>(size, *files_.freeSpace));
      *files_.freeSpace -= taken;
    }
    files_.files[key_].bytes.append(data, taken);
    return taken;
  }

  bool Flush() override {
    return !files_.Record("flush " + name_) && !files_.flushFails;
  }

 private:
  FakeFiles& files_;
  std::string name_;
  std::string key_;
};

bool FakeFiles::Record(const std::string& operation) {
  journal_.push_back(operation);
  return refuses && refuses(operation);
}

std::string FakeFiles::Resolve(const std::string& path) const {
  const bool absolute = (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
  return absolute || !currentDirectory ? path : currentDirectory() + path;
}

FakeFile* FakeFiles::Find(const std::string& path) {
  auto it = files.find(Resolve(path));
  return it == files.end() ? nullptr : &it->second;
}

std::optional<std::string> FakeFiles::Bytes(const std::string& path) const {
  auto it = files.find(Resolve(path));
  if (it == files.end()) return std::nullopt;
  return it->second.bytes;
}

std::vector<std::string> FakeFiles::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : files) names.push_back(entry.first);
  return names;
}

ReadResult FakeFiles::ReadAll(const std::string& path, std::string& bytes) {
  journal_.push_back("read " + path);
  FakeFile* file = Find(path);
  if (file == nullptr) return ReadResult::NotFound;
  if (file->heldOpen || file->unreadable) return ReadResult::Failed;
  bytes = file->bytes;
  return ReadResult::Ok;
}

ReadResult FakeFiles::ReadSmall(const std::string& path, std::size_t limit, std::string& bytes) {
  const std::optional<std::string> found = Bytes(path);
  if (found && found->size() > limit) {
    journal_.push_back("refused " + path);
    return ReadResult::Failed;
  }
  return ReadAll(path, bytes);
}

bool FakeFiles::InFolderOf(const std::vector<std::string>& folders, const std::string& key) const {
  const std::string folder = FolderOf(key);
  return std::any_of(folders.begin(), folders.end(),
                     [&](const std::string& listed) { return SameName(folder, listed); });
}

std::unique_ptr<WritableFile> FakeFiles::Create(const std::string& path) {
  if (Record("create " + path)) return nullptr;
  const std::string key = Resolve(path);
  if (failingCreates > 0) {
    --failingCreates;
    return nullptr;
  }
  if (InFolderOf(unwritableFolders, key)) return nullptr;
  FakeFile* existing = Find(path);
  if (existing == nullptr && InFolderOf(sealedFolders, key)) return nullptr;
  if (existing != nullptr && (existing->readOnly || existing->heldOpen)) return nullptr;
  // Truncating gives the medium back the space the old bytes took.
  if (existing != nullptr && freeSpace) *freeSpace += existing->bytes.size();
  files[key] = FakeFile{};
  return std::make_unique<FakeWritableFile>(*this, path, key);
}

std::unique_ptr<WritableFile> FakeFiles::CreateBeside(const std::string& besidePath,
                                                      std::string& created) {
  const std::string::size_type slash = besidePath.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? "" : besidePath.substr(0, slash + 1);
  std::string name;
  for (int number = 1; name.empty() || Find(name) != nullptr; ++number) {
    name = folder + "dvn" + std::to_string(number) + ".tmp";
  }
  if (Record("create " + name)) return nullptr;
  if (failingCreates > 0) {
    --failingCreates;
    return nullptr;
  }
  const std::string key = Resolve(name);
  if (InFolderOf(unwritableFolders, key) || InFolderOf(sealedFolders, key)) return nullptr;
  files[key] = FakeFile{};
  created = name;
  return std::make_unique<FakeWritableFile>(*this, name, key);
}

bool FakeFiles::Replace(const std::string& from, const std::string& to) {
  if (Record("replace " + from + " " + to)) return false;
  FakeFile* source = Find(from);
  FakeFile* target = Find(to);
  if (replaceFails || source == nullptr) return false;
  if (InFolderOf(sealedFolders, Resolve(to))) return false;
  if (target != nullptr && (target->readOnly || target->heldOpen)) return false;
  FakeFile moved = *source;
  files.erase(Resolve(from));
  files.erase(Resolve(to));
  files[Resolve(to)] = moved;
  return true;
}

bool FakeFiles::Delete(const std::string& path) {
  journal_.push_back("delete " + path);
  FakeFile* file = Find(path);
  if (file == nullptr || file->readOnly || file->heldOpen) return false;
  if (freeSpace) *freeSpace += file->bytes.size();
  files.erase(Resolve(path));
  return true;
}

bool FakeFiles::IsReadOnly(const std::string& path) {
  FakeFile* file = Find(path);
  return file != nullptr && file->readOnly;
}

LocalTime FakeClock::At(int year, int month, int day, int hour, int minute, int second) {
  LocalTime time;
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  return time;
}

LocalTime FakeClock::Now() {
  ++readCount;
  if (!readings.empty()) {
    last_ = readings.front();
    readings.pop_front();
  }
  return last_;
}

std::map<std::uint32_t, std::string> FakeLocale::EnglishUnitedStates() {
  return {{kLocaleSShortDate, "M/d/yyyy"}, {kLocaleSDate, "/"},       {kLocaleSTime, ":"},
          {kLocaleITLZero, "0"},           {kLocaleITime, "0"},       {kLocaleITimeMarkPosn, "0"},
          {kLocaleS1159, "AM"},            {kLocaleS2359, "PM"},
          {kLocaleSIso639LangName, "en"},  {kLocaleSIso3166CtryName, "US"}};
}

std::string FakeLocale::Utf8FromAnsi(const std::string& text) {
  std::string utf8;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

FakeLocale::FakeLocale() {
  values[kEnglishUnitedStates] = EnglishUnitedStates();
  values[kLocaleUserDefault] = EnglishUnitedStates();
}

std::string FakeLocale::Info(std::uint32_t locale, std::uint32_t type) {
  auto byLocale = values.find(locale);
  if (byLocale == values.end()) return "";
  auto value = byLocale->second.find(type);
  return value == byLocale->second.end() ? "" : value->second;
}

}  // namespace platform
