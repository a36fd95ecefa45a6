// The help as the user opens it: the tray menu's Help Topics and the
// settings dialog's Help open Wine's viewer with dvn40.hlp from the
// program's folder, whatever the current directory is.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resources/SettingsLayout.h"
#include "tests/e2e/Driver.h"

namespace {

constexpr int kViewerText = 0x701;  // the viewer's page of text

// The viewer's visible main window, of any process.
HWND HelpViewer() {
  HWND hwnd = nullptr;
  while ((hwnd = ::FindWindowExA(nullptr, hwnd, "MS_WINHELP", nullptr)) != nullptr) {
    if (::IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

bool ErrorWindowShown() {
  HWND hwnd = ::FindWindowA(nullptr, "ERROR");
  return hwnd != nullptr && ::IsWindowVisible(hwnd);
}

std::string ViewerText(HWND viewer) {
  HWND page = e2e::FindControl(viewer, kViewerText);
  if (page == nullptr) return "";
  static char text[65536];
  text[0] = '\0';
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutA(page, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 5000, &copied);
  return text;
}

void CloseHelpViewers() {
  while (HWND viewer = ::FindWindowExA(nullptr, nullptr, "MS_WINHELP", nullptr)) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(viewer, &processId);
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) break;
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
  }
}

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
    CloseHelpViewers();
    program.Start();
    ASSERT_TRUE(program.EndSplash());
    // An end of the session that goes on leaves the program's current
    // directory at the root of A:, away from its own folder.
    e2e::EndSessionQuery query(program.MainWindow());
    auto warning = e2e::WaitForMessageBox(program.ProcessId(), 10000);
    ASSERT_TRUE(warning.has_value());
    e2e::PressBoxButton(warning->hwnd, IDOK);
    ASSERT_TRUE(query.Answered(10000));
  }
  void TearDown() override {
    CloseHelpViewers();
    program.Kill();
  }

  // The viewer's window once its page holds `title`, or null.
  HWND WaitForTopic(const std::string& title) {
    HWND viewer = nullptr;
    e2e::WaitFor(
        [&] {
          viewer = HelpViewer();
          return viewer != nullptr && ViewerText(viewer).find(title) != std::string::npos;
        },
        15000);
    return viewer;
  }

  e2e::Program program;
};

TEST_F(HelpTest, HelpTopicsOpensTheContentsOfTheProgramsHelp) {
  e2e::ChooseTrayCommand(program.MainWindow(), "miHelpTopics");
  HWND viewer = WaitForTopic("Dorvane 4.0 Help");
  ASSERT_NE(viewer, nullptr) << "no help window with the contents";
  EXPECT_EQ(e2e::WindowText(viewer), "Dorvane 4.0 Help");
  EXPECT_NE(ViewerText(viewer).find("The settings dialog"), std::string::npos)
      << "the contents name the settings topic";
  EXPECT_FALSE(ErrorWindowShown());
  e2e::SaveScreenshot(viewer, "help");
}

TEST_F(HelpTest, TheSettingsDialogsHelpOpensTheSettingsTopic) {
  HWND dialog = e2e::ShowSettingsDialog(program);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(e2e::ClickButton(dialog, layout::ControlId(layout::kSettingsLayout, "buHelp")));
  HWND viewer = WaitForTopic("The settings dialog");
  ASSERT_NE(viewer, nullptr) << "context 35 did not show the settings topic";
  EXPECT_EQ(e2e::WindowText(viewer), "Dorvane 4.0 Help");
  const std::string text = ViewerText(viewer);
  for (const char* tab : {"Drives", "Sound", "Logging", "Other"}) {
    EXPECT_NE(text.find(tab), std::string::npos) << "the settings topic has a section on " << tab;
  }
  EXPECT_FALSE(ErrorWindowShown());
}

}  // namespace
