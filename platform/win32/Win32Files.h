#pragma once
// The Win32 implementations of files, clock and locale.

#include "platform/Files.h"

namespace platform {

class Win32Files : public Files {
 public:
  ReadResult ReadAll(const std::string& path, std::string& bytes) override;
  ReadResult ReadSmall(const std::string& path, std::size_t limit, std::string& bytes) override;
  std::unique_ptr<WritableFile> Create(const std::string& path) override;
  std::unique_ptr<WritableFile> CreateBeside(const std::string& besidePath,
                                             std::string& created) override;
  bool Replace(const std::string& from, const std::string& to) override;
  bool Delete(const std::string& path) override;
  bool IsReadOnly(const std::string& path) override;
  std::string ApplicationDirectory() override;
};

class Win32Clock : public Clock {
 public:
  LocalTime Now() override;
};

class Win32Locale : public Locale {
 public:
  std::uint32_t ThreadLocale() override;
  std::string Info(std::uint32_t locale, std::uint32_t type) override;
  bool IsLeadByte(unsigned char byte) override;
  std::vector<LeadByteRange> LeadByteRanges() override;
  std::uint32_t UserInterfaceLanguage() override;
  std::string Utf8FromAnsi(const std::string& text) override;
};

}  // namespace platform
