#pragma once
// In-memory files, clock and locale for the host tests of the log. The
// files behave as Windows treats them in the cases the log meets: names
// compare without regard to the case of ASCII letters, a read-only file
// can be neither created over, replaced nor deleted, and a file another
// program holds open can be neither read nor written.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/fake/Fakes.h"

namespace platform {

struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct FakeFile {
  std::string bytes;
  bool readOnly = false;
  bool heldOpen = false;    // by another program, for writing
  bool unreadable = false;  // reading is refused, writing is not
};

// Records "read P", "create P", "write P", "flush P", "close P",
// "replace FROM TO" and "delete P", with the names as the caller gave them.
class FakeFiles : public Files {
 public:
  explicit FakeFiles(Journal& journal) : journal_(journal) {}

  std::map<std::string, FakeFile, CaseInsensitiveLess> files;  // by full name
  // Folders in which no file can be created (missing, write-protected),
  // written without a trailing backslash.
  std::vector<std::string> unwritableFolders;
  // Folders that take no new file and no rename while the files in them
  // stay writable (an administrator's rights, or chattr +i).
  std::vector<std::string> sealedFolders;
  int failingCreates = 0;                // the next this many creations fail
  // Bytes the medium still takes; truncating or deleting a file gives its
  // bytes back.
  std::optional<std::size_t> freeSpace;
  bool flushFails = false;
  bool replaceFails = false;
  // Refuses the one operation whose journal entry it is given ("create P",
  // "write P", "flush P", "replace FROM TO"): the file is not created, the
  // write takes no byte, the flush or the replacement fails. It lets a test
  // make each write point fail in turn.
  std::function<bool(const std::string& operation)> refuses;
  // When set, relative names are taken from this directory (with its
  // trailing backslash), as Windows takes them from the current directory.
  std::function<std::string()> currentDirectory;
  std::string applicationDirectory = "C:\\DVN\\";

  // The bytes of a file, or nothing when there is no such file.
  std::optional<std::string> Bytes(const std::string& path) const;
  std::vector<std::string> Names() const;

  ReadResult ReadAll(const std::string& path, std::string& bytes) override;
  ReadResult ReadSmall(const std::string& path, std::size_t limit, std::string& bytes) override;
  std::unique_ptr<WritableFile> Create(const std::string& path) override;
  std::unique_ptr<WritableFile> CreateBeside(const std::string& besidePath,
                                             std::string& created) override;
  bool Replace(const std::string& from, const std::string& to) override;
  bool Delete(const std::string& path) override;
  bool IsReadOnly(const std::string& path) override;
  std::string ApplicationDirectory() override { return applicationDirectory; }

 private:
  friend class FakeWritableFile;
  std::string Resolve(const std::string& path) const;
  FakeFile* Find(const std::string& path);
  bool InFolderOf(const std::vector<std::string>& folders, const std::string& key) const;
  // Journals the operation; true when `refuses` turns it down.
  bool Record(const std::string& operation);
  Journal& journal_;
};

// Gives the times of `readings` in turn; after the last it stands still.
class FakeClock : public Clock {
 public:
  static LocalTime At(int year, int month, int day, int hour, int minute, int second);

  std::deque<LocalTime> readings;
  int readCount = 0;
  LocalTime Now() override;

 private:
  LocalTime last_;
};

constexpr std::uint32_t kEnglishUnitedStates = 0x409;

// Locale values by locale id. Both the thread's locale and the user's
// default start as a fresh English (United States) system gives them.
class FakeLocale : public Locale {
 public:
  FakeLocale();
  static std::map<std::uint32_t, std::string> EnglishUnitedStates();

  std::uint32_t threadLocale = kEnglishUnitedStates;
  std::map<std::uint32_t, std::map<std::uint32_t, std::string>> values;
  std::set<unsigned char> leadBytes;  // of the ANSI code page; none in 1252

  std::uint32_t ThreadLocale() override { return threadLocale; }
  std::string Info(std::uint32_t locale, std::uint32_t type) override;
  bool IsLeadByte(unsigned char byte) override { return leadBytes.count(byte) != 0; }

  std::uint32_t userInterfaceLanguage = kEnglishUnitedStates;
  std::uint32_t UserInterfaceLanguage() override { return userInterfaceLanguage; }
  // As code page 1252 would, for its letters: each byte is the character
  // of that number (Latin-1).
  std::string Utf8FromAnsi(const std::string& text) override;
};

}  // namespace platform
