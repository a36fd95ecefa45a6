// The resident program as a user meets it: the splash, the icon in the
// notification area, its menu and the menu's commands; started again, it
// stays one copy, and Explorer starting again gets its icon back.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>

#include "resources/SplashLayout.h"
#include "tests/e2e/Driver.h"

#include <shellapi.h>

namespace {

// Where the first icon of the notification area sits in the 800 x 600
// virtual desktop.
constexpr POINT kIcon = {790, 590};

// Whether the shell shows the program's icon: it accepts a change to an
// icon it has, and refuses one to an icon it lacks.
bool IconShown(HWND mainWindow) {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = mainWindow;
  icon.uID = 1;
  return ::Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

// The icons that the virtual desktop's taskbar shows. Wine's taskbar draws
// them itself, no window each, from the right end in slots of 20 pixels (a
// small icon and a border of 2 around it): a slot that holds an icon has
// more than one colour.
int TaskbarIcons() {
  constexpr int kSlot = 20;
  constexpr int kSlots = 8;
  const RECT area = {800 - kSlot * kSlots, 580, 800, 600};
  const e2e::ScreenPixels pixels = e2e::CaptureScreen(area);
  if (pixels.colours.empty()) return -1;
  int count = 0;
  for (int slot = 0; slot < kSlots; ++slot) {
    const int left = pixels.width - kSlot * (slot + 1);
    const COLORREF background = pixels.At(left, 0);
    bool drawn = false;
    for (int y = 0; y < pixels.height && !drawn; ++y) {
      for (int x = left; x < left + kSlot && !drawn; ++x) drawn = pixels.At(x, y) != background;
    }
    if (drawn) ++count;
  }
  return count;
}

// Waits for the taskbar to show `count` icons, as it paints after a change.
bool TaskbarShows(int count) {
  return e2e::WaitFor([&] { return TaskbarIcons() == count; }, 5000);
}

// Every main window of a Dorvane on the desktop, of whatever process.
int MainWindowsOnTheDesktop() {
  int count = 0;
  for (HWND window = nullptr; (window = ::FindWindowExA(nullptr, window, "TfmSplash", nullptr));) {
    ++count;
  }
  return count;
}

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
    program.Start();
  }
  void TearDown() override { program.Kill(); }

  void WaitUntilIconShown() {
    ASSERT_TRUE(program.EndSplash());
    ASSERT_TRUE(e2e::WaitFor([&] { return IconShown(program.MainWindow()); }, 5000));
  }

  // Starts dorvane.exe again while the program is resident, on its desktop
  // as the Start menu does, or on another desktop of the same session (the
  // one a plain "wine dorvane.exe" uses); it shows the running copy's
  // settings and ends.
  void StartASecondCopy(bool onTheProgramsDesktop) {
    WaitUntilIconShown();
    ASSERT_TRUE(TaskbarShows(1));
    HWND settings = program.Window("TfmSettings");
    ASSERT_FALSE(::IsWindowVisible(settings));
    // A second start must not touch the store: without it, a copy that
    // loaded its settings would write them back.
    e2e::DeleteSettings();

    std::string command = "\"" + e2e::ProgramPath() + "\"";
    std::string desktop = onTheProgramsDesktop ? e2e::DesktopName() : "Default";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.lpDesktop = &desktop[0];
    PROCESS_INFORMATION second = {};
    ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 e2e::ProgramFolder().c_str(), &startup, &second));
    ::CloseHandle(second.hThread);
    int mostMainWindows = 0;
    const bool ended = e2e::WaitFor(
        [&] {
          mostMainWindows = std::max(mostMainWindows, MainWindowsOnTheDesktop());
          return ::WaitForSingleObject(second.hProcess, 0) == WAIT_OBJECT_0;
        },
        20000, 10);
    EXPECT_TRUE(ended) << "the second start did not end";
    if (!ended) ::TerminateProcess(second.hProcess, 1);
    EXPECT_EQ(mostMainWindows, 1) << "the second start made a main window (a splash)";
    DWORD exitCode = 1;
    ::GetExitCodeProcess(second.hProcess, &exitCode);
    ::CloseHandle(second.hProcess);
    EXPECT_EQ(exitCode, 0u);

    EXPECT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(settings) != FALSE; }, 5000))
        << "the running copy shows its settings dialog";
    if (onTheProgramsDesktop) {
      EXPECT_TRUE(e2e::WaitFor([&] { return ::GetForegroundWindow() == settings; }, 5000))
          << "in front, as after a double click on the icon";
    }
    EXPECT_EQ(e2e::WindowsOf(program.ProcessId(), "TfmSettings").size(), 1u);
    EXPECT_TRUE(TaskbarShows(1)) << "one icon";
    EXPECT_TRUE(e2e::HoldsFor([] { return TaskbarIcons() == 1; }, 500)) << "one icon";
    EXPECT_FALSE(e2e::SettingString("Sound").has_value()) << "the second start wrote the store";
    EXPECT_TRUE(program.Running());
  }

  // A command chosen from the tray menu reaches the main window as a
  // posted command message.
  void Choose(const char* item) { e2e::ChooseTrayCommand(program.MainWindow(), item); }

  e2e::Program program;
};

