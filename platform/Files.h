#pragma once
// Files, clock and locale: what the notification log needs of the system.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class ReadResult { Ok, NotFound, Failed };

// A file open for writing; closed by its destructor.
class WritableFile {
 public:
  WritableFile() = default;
  WritableFile(const WritableFile&) = delete;
  WritableFile& operator=(const WritableFile&) = delete;
  virtual ~WritableFile() = default;

  // WriteFile: the number of bytes that were written.
  virtual std::uint32_t Write(const char* data, std::uint32_t size) = 0;
  // FlushFileBuffers.
  virtual bool Flush() = 0;
};

class Files {
 public:
  virtual ~Files() = default;

  // Opens an existing file for reading only, letting others read but not
  // write it meanwhile (FILE_SHARE_READ, OPEN_EXISTING), reads every byte
  // and closes it. NotFound when no file of that name exists.
  virtual ReadResult ReadAll(const std::string& path, std::string& bytes) = 0;
  // As ReadAll, for a file that is small when it is what it should be (a
  // file a user may put there): Failed, before anything is read, for one
  // of more than `limit` bytes or for a name that Windows gives a device
  // (COM1.txt, NUL), whose reading may never end.
  virtual ReadResult ReadSmall(const std::string& path, std::size_t limit, std::string& bytes) = 0;

  // Creates the file or truncates it (CREATE_ALWAYS), for reading and
  // writing, shared with nobody. Null when it cannot be created.
  virtual std::unique_ptr<WritableFile> Create(const std::string& path) = 0;

  // A new file of a name that no file in the folder of `besidePath` has
  // (GetTempFileNameA, which never takes an existing name), open for
  // reading and writing and shared with nobody; its full name in
  // `created`. Null when the folder takes no new file.
  virtual std::unique_ptr<WritableFile> CreateBeside(const std::string& besidePath,
                                                     std::string& created) = 0;

  // MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
  virtual bool Replace(const std::string& from, const std::string& to) = 0;

  // DeleteFileA.
  virtual bool Delete(const std::string& path) = 0;

  // Whether the file exists with the read-only attribute (GetFileAttributesA).
  virtual bool IsReadOnly(const std::string& path) = 0;

  // The directory of the running program, with its trailing backslash
  // (GetModuleFileNameA).
  virtual std::string ApplicationDirectory() = 0;
};

// SYSTEMTIME's fields.
struct LocalTime {
  int year = 0, month = 0, dayOfWeek = 0, day = 0;
  int hour = 0, minute = 0, second = 0, milliseconds = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // GetLocalTime.
  virtual LocalTime Now() = 0;
};

// The locale values the log's date and time are built from.
constexpr std::uint32_t kLocaleSDate = 0x1D;
constexpr std::uint32_t kLocaleSTime = 0x1E;
constexpr std::uint32_t kLocaleSShortDate = 0x1F;
constexpr std::uint32_t kLocaleITime = 0x23;
constexpr std::uint32_t kLocaleITLZero = 0x25;
constexpr std::uint32_t kLocaleS1159 = 0x28;
constexpr std::uint32_t kLocaleS2359 = 0x29;
constexpr std::uint32_t kLocaleITimeMarkPosn = 0x1005;
// A locale's language and country as ISO 639 and ISO 3166 codes ("de",
// "DE"): Windows XP has them, and not yet the tag itself.
constexpr std::uint32_t kLocaleSIso639LangName = 0x59;
constexpr std::uint32_t kLocaleSIso3166CtryName = 0x5A;
constexpr std::uint32_t kLocaleUserDefault = 0x400;

class Locale {
 public:
  virtual ~Locale() = default;
  // GetThreadLocale.
  virtual std::uint32_t ThreadLocale() = 0;
  // GetLocaleInfoA: the value's text, empty when the locale gives none.
  virtual std::string Info(std::uint32_t locale, std::uint32_t type) = 0;
  // IsDBCSLeadByte: whether the byte starts a two-byte character in the
  // system's ANSI code page.
  virtual bool IsLeadByte(unsigned char byte) = 0;
  // GetUserDefaultUILanguage: the language Windows shows itself in to the
  // user, a language id (0x0407 for German), which is also its locale's.
  virtual std::uint32_t UserInterfaceLanguage() = 0;
  // Text in the system's ANSI code page (a label, a path) as UTF-8, for a
  // text shown in the user's language that it goes into.
  virtual std::string Utf8FromAnsi(const std::string& text) = 0;

  // The lead bytes of the system's ANSI code page, as runs from first to
  // last (GetCPInfo): none in a single-byte code page. Text that is long,
  // like the log, asks once instead of once for every byte. This default
  // asks IsLeadByte for each of the 256 values.
  struct LeadByteRange {
    unsigned char first;
    unsigned char last;
  };
  virtual std::vector<LeadByteRange> LeadByteRanges() {
    std::vector<LeadByteRange> ranges;
    for (int value = 0; value < 256; ++value) {
      const auto byte = static_cast<unsigned char>(value);
      if (!IsLeadByte(byte)) continue;
      if (!ranges.empty() && ranges.back().last + 1 == value) {
        ranges.back().last = byte;
      } else {
        ranges.push_back({byte, byte});
      }
    }
    return ranges;
  }
};

}  // namespace platform
