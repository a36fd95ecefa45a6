// Files, clock and locale through kernel32, the file handles held by an
// owner that closes them.
#include <windows.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "platform/win32/Win32Files.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

// Room left after a file's text when it is read whole.
constexpr std::size_t kReadHeadroom = 4096;
// One ReadFile call reads at most this much.
constexpr std::size_t kLargestRead = 64u * 1024 * 1024;

class Win32WritableFile : public WritableFile {
 public:
  explicit Win32WritableFile(ScopedHandle handle) : handle_(std::move(handle)) {}

  std::uint32_t Write(const char* data, std::uint32_t size) override {
    DWORD written = 0;
    // On a full medium WriteFile fails or writes less; either way the
    // count tells the caller what reached the file.
    ::WriteFile(handle_.Get(), data, size, &written, nullptr);
    return written;
  }

  bool Flush() override { return ::FlushFileBuffers(handle_.Get()) != FALSE; }

 private:
  ScopedHandle handle_;
};

}  // namespace

namespace {

// Reads the file at `path` whole, when it holds at most `limit` bytes and,
// with `diskOnly`, is a file on a disk rather than a device.
ReadResult ReadWhole(const std::string& path, unsigned long long limit, bool diskOnly,
                     std::string& bytes) {
  // Others may read the file meanwhile but not write it, so the text read
  // is one consistent whole.
  ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::NotFound
                                                                          : ReadResult::Failed;
  }
  // Before Windows 11 a name such as COM1.txt or NUL opens a device in any
  // folder ("Naming Files, Paths, and Namespaces", learn.microsoft.com),
  // and reading a serial port waits for what it sends.
  if (diskOnly && ::GetFileType(file.Get()) != FILE_TYPE_DISK) return ReadResult::Failed;
  // A file too large to be held in memory cannot be read; the caller then
  // leaves it alone rather than write a shorter text over it. The text is
  // read straight into a buffer of the file's size: no chunk is copied and
  // no buffer outgrown, so a large log is held once. A little room is left
  // at its end, so that a caller that adds a line to what it read (as the
  // log does) needs no second buffer either.
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.Get(), &size)) return ReadResult::Failed;
  if (static_cast<unsigned long long>(size.QuadPart) > limit) return ReadResult::Failed;
  try {
    std::string text;
    if (static_cast<unsigned long long>(size.QuadPart) > text.max_size() - kReadHeadroom) {
      return ReadResult::Failed;
    }
    text.reserve(static_cast<std::size_t>(size.QuadPart) + kReadHeadroom);
    text.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t filled = 0;
    // Nobody can write the file while it is open so, but a file that still
    // grew (a device, a network server that ignores the sharing) is read to
    // its end all the same, up to the limit.
    for (;;) {
      if (filled == text.size()) text.resize(text.size() + kReadHeadroom);
      const std::size_t room = std::min<std::size_t>(text.size() - filled, kLargestRead);
      DWORD count = 0;
      if (!::ReadFile(file.Get(), &text[filled], static_cast<DWORD>(room), &count, nullptr)) {
        return ReadResult::Failed;
      }
      if (count == 0) break;
      filled += count;
      if (filled > limit) return ReadResult::Failed;
    }
    text.resize(filled);
    bytes = std::move(text);
  } catch (const std::exception&) {  // no memory, or longer than a string holds
    return ReadResult::Failed;
  }
  return ReadResult::Ok;
}

}  // namespace

ReadResult Win32Files::ReadAll(const std::string& path, std::string& bytes) {
  return ReadWhole(path, ~0ull, false, bytes);
}

ReadResult Win32Files::ReadSmall(const std::string& path, std::size_t limit, std::string& bytes) {
  return ReadWhole(path, limit, true, bytes);
}

std::unique_ptr<WritableFile> Win32Files::Create(const std::string& path) {
  ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return nullptr;
  return std::make_unique<Win32WritableFile>(std::move(file));
}

std::unique_ptr<WritableFile> Win32Files::CreateBeside(const std::string& besidePath,
                                                       std::string& created) {
  const std::string::size_type end = besidePath.find_last_of("\\/:");
  const std::string folder = end == std::string::npos ? "." : besidePath.substr(0, end + 1);
  // GetTempFileNameA makes the file itself, under a number that no file of
  // the folder has, so a file of the user's is never opened or replaced.
  char name[MAX_PATH] = {};
  if (::GetTempFileNameA(folder.c_str(), "dvn", 0, name) == 0) return nullptr;
  ScopedHandle file(::CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    ::DeleteFileA(name);
    return nullptr;
  }
  created = name;
  return std::make_unique<Win32WritableFile>(std::move(file));
}

bool Win32Files::Replace(const std::string& from, const std::string& to) {
  // Write-through: the call returns only when the rename is on the disk,
  // so a power cut right after it cannot bring the old log back.
  return ::MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32Files::Delete(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool Win32Files::IsReadOnly(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::string Win32Files::ApplicationDirectory() {
  // The name is cut short without an error when the buffer is too small,
  // so the buffer grows until the whole name fits.
  std::vector<char> name(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::string();
    if (length < name.size()) {
      std::string path(name.data(), length);
      return path.substr(0, path.find_last_of('\\') + 1);
    }
    if (name.size() >= 32768) return std::string();
    name.resize(name.size() * 2);
  }
}

LocalTime Win32Clock::Now() {
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  LocalTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.dayOfWeek = now.wDayOfWeek;
  time.day = now.wDay;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  time.milliseconds = now.wMilliseconds;
  return time;
}

std::uint32_t Win32Locale::ThreadLocale() { return ::GetThreadLocale(); }

std::string Win32Locale::Info(std::uint32_t locale, std::uint32_t type) {
  // The first call tells the size, the terminating zero included; 0 means
  // the locale gives no such value.
  const int size = ::GetLocaleInfoA(locale, type, nullptr, 0);
  if (size <= 0) return std::string();
  std::vector<char> value(static_cast<std::size_t>(size));
  const int length = ::GetLocaleInfoA(locale, type, value.data(), size);
  if (length <= 0) return std::string();
  return std::string(value.data(), static_cast<std::size_t>(length - 1));
}

bool Win32Locale::IsLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

std::vector<Locale::LeadByteRange> Win32Locale::LeadByteRanges() {
  std::vector<LeadByteRange> ranges;
  CPINFO info = {};
  if (!::GetCPInfo(CP_ACP, &info)) return Locale::LeadByteRanges();
  // Pairs of first and last byte, ended by a pair of zeros.
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    ranges.push_back({info.LeadByte[i], info.LeadByte[i + 1]});
  }
  return ranges;
}

std::uint32_t Win32Locale::UserInterfaceLanguage() { return ::GetUserDefaultUILanguage(); }

std::string Win32Locale::Utf8FromAnsi(const std::string& text) {
  return platform::Utf8FromAnsi(text);
}

}  // namespace platform