// Answers every box that comes with `button` until `done` holds; returns
// the boxes' "caption: text" in order.
std::vector<std::string> AnswerBoxes(e2e::Program& program, int button,
                                     const std::function<bool()>& done, DWORD timeoutMs = 30000) {
  std::vector<std::string> seen;
  const DWORD start = ::GetTickCount();
  while (!done() && ::GetTickCount() - start < timeoutMs) {
    if (auto box = e2e::FindMessageBox(program.ProcessId())) {
      seen.push_back(box->caption + ": " + box->text);
      e2e::PressBoxButton(box->hwnd, button);
      e2e::WaitFor([&] { return !::IsWindow(box->hwnd); }, 5000);
    }
    ::Sleep(50);
  }
  return seen;
}

const char kWarning[] =
    "Dorvane 4.0: There is still a disk with the label \"MYDISK\" in your A-drive!";

TEST_F(TrayTest, StartsWithTheSplashThenLivesInTheNotificationArea) {
  HWND main = program.MainWindow();
  ASSERT_TRUE(::IsWindowVisible(main));
  const DWORD shownAt = ::GetTickCount();
  EXPECT_EQ(::GetWindowLongA(main, GWL_STYLE) & WS_CAPTION, 0) << "no caption bar";
  EXPECT_NE(::GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  RECT client, outer;
  ::GetClientRect(main, &client);
  ::GetWindowRect(main, &outer);
  EXPECT_EQ(client.right, layout::kSplashWindow.clientWidth);
  EXPECT_EQ(outer.bottom - outer.top, layout::kSplashWindow.clientHeight)
      << "the caption's height is taken off the window";
  EXPECT_NEAR((outer.left + outer.right) / 2, 400, 1) << "centred on the screen";
  EXPECT_NEAR((outer.top + outer.bottom) / 2, 300, 1);
  HWND name = ::GetDlgItem(::GetDlgItem(main, layout::kFirstControlId), layout::kFirstControlId + 3);
  EXPECT_EQ(e2e::WindowText(name), "Dorvane");
  e2e::SaveScreenshot("splash");

  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(main); }, 8000));
  EXPECT_LT(::GetTickCount() - shownAt, 4500u) << "four seconds from the window's creation";

  ASSERT_TRUE(e2e::WaitFor([&] { return IconShown(main); }, 5000));
  e2e::RightClickAt(kIcon);
  ASSERT_TRUE(e2e::WaitFor([&] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 5000))
      << "a right click on the icon opens the menu";
  e2e::SaveScreenshot("tray-menu");
  EXPECT_EQ(e2e::OpenMenuItems(program), (std::vector<std::string>{
                                             "0|&Settings...|default|picture 16x16",
                                             "0|-||",
                                             "0|Help &Topics||picture 16x16",
                                             "0|&How to use help||picture 16x16",
                                             "0|-||",
                                             "0|&About...||picture 16x16",
                                             "0|-||",
                                             "0|Shut &Down||picture 16x16",
                                             "1|&Restart the Computer||",
                                             "1|-||",
                                             "1|&Shut Down Windows||",
                                             "0|E&xit||picture 16x16",
                                         }));
  e2e::PressKey(VK_ESCAPE);
  EXPECT_TRUE(e2e::WaitFor([&] { return ::FindWindowA("#32768", nullptr) == nullptr ||
                                        !::IsWindowVisible(::FindWindowA("#32768", nullptr)); },
                           3000));
}

