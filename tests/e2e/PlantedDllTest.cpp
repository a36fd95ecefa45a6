// A copy of the program in a folder of its own, beside DLLs named as the
// system DLLs that are not among Windows' known DLLs (winmm, msimg32,
// comctl32, wtsapi32), each of which leaves a mark when it is loaded: Windows' loader
// would look for them in the program's folder first.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/Driver.h"

namespace {

const char kPlantedFolder[] = "C:\\Planted\\";

bool Marked(const std::string& dll) {
  return ::GetFileAttributesA((kPlantedFolder + dll + ".loaded").c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

// run-e2e.sh tells Wine to prefer a native DLL (one found beside the
// program) over its own for the four system DLLs that are not among
// Windows' known DLLs, as Windows' loader does. Wine takes the setting from
// the environment a process is started with, so it is set for the whole
// run: a variable that the driver changed would not reach the program.
constexpr char kPreferNative[] = "winmm,msimg32,comctl32,wtsapi32=n,b";

TEST(PlantedDllTest, DllsNamedAsSystemDllsBesideTheProgramAreNeverLoaded) {
  const char* const kPlanted[] = {"winmm.dll", "msimg32.dll", "comctl32.dll", "wtsapi32.dll"};
  for (const char* dll : kPlanted) {
    ::DeleteFileA((kPlantedFolder + std::string(dll) + ".loaded").c_str());
  }
  // The stand-ins do leave their mark when they are loaded.
  ::DeleteFileA("C:\\Planted\\mark_check.dll.loaded");
  HMODULE check = ::LoadLibraryA("C:\\Planted\\mark_check.dll");
  ASSERT_NE(check, nullptr);
  ::FreeLibrary(check);
  ASSERT_TRUE(Marked("mark_check.dll"));

  // A disk in drive A:, a sound file to play (which winmm plays) and no box.
  e2e::DeleteSettings();
  e2e::InsertMedium('a');
  e2e::SetSettingString("Drives", "A");
  e2e::SetSettingString("Sound", "SoundFile");
  e2e::SetSettingString("SoundFile", "C:\\Planted\\no such sound.wav");
  e2e::SetSettingDword("NoDialog", 1);
  e2e::SetSettingDword("Logging", 0);

  const char* overrides = std::getenv("WINEDLLOVERRIDES");
  ASSERT_NE(overrides, nullptr);
  ASSERT_NE(std::string(overrides).find(kPreferNative), std::string::npos)
      << "Wine prefers its own DLLs here: " << overrides;

  e2e::Program program;
  program.Start(std::string(kPlantedFolder) + "dorvane.exe");
  // The splash paints its transparent logo (msimg32); the settings dialog
  // is made of common controls (comctl32); the check plays the sound (winmm);
  // the main window asks for the session's changes (wtsapi32).
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(program.MainWindow()); }, 8000));
  e2e::SendTrayCommand(program.MainWindow(), "miSettings");
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return ::IsWindowVisible(program.Window("TfmSettings")) != FALSE; }, 5000));
  const e2e::SessionEndReply reply = e2e::AskEndOfSession(program, 30000);
  EXPECT_TRUE(reply.answered);
  EXPECT_TRUE(reply.boxes.empty());

  for (const char* dll : kPlanted) {
    EXPECT_NE(program.CallInside("GetModuleHandleA", dll).value_or(0), 0u)
        << dll << " is not loaded at all";
    EXPECT_FALSE(Marked(dll)) << "the " << dll << " beside the program was loaded";
  }
  program.Kill();
  for (const char* dll : kPlanted) EXPECT_FALSE(Marked(dll)) << dll;
  e2e::DeleteSettings();
}

}  // namespace
