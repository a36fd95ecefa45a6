// The help service's system side under Wine: the file test, and HTML Help
// loaded from the system folder, never from the program's own, where a
// file of that name is a stranger's.

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "platform/win32/Win32Services.h"

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(Win32HelpSystemTest, FindsFilesButNotFolders) {
  platform::Win32HelpSystem help;
  const std::string folder = ProgramFolder();
  const std::string file = folder + "help-test-" + std::to_string(::GetCurrentProcessId()) + ".chm";
  const std::string subfolder = file + ".d";
  ASSERT_TRUE(::CreateDirectoryA(subfolder.c_str(), nullptr));
  std::FILE* written = std::fopen(file.c_str(), "wb");
  ASSERT_NE(written, nullptr);
  std::fclose(written);
  EXPECT_TRUE(help.FileExists(file));
  EXPECT_FALSE(help.FileExists(subfolder));
  EXPECT_FALSE(help.FileExists(folder + "no-such-help.chm"));
  ::DeleteFileA(file.c_str());
  ::RemoveDirectoryA(subfolder.c_str());
}

TEST(Win32HelpSystemTest, LoadsHtmlHelpFromTheSystemFolderOnly) {
  // A file named hhctrl.ocx beside the program, which Windows would load
  // first for a bare name: not a library at all, so loading it would fail.
  const std::string planted = ProgramFolder() + "hhctrl.ocx";
  std::FILE* written = std::fopen(planted.c_str(), "wb");
  ASSERT_NE(written, nullptr);
  std::fputs("not a library", written);
  std::fclose(written);
  {
    platform::Win32HelpSystem help;
    ASSERT_TRUE(help.LoadHtmlHelp());
    EXPECT_TRUE(help.LoadHtmlHelp()) << "a second request finds it loaded";
    HMODULE loaded = ::GetModuleHandleA("hhctrl.ocx");
    ASSERT_NE(loaded, nullptr);
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(loaded, path, MAX_PATH);
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(LowerCase(path), LowerCase(std::string(system) + "\\hhctrl.ocx"));
    // A request for a file that does not exist opens no window.
    EXPECT_FALSE(help.HtmlHelp(nullptr, ProgramFolder() + "no-such-help.chm",
                               platform::kHtmlHelpDisplayToc));
  }
  ::DeleteFileA(planted.c_str());
}

}  // namespace