TEST_F(TrayTest, ADoubleClickShowsTheOneSettingsWindowAndASingleClickNothing) {
  WaitUntilIconShown();
  HWND settings = program.Window("TfmSettings");
  e2e::ClickAt(kIcon);
  EXPECT_TRUE(e2e::HoldsFor([&] { return !::IsWindowVisible(settings); }, 800))
      << "a single click does nothing";

  e2e::DoubleClickAt(kIcon);
  ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(settings) != FALSE; }, 5000));
  e2e::SaveScreenshot("settings-from-tray");

  // Another window comes in front; a second double click brings the same
  // settings window back.
  HWND other = program.Window("TfmAbout");
  Choose("miAbout");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(other) != FALSE; }, 5000));
  e2e::DoubleClickAt(kIcon);
  EXPECT_TRUE(e2e::WaitFor([&] { return ::GetForegroundWindow() == settings; }, 5000));
  EXPECT_EQ(e2e::WindowsOf(program.ProcessId(), "TfmSettings").size(), 1u);
}

// The taskbar button activates the application window, which hands the
// activation on to the dialog the user worked in last, not to the first
// one that happens to be open.
TEST_F(TrayTest, TheTaskbarButtonGoesBackToTheDialogWorkedInLast) {
  WaitUntilIconShown();
  HWND settings = program.Window("TfmSettings");
  HWND about = program.Window("TfmAbout");
  Choose("miSettings");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::GetForegroundWindow() == settings; }, 5000));
  Choose("miAbout");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::GetForegroundWindow() == about; }, 5000));

  // Wine's X11 focus events can come late, after the hand-over, and give
  // the application window the foreground once more before it hands over
  // again: what counts is where the activation settles.
  ::SetForegroundWindow(program.ApplicationWindow());
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return e2e::HoldsFor([&] { return ::GetForegroundWindow() == about; }, 500); },
      5000));

  ::SetForegroundWindow(settings);
  ASSERT_TRUE(e2e::WaitFor([&] { return ::GetForegroundWindow() == settings; }, 5000));
  ::SetForegroundWindow(program.ApplicationWindow());
  EXPECT_TRUE(e2e::WaitFor([&] { return ::GetForegroundWindow() == settings; }, 5000));
}

TEST_F(TrayTest, ExitFromTheMenuEndsTheProgramWithoutCheckingTheDisk) {
  WaitUntilIconShown();
  e2e::RightClickAt(kIcon);
  ASSERT_TRUE(e2e::WaitFor([&] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 5000));
  e2e::PressKey('X');
  EXPECT_TRUE(program.WaitForExit(5000));
  EXPECT_FALSE(e2e::FindMessageBox(program.ProcessId()).has_value());
}

TEST_F(TrayTest, CloseFromTheTaskbarButtonChecksAndThenEndsTheProgram) {
  WaitUntilIconShown();
  Choose("miSettings");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(program.Window("TfmSettings")) != FALSE; },
                           5000));
  // The button follows the dialog a moment later: the program shows it
  // once the dialog is visible.
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return ::IsWindowVisible(program.ApplicationWindow()) != FALSE; }, 2000))
      << "the taskbar button is there";
  ::PostMessageA(program.ApplicationWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
  std::vector<std::string> boxes = AnswerBoxes(program, IDOK, [&] { return !program.Running(); });
  EXPECT_EQ(boxes, (std::vector<std::string>{kWarning}));
  EXPECT_FALSE(program.Running());
}

