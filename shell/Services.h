#pragma once
// The platform services of the running program: the Win32 implementations,
// one of each, for the whole run.

#include "platform/win32/Win32Services.h"
#include "shell/NotificationLog.h"

// Stand-ins until the Win32 files, clock and locale land: logging is off.
struct TPendingFiles : platform::Files {
  platform::ReadResult ReadAll(const std::string&, std::string&) override {
    return platform::ReadResult::Failed;
  }
  std::unique_ptr<platform::WritableFile> Create(const std::string&) override { return nullptr; }
  bool Replace(const std::string&, const std::string&) override { return false; }
  bool Delete(const std::string&) override { return false; }
  bool IsReadOnly(const std::string&) override { return false; }
  std::string ApplicationDirectory() override { return ""; }
};
struct TPendingClock : platform::Clock {
  platform::LocalTime Now() override { return {}; }
};
struct TPendingLocale : platform::Locale {
  std::uint32_t ThreadLocale() override { return 0x409; }
  std::string Info(std::uint32_t, std::uint32_t) override { return ""; }
  bool IsLeadByte(unsigned char) override { return false; }
};

struct TServices {
  TPendingFiles files;
  TPendingClock clock;
  TPendingLocale locale;
  platform::Win32Drives drives;
  platform::Win32Shell shell;
  platform::Win32Sounds sounds;
  platform::Win32UserInterface ui;
  platform::Win32Session session;
  platform::Win32Help help;
  platform::Win32CommonDialogs dialogs;
};

extern TServices Services;
