// What a long-running program must not do: grow. 500 openings and closings
// of each dialog, 500 tray menus and 500 end-of-session queries, with the
// program's GDI and USER objects and its private memory counted before and
// after; each loop adds its figures to the failure figures.
//
// The commands are sent, so each returns once the program has carried it
// out, and the windows are painted at once: no step waits on a clock.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "shell/SplashUn.h"
#include "tests/e2e/Driver.h"
#include "tests/figures/Figures.h"

namespace {

constexpr int kIterations = 500;
// Runs before the first count: the first opening of a dialog, of a menu or
// of a box makes what stays for the rest of the run by design (Wine's
// caches of fonts, bitmaps and window classes, the heap's first blocks).
constexpr int kWarmUp = 10;
// How much a count may grow over the 500 runs and still be flat: an object
// left behind by one run in a hundred already makes 5, one left by every
// run 500. A few come once, at a moment of Wine's choosing (seen: after
// the About dialogs, in some runs, 3 GDI objects and one USER object more;
// none after the other loops).
constexpr long kObjectTolerance = 5;
// Private memory moves in whole pages as the heap grows and shrinks, and
// Wine's own caches take some in the first hundreds of runs: 256 kB, half a
// kilobyte a run; a leak of a block per run of that size or more shows.
constexpr long kMemoryToleranceKb = 256;

class ResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
    program.Start();
    // Resident: the splash's timer has fired and the icon is in place.
    ASSERT_TRUE(program.EndSplash());
  }
  void TearDown() override { program.Kill(); }

  // Runs `step` kWarmUp times, counts, runs it 500 times, counts again,
  // adds the row and expects flat counts. `step` answers whether the
  // program did what the step asked.
  void ExpectFlat(const std::string& what, const std::function<bool()>& step) {
    for (int i = 0; i < kWarmUp; ++i) ASSERT_TRUE(step()) << what << ", warm-up run " << i;
    const e2e::ResourceFigures first = e2e::CountResources(program);
    const DWORD start = ::GetTickCount();
    int failed = 0;
    for (int i = 0; i < kIterations; ++i) failed += step() ? 0 : 1;
    const DWORD elapsed = ::GetTickCount() - start;
    const e2e::ResourceFigures last = e2e::CountResources(program);

    auto pair = [](long a, long b) { return std::to_string(a) + " -> " + std::to_string(b); };
    figures::AddRow("resources",
                    {std::to_string(kIterations) + " " + what, pair(first.gdi, last.gdi),
                     pair(first.user, last.user), pair(first.privateKb, last.privateKb),
                     std::to_string(elapsed / kIterations) + " ms a run"});
    EXPECT_EQ(failed, 0) << what;
    ASSERT_GE(first.gdi, 0) << "the probe gave no counts";
    ASSERT_GE(first.privateKb, 0) << "the probe read no memory figure";
    EXPECT_GT(first.gdi, 0) << "the program holds fonts and pictures: the count sees none";
    EXPECT_GT(first.windows, 0) << "the program has windows: the count sees none";
    EXPECT_LE(last.gdi - first.gdi, kObjectTolerance) << what << ": GDI objects";
    EXPECT_LE(last.user - first.user, kObjectTolerance) << what << ": USER objects (windows "
                                                        << first.windows << " -> " << last.windows
                                                        << ", menus " << first.menus << " -> "
                                                        << last.menus << ", icons "
                                                        << first.icons << " -> " << last.icons
                                                        << ")";
    EXPECT_LE(last.privateKb - first.privateKb, kMemoryToleranceKb) << what << ": private memory";
  }

  // Opens the dialog from the tray menu's command, paints it and closes it
  // as its close box does.
  bool OpenPaintAndClose(const char* command, const char* windowClass) {
    HWND dialog = program.Window(windowClass);
    e2e::SendTrayCommand(program.MainWindow(), command);
    const bool shown = ::IsWindowVisible(dialog) != FALSE;
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(dialog, WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, &result);
    return shown && !::IsWindowVisible(dialog);
  }

  HWND OpenMenuWindow() {
    for (HWND menu : e2e::WindowsOf(program.ProcessId(), "#32768")) {
      if (::IsWindowVisible(menu)) return menu;
    }
    return nullptr;
  }

  e2e::Program program;
};

// The counting itself, in the driver's own process: what a process makes
// shows in the figures.
TEST(ResourceCountTest, SeesTheObjectsAndTheMemoryAProcessAdds) {
  // The thread's first window brings one of Wine's own, and the probe's
  // first load makes what stays.
  HWND first = ::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
  e2e::CountOwnResources();
  const e2e::ResourceFigures before = e2e::CountOwnResources();
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 20; ++i) brushes.push_back(::CreateSolidBrush(RGB(i, 0, 0)));
  std::vector<HWND> windows;
  for (int i = 0; i < 3; ++i) {
    windows.push_back(::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        nullptr, nullptr));
  }
  HMENU menus[] = {::CreatePopupMenu(), ::CreatePopupMenu()};
  const std::size_t size = 4 << 20;
  char* block = static_cast<char*>(::VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  for (std::size_t at = 0; at < size; at += 4096) block[at] = 1;
  const e2e::ResourceFigures after = e2e::CountOwnResources();

  for (HBRUSH brush : brushes) ::DeleteObject(brush);
  for (HWND window : windows) ::DestroyWindow(window);
  ::DestroyWindow(first);
  for (HMENU menu : menus) ::DestroyMenu(menu);
  ::VirtualFree(block, 0, MEM_RELEASE);

  EXPECT_GE(after.gdi - before.gdi, 20);
  EXPECT_LE(after.gdi - before.gdi, 20 + kObjectTolerance);
  EXPECT_EQ(after.windows - before.windows, 3)
      << before.windows << " windows before, " << after.windows << " after";
  EXPECT_EQ(after.menus - before.menus, 2)
      << before.menus << " menus before, " << after.menus << " after";
  EXPECT_GE(after.privateKb - before.privateKb, 4096)
      << before.privateKb << " kB before, " << after.privateKb << " kB after";
}

TEST_F(ResourceTest, OpeningAndClosingTheSettingsDialogLeavesNothingBehind) {
  ExpectFlat("settings dialogs", [&] { return OpenPaintAndClose("miSettings", "TfmSettings"); });
}

TEST_F(ResourceTest, OpeningAndClosingTheAboutDialogLeavesNothingBehind) {
  ExpectFlat("About dialogs", [&] { return OpenPaintAndClose("miAbout", "TfmAbout"); });
}

// The menu opens as a right click on the icon opens it, is painted with
// its pictures, and is cancelled as a click elsewhere cancels it.
TEST_F(ResourceTest, TrayMenusLeaveNothingBehind) {
  ExpectFlat("tray menus", [&] {
    ::PostMessageA(program.MainWindow(), WM_TRAYNOTIFY, 1, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    if (!e2e::WaitFor([&] { return (menu = OpenMenuWindow()) != nullptr; }, 5000, 1)) {
      return false;
    }
    ::RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(program.MainWindow(), WM_CANCELMODE, 0, 0, SMTO_NORMAL, 10000, &result);
    return e2e::WaitFor([&] { return OpenMenuWindow() == nullptr; }, 5000, 1);
  });
}

// Each query finds the disk in A: and shows the warning, which is
// acknowledged.
TEST_F(ResourceTest, EndOfSessionQueriesLeaveNothingBehind) {
  ExpectFlat("end-of-session queries", [&] {
    const e2e::SessionEndReply reply = e2e::AskEndOfSession(program, 10000);
    return reply.answered && reply.answer == 1 && reply.boxes.size() == 1;
  });
}

}  // namespace