TEST_F(TrayTest, RestartAnsweredNoNeitherChecksNorRestarts) {
  WaitUntilIconShown();
  Choose("miRestartComputer");
  auto question = e2e::WaitForMessageBox(program.ProcessId(), 5000);
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->caption, "Restart");
  EXPECT_EQ(question->text, "Are you sure you want to restart your computer?");
  EXPECT_EQ(question->buttons, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(question->owner, program.ApplicationWindow());
  e2e::PressBoxButton(question->hwnd, IDNO);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(question->hwnd); }, 5000));
  EXPECT_TRUE(e2e::HoldsOnceHandled(program.MainWindow(), [&] {
    return !e2e::FindMessageBox(program.ProcessId()) && program.Running();
  }));
}

TEST_F(TrayTest, RestartAnsweredYesWarnsFirstThenEndsTheSession) {
  WaitUntilIconShown();
  Choose("miRestartComputer");
  auto question = e2e::WaitForMessageBox(program.ProcessId(), 5000);
  ASSERT_TRUE(question.has_value());
  e2e::PressBoxButton(question->hwnd, IDYES);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(question->hwnd); }, 5000));
  // The check's warning comes before the request; the request ends the
  // session, whose query checks a second time, and then the program ends.
  std::vector<std::string> boxes = AnswerBoxes(program, IDOK, [&] { return !program.Running(); });
  EXPECT_EQ(boxes, (std::vector<std::string>{kWarning, kWarning}));
  EXPECT_FALSE(program.Running());
}

// While one of the program's boxes is open, its settings and About dialogs
// take no clicks; when the box closes they are live again, and the window
// that was active is active again.
TEST_F(TrayTest, TheQuestionAndTheWarningDisableTheOpenDialogsWhileTheyAreShown) {
  WaitUntilIconShown();
  Choose("miSettings");
  Choose("miAbout");
  HWND settings = program.Window("TfmSettings");
  HWND about = program.Window("TfmAbout");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(settings) && ::IsWindowVisible(about); },
                           5000));
  const auto bothEnabled = [&] { return ::IsWindowEnabled(settings) && ::IsWindowEnabled(about); };
  const auto neitherEnabled = [&] {
    return !::IsWindowEnabled(settings) && !::IsWindowEnabled(about);
  };
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::ActiveWindowOf(about) == about; }, 5000));

  Choose("miRestartComputer");
  auto question = e2e::WaitForMessageBox(program.ProcessId(), 5000);
  ASSERT_TRUE(question.has_value());
  EXPECT_TRUE(neitherEnabled()) << "the restart question left a dialog live";
  e2e::PressBoxButton(question->hwnd, IDNO);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(question->hwnd); }, 5000));
  EXPECT_TRUE(e2e::WaitFor(bothEnabled, 3000));
  EXPECT_TRUE(e2e::WaitFor([&] { return e2e::ActiveWindowOf(about) == about; }, 3000))
      << "the window that was active is active again";

  e2e::EndSessionQuery query(program.MainWindow());
  auto warning = e2e::WaitForMessageBox(program.ProcessId(), 10000);
  ASSERT_TRUE(warning.has_value());
  EXPECT_TRUE(neitherEnabled()) << "the warning left a dialog live";
  e2e::PressBoxButton(warning->hwnd, IDOK);
  ASSERT_TRUE(query.Answered(10000));
  EXPECT_EQ(query.Answer(), 1);
  EXPECT_TRUE(e2e::WaitFor(bothEnabled, 3000));
}

