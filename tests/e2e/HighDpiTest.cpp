// The program on a display at 150 % (144 DPI): run-e2e.sh runs these in
// its prefix with the display's DPI set to 144, and the other tests at 96.
// The windows are their layouts scaled half as large again, in real pixels.

#include <gtest/gtest.h>

#include <string>

#include "platform/Dpi.h"
#include "resources/SettingsLayout.h"
#include "resources/SplashLayout.h"
#include "tests/e2e/Driver.h"

namespace {

constexpr int kDpi = 144;

SIZE ClientSize(HWND hwnd) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  return {rect.right, rect.bottom};
}

SIZE WindowSize(HWND hwnd) {
  RECT rect;
  ::GetWindowRect(hwnd, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// A function of user32 that the headers for Windows XP do not name.
template <class Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), name)));
}

// The DPI a window is drawn at. Wine, like Windows, gives a program that
// is not aware of the DPI 96 and scales its windows' rectangles for the
// programs that are: the sizes below are real pixels only at this DPI.
int DpiOf(HWND hwnd) {
  const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  return getDpiForWindow != nullptr ? static_cast<int>(getDpiForWindow(hwnd)) : 0;
}

class HighDpiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The driver reads the program's windows in real pixels, as they are.
    const auto setAware = User32Function<BOOL(WINAPI*)()>("SetProcessDPIAware");
    ASSERT_NE(setAware, nullptr);
    setAware();
    e2e::DeleteSettings();
    program.Start();
  }
  void TearDown() override { program.Kill(); }

  e2e::Program program;
};

TEST_F(HighDpiTest, TheWindowsAreTheirLayoutsAtTheDisplaysDpi) {
  HWND splash = program.MainWindow();
  HWND logo = e2e::FindControl(splash, layout::ControlId(layout::kSplashLayout, "imLogo"));
  const SIZE splashClient = ClientSize(splash);
  const SIZE logoSize = WindowSize(logo);
  e2e::SaveScreenshot(splash, "splash-150");

  HWND dialog = program.Window("TfmSettings");
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(splash); }, 15000));
  e2e::SendTrayCommand(splash, "miSettings");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(dialog) != FALSE; }, 5000));
  HWND ok = e2e::FindControl(dialog, layout::ControlId(layout::kSettingsLayout, "buOK"));
  ASSERT_NE(ok, nullptr);
  e2e::SaveScreenshot(dialog, "settings-150");

  const SIZE dialogClient = ClientSize(dialog);
  const SIZE okSize = WindowSize(ok);
  const struct {
    const char* what;
    int seen;
    int expected;
  } cases[] = {
      {"the splash's DPI", DpiOf(splash), kDpi},
      {"the settings dialog's DPI", DpiOf(dialog), kDpi},
      {"the settings dialog's client width", dialogClient.cx, 576},
      {"the settings dialog's client height", dialogClient.cy, 455},
      {"the OK button's width", okSize.cx, 113},
      {"the OK button's height", okSize.cy, 38},
      {"the splash's client width: 1.5 times its designed width", splashClient.cx,
       platform::ScaleToDpi(layout::kSplashWindow.clientWidth, kDpi)},
      {"the splash logo's width (132 at 100 %)", logoSize.cx, 198},
      {"the splash logo's height (138 at 100 %)", logoSize.cy, 207},
  };
  for (const auto& c : cases) EXPECT_EQ(c.seen, c.expected) << c.what;
}

}  // namespace
