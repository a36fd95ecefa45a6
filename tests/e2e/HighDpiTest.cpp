// The program on a display at 150 % (144 DPI): run-e2e.sh runs these in
// its prefix with the display's DPI set to 144, and the other tests at 96.
// The windows are their layouts scaled half as large again, in real pixels.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Dpi.h"
#include "platform/PackedPicture.h"
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

// The splash's logo as the program draws it at 150 %: the picture kept at
// 200 % in dorvane.exe, drawn down to `width` x `height`, top row first.
e2e::ScreenPixels LogoDrawnDown(int width, int height) {
  const e2e::StoredPicture art = e2e::ProgramPicture("LOGO_200");
  std::vector<unsigned char> rows(platform::RowBytes(width) * height);
  if (art.rows.empty() ||
      !platform::ShrinkPixels(art.rows.data(), art.rows.size(), art.width, art.height, rows.data(),
                              rows.size(), width, height, true)) {
    return e2e::ScreenPixels();
  }
  return e2e::PixelsOfRows(rows.data(), width, height);
}

// The logo's pixels that the screen shows otherwise; those of the logo's
// background (its bottom-left colour) show the window instead.
int DifferentPixels(const e2e::ScreenPixels& logo, const e2e::ScreenPixels& shown) {
  if (logo.width != shown.width || logo.height != shown.height) return -1;
  const COLORREF background = logo.At(0, logo.height - 1);
  int different = 0;
  for (std::size_t i = 0; i < logo.colours.size(); ++i) {
    if (logo.colours[i] != background && logo.colours[i] != shown.colours[i]) ++different;
  }
  return different;
}

class HighDpiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The driver reads the program's windows in real pixels, as they are.
    // (A call of Vista and later, which the headers for XP do not name.)
    const auto setAware = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("user32.dll"), "SetProcessDPIAware")));
    ASSERT_NE(setAware, nullptr);
    setAware();
    e2e::DeleteSettings();
    program.Start();
  }
  void TearDown() override { program.Kill(); }

  e2e::Program program;
};

TEST_F(HighDpiTest, TheWindowsAreTheirLayoutsAtTheDisplaysDpiAndFollowAChange) {
  HWND splash = program.MainWindow();
  HWND logo = e2e::FindControl(splash, layout::ControlId(layout::kSplashLayout, "imLogo"));
  const SIZE splashClient = ClientSize(splash);
  const SIZE logoSize = WindowSize(logo);
  // Drawn from the art at twice the size, not the plain logo stretched.
  const e2e::ScreenPixels drawn = LogoDrawnDown(logoSize.cx, logoSize.cy);
  ASSERT_GT(drawn.width, 0);
  // The fewest pixels unlike the art's while the splash is shown: the
  // screen after it has gone shows the desktop, which says nothing of the
  // logo. A failure keeps the screen as it was at its closest.
  int different = -1;
  e2e::ScreenPixels closest;
  e2e::WaitFor(
      [&] {
        if (::IsWindowVisible(splash) == FALSE) return true;
        const e2e::ScreenPixels splashShown = e2e::CaptureScreen(e2e::ScreenRect(splash));
        const int now = DifferentPixels(drawn, e2e::CaptureScreen(e2e::ScreenRect(logo)));
        if (now >= 0 && (different < 0 || now < different)) {
          different = now;
          closest = splashShown;
        }
        return different == 0;
      },
      3000, 200);
  if (different != 0 && e2e::SavePng(closest, "splash-150-closest")) {
    std::printf("The splash at its closest to the art: build/screenshots/splash-150-closest.png\n");
  }
  e2e::SaveScreenshot(splash, "splash-150");

  HWND dialog = program.Window("TfmSettings");
  ASSERT_TRUE(program.EndSplash());
  e2e::SendTrayCommand(splash, "miSettings");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(dialog) != FALSE; }, 5000));
  HWND ok = e2e::FindControl(dialog, layout::ControlId(layout::kSettingsLayout, "buOK"));
  ASSERT_NE(ok, nullptr);
  e2e::SaveScreenshot(dialog, "settings-150");
  const SIZE dialogClient = ClientSize(dialog);
  const SIZE okSize = WindowSize(ok);

  // Moved to a monitor at 100 %, the dialog hears of it from WM_DPICHANGED
  // (Windows 10 and later; Wine sends none, so the driver sends it as
  // Windows does, the suggested rectangle in the program's own memory).
  constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, unnamed in the XP headers
  const RECT suggested = {40, 30, 440, 370};
  e2e::RemoteBuffer rect(program.ProcessId(), sizeof suggested);
  rect.Write(&suggested, sizeof suggested);
  DWORD_PTR answer = 1;
  ASSERT_NE(::SendMessageTimeoutA(dialog, kDpiChanged, MAKEWPARAM(96, 96), rect.Address(),
                                  SMTO_ABORTIFHUNG, 10000, &answer),
            0);
  RECT window = {};
  ::GetWindowRect(dialog, &window);
  RECT button = e2e::ScreenRect(ok);
  ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&button), 2);

  const struct {
    const char* what;
    LONG seen;
    LONG expected;
  } cases[] = {
      {"the settings dialog's client width", dialogClient.cx, 576},
      {"the settings dialog's client height", dialogClient.cy, 455},
      {"the OK button's width", okSize.cx, 113},
      {"the OK button's height", okSize.cy, 38},
      {"the splash's client width: 1.5 times its designed width", splashClient.cx,
       platform::ScaleToDpi(layout::kSplashWindow.clientWidth, kDpi)},
      {"the splash logo's width (132 at 100 %)", logoSize.cx, 198},
      {"the splash logo's height (138 at 100 %)", logoSize.cy, 207},
      {"the splash logo's pixels unlike the art's at 150 % (-1: another size)", different, 0},
      // After the change to 96 DPI: the suggested rectangle, OK as designed.
      {"WM_DPICHANGED's answer", static_cast<LONG>(answer), 0},
      {"the rectangle's left", window.left, suggested.left},
      {"the rectangle's top", window.top, suggested.top},
      {"the rectangle's right", window.right, suggested.right},
      {"the rectangle's bottom", window.bottom, suggested.bottom},
      {"OK's place and size at 96 DPI: left", button.left, 144},
      {"top", button.top, 272},
      {"width", button.right - button.left, 75},
      {"height", button.bottom - button.top, 25},
  };
  for (const auto& c : cases) EXPECT_EQ(c.seen, c.expected) << c.what;
}

}  // namespace