TEST_F(TrayTest, AnEndOfTheSessionDuringTheSplashChecksAndLeavesTheSplash) {
  ASSERT_TRUE(::IsWindowVisible(program.MainWindow()));
  e2e::EndSessionQuery query(program.MainWindow());
  std::vector<std::string> boxes = AnswerBoxes(program, IDOK, [&] { return query.Answered(0); });
  EXPECT_EQ(boxes, (std::vector<std::string>{kWarning}));
  EXPECT_EQ(query.Answer(), 1);
  EXPECT_TRUE(program.Running());
}

TEST_F(TrayTest, ACheckThatCannotLogRefusesTheEndOfTheSession) {
  program.Kill();
  e2e::SetSettingDword("Logging", 1);
  e2e::SetSettingDword("NoDialog", 0);
  e2e::SetSettingString("LogFile", "C:\\no such folder\\dvn.dvl");
  e2e::SetSettingString("Drives", "A");
  program.Start();
  WaitUntilIconShown();

  e2e::EndSessionQuery query(program.MainWindow());
  auto box = e2e::WaitForMessageBox(program.ProcessId(), 10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "Dorvane");
  EXPECT_EQ(box->text, "Cannot create file C:\\no such folder\\dvn.dvl.");
  e2e::PressBoxButton(box->hwnd, IDOK);
  ASSERT_TRUE(query.Answered(10000));
  EXPECT_EQ(query.Answer(), 0) << "the session must not end";
  EXPECT_TRUE(e2e::HoldsOnceHandled(program.MainWindow(),
                                    [&] { return !e2e::FindMessageBox(program.ProcessId()); }))
      << "no warning after the failed log";

  // The program runs on with its icon.
  e2e::RightClickAt(kIcon);
  EXPECT_TRUE(e2e::WaitFor([&] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 5000));
  e2e::PressKey(VK_ESCAPE);
}

TEST_F(TrayTest, ASecondStartShowsTheRunningCopysSettingsAndEnds) {
  StartASecondCopy(true);
}

TEST_F(TrayTest, ASecondStartOnAnotherDesktopOfTheSessionFindsTheRunningCopy) {
  StartASecondCopy(false);
}

TEST_F(TrayTest, TaskbarCreatedAddsTheIconAgain) {
  WaitUntilIconShown();
  // Explorer starting again has lost every icon; the shell knows an icon by
  // its window and number alone, so the test takes it out as that would.
  NOTIFYICONDATAA icon = {};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = program.MainWindow();
  icon.uID = 1;
  ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &icon));
  ASSERT_FALSE(IconShown(program.MainWindow()));
  ASSERT_TRUE(TaskbarShows(0));

  ::PostMessageA(program.MainWindow(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(e2e::WaitFor([&] { return IconShown(program.MainWindow()); }, 5000));
  EXPECT_TRUE(TaskbarShows(1));

  // The same record: its menu opens from it.
  e2e::RightClickAt(kIcon);
  EXPECT_TRUE(e2e::WaitFor([&] { return ::FindWindowA("#32768", nullptr) != nullptr; }, 5000))
      << "a right click on the icon opens the menu";
  e2e::PressKey(VK_ESCAPE);
}

TEST_F(TrayTest, TaskbarCreatedDuringTheSplashLeavesTheIconToTheSplashsEnd) {
  ASSERT_TRUE(::IsWindowVisible(program.MainWindow()));
  ::PostMessageA(program.MainWindow(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  // Posted messages are handled in order: once the About dialog shows, the
  // broadcast has been handled.
  Choose("miAbout");
  ASSERT_TRUE(e2e::WaitFor(
      [&] { return ::IsWindowVisible(program.Window("TfmAbout")) != FALSE; }, 5000));
  if (::IsWindowVisible(program.MainWindow())) {
    EXPECT_FALSE(IconShown(program.MainWindow())) << "an icon during the splash";
  }
  WaitUntilIconShown();
  EXPECT_TRUE(TaskbarShows(1));
}

}  // namespace
