// The About dialog of dorvane.exe, reached and used as a user does: the
// tray menu's About command, the mouse on its links, the keyboard on OK.
// Opened links are seen through the program that the shell starts for
// them, a recorder registered for http and mailto addresses by run-e2e.sh.

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/PackedPicture.h"
#include "resources/AboutLayout.h"
#include "tests/e2e/Driver.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);
const std::string kWebSiteOpened = std::string(layout::kMakerWebSite) + "\t0";
const std::string kEMailOpened = std::string("mailto:") + layout::kMakerEMail + "\t0";

// Values of the user's profile for as long as the object lives; the values
// before come back at its end.
class ProfileValues {
 public:
  struct Value {
    const char* name;
    const char* text;
  };
  ProfileValues(const char* key, std::initializer_list<Value> values) {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                      nullptr);
    for (const Value& value : values) {
      char before[64] = {};
      DWORD size = sizeof before - 1;
      const bool had = ::RegQueryValueExA(key_, value.name, nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(before), &size) == ERROR_SUCCESS;
      saved_.push_back({value.name, had, before});
      Set(value.name, value.text);
    }
  }
  ProfileValues(const ProfileValues&) = delete;
  ProfileValues& operator=(const ProfileValues&) = delete;
  ~ProfileValues() {
    for (const Saved& saved : saved_) {
      if (saved.had) {
        Set(saved.name, saved.text.c_str());
      } else {
        ::RegDeleteValueA(key_, saved.name);
      }
    }
    ::RegCloseKey(key_);
  }

 private:
  struct Saved {
    const char* name;
    bool had;
    std::string text;
  };
  void Set(const char* name, const char* text) {
    ::RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(std::strlen(text) + 1));
  }
  HKEY key_ = nullptr;
  std::vector<Saved> saved_;
};

// A dark scheme's colours, as Windows keeps them in the user's profile.
constexpr COLORREF kSchemeFace = RGB(0, 0, 0);
constexpr COLORREF kSchemeButtonText = RGB(255, 255, 255);
constexpr COLORREF kSchemeWindowText = RGB(255, 255, 0);
constexpr COLORREF kSchemeLink = RGB(0, 255, 255);

using Lines = std::vector<std::string>;

// The index of a control in the dialog's table, which gives its identifier.
size_t IndexOf(const char* name) {
  for (size_t i = 0; i < sizeof layout::kAboutLayout / sizeof layout::kAboutLayout[0]; ++i) {
    if (std::strcmp(layout::kAboutLayout[i].name, name) == 0) return i;
  }
  ADD_FAILURE() << "no control " << name;
  return 0;
}

const char* ClassFor(layout::Kind kind) {
  switch (kind) {
    case layout::Kind::Image: return "TImage";
    case layout::Kind::Label: return "TLabel";
    case layout::Kind::Bevel: return "TBevel";
    case layout::Kind::Button: return "Button";
    default: return "?";
  }
}

// The size that a line of text takes in a font, measured here: the test
// runs in the same prefix, with the same fonts, as the program.
SIZE TextSize(const std::string& text, const layout::Font& font) {
  LOGFONTA logFont = {};
  logFont.lfHeight = -font.height;
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfUnderline = font.underline ? TRUE : FALSE;
  logFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(logFont.lfFaceName, font.face, LF_FACESIZE);
  HFONT handle = ::CreateFontIndirectA(&logFont);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, handle);
  RECT rect = {0, 0, 0, 0};
  ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(handle);
  return {rect.right, rect.bottom};
}

const layout::Font& FontOf(const char* name) {
  if (std::strcmp(name, "laName") == 0) return layout::kAboutNameFont;
  if (std::strcmp(name, "laWebSite") == 0 || std::strcmp(name, "laEMail") == 0) {
    return layout::kAboutLinkFont;
  }
  return layout::kAboutDialogFont;
}

// A picture of dorvane.exe's resources, top row first: a stored one
// (RCDATA) unpacked as the program does, a plain one as Windows loads it.
e2e::ScreenPixels ResourcePicture(const char* name) {
  const e2e::StoredPicture stored = e2e::ProgramPicture(name);
  if (!stored.rows.empty()) return e2e::PixelsOfRows(stored.rows.data(), stored.width, stored.height);
  e2e::ScreenPixels pixels;
  HMODULE exe = ::LoadLibraryExA(e2e::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (exe == nullptr) return pixels;
  if (HBITMAP bitmap = static_cast<HBITMAP>(
          ::LoadImageA(exe, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof info, &info);
    BITMAPINFOHEADER header = {sizeof header, info.bmWidth, info.bmHeight, 1, 24, BI_RGB,
                               0,             0,            0,             0, 0};
    std::vector<unsigned char> rows(platform::RowBytes(info.bmWidth) * info.bmHeight);
    HDC dc = ::GetDC(nullptr);
    ::GetDIBits(dc, bitmap, 0, info.bmHeight, rows.data(),
                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(bitmap);
    pixels = e2e::PixelsOfRows(rows.data(), info.bmWidth, info.bmHeight);
  }
  ::FreeLibrary(exe);
  return pixels;
}

// Pixels that differ between a picture and what the screen shows of it;
// for a transparent picture, the pixels of its background colour (that of
// its bottom-left pixel) must show the dialog's face instead. -1: the two
// differ in size.
int DifferentPixels(const e2e::ScreenPixels& picture, const e2e::ScreenPixels& shown,
                    bool transparent) {
  if (picture.width != shown.width || picture.height != shown.height) return -1;
  const COLORREF key = picture.At(0, picture.height - 1);
  int different = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      COLORREF expected = picture.At(x, y);
      if (transparent && expected == key) expected = ::GetSysColor(COLOR_BTNFACE);
      different += shown.At(x, y) != expected ? 1 : 0;
    }
  }
  return different;
}

class AboutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::ForgetOpenedLinks();
    program.Start();
    // The splash stays on top of every window while it shows; the dialog
    // is used once the program is resident.
    ASSERT_TRUE(program.EndSplash());
    about = program.Window("TfmAbout");
    ASSERT_NE(about, nullptr);
  }

  void TearDown() override {
    // A button still held down would reach the next test's program.
    e2e::SendMouse(MOUSEEVENTF_LEFTUP);
    program.Kill();
    e2e::ForgetOpenedLinks();
  }

  // The tray menu's About command; the dialog is then in front.
  void ChooseAbout() {
    e2e::ChooseTrayCommand(program.MainWindow(), "miAbout");
    ASSERT_TRUE(e2e::WaitFor(
        [&] { return ::IsWindowVisible(about) && ::GetForegroundWindow() == about; }, 10000));
    ASSERT_TRUE(e2e::WaitFor([&] { return FocusOf() == Control("buOK"); }, 5000));
  }

  HWND Control(const char* name) const {
    return ::GetDlgItem(about, layout::kFirstControlId + static_cast<int>(IndexOf(name)));
  }

  // A control's rectangle in the dialog's client area.
  RECT ControlRect(const char* name) const {
    RECT rect = e2e::ScreenRect(Control(name));
    ::MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  POINT CentreOf(const char* name) const { return e2e::CentreOf(e2e::ScreenRect(Control(name))); }

  HWND FocusOf() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(about, nullptr), &info);
    return info.hwndFocus;
  }

  // Whether the link's text is drawn in `colour` and not in the other one.
  bool LinkShows(const char* name, COLORREF colour) const {
    const e2e::ScreenPixels pixels = e2e::CaptureScreen(e2e::ScreenRect(Control(name)));
    const COLORREF other = colour == kRed ? kBlue : kRed;
    return e2e::CountColour(pixels, colour) > 0 && e2e::CountColour(pixels, other) == 0;
  }

  // Whether a control's text is drawn in `colour` on `face`, and in none
  // of `others`.
  bool Shows(const char* name, COLORREF colour, COLORREF face,
             std::initializer_list<COLORREF> others) const {
    const e2e::ScreenPixels pixels = e2e::CaptureScreen(e2e::ScreenRect(Control(name)));
    for (COLORREF other : others) {
      if (e2e::CountColour(pixels, other) > 0) return false;
    }
    return e2e::CountColour(pixels, colour) > 0 && e2e::CountColour(pixels, face) > 0;
  }

  // Whether the control shows the focus rectangle: against a picture of it
  // without the focus, pixels differ on its outer rows and columns and
  // nowhere else.
  bool ShowsFocusAgainst(const char* name, const e2e::ScreenPixels& unfocused) const {
    const e2e::ScreenPixels now = e2e::CaptureScreen(e2e::ScreenRect(Control(name)));
    if (now.width != unfocused.width || now.height != unfocused.height) return false;
    int onEdges = 0;
    for (int y = 0; y < now.height; ++y) {
      for (int x = 0; x < now.width; ++x) {
        if (now.At(x, y) == unfocused.At(x, y)) continue;
        const bool edge = x == 0 || y == 0 || x == now.width - 1 || y == now.height - 1;
        if (!edge) return false;
        ++onEdges;
      }
    }
    return onEdges > 0;
  }

  bool WaitForFocusOn(const char* name) const {
    return e2e::WaitFor([&] { return FocusOf() == Control(name); }, 5000);
  }

  bool WaitForLinks(size_t count) {
    return e2e::WaitFor([&] { return e2e::OpenedLinks().size() >= count; }, 10000);
  }

  // A click that Windows cannot take for the second half of a double click.
  void SeparateClickAt(POINT point) {
    ::Sleep(::GetDoubleClickTime() + 100);
    e2e::ClickAt(point);
  }

  // A point on the desktop, away from the dialog.
  POINT OffTheDialog() const {
    const RECT rect = e2e::ScreenRect(about);
    return {rect.right + 20, rect.top + 20};
  }

  e2e::Program program;
  HWND about = nullptr;
};

TEST_F(AboutTest, TheWindowAndEveryControlAreAsLaidOut) {
  ChooseAbout();
  EXPECT_EQ(e2e::ClassOf(about), layout::kAboutWindow.className);
  EXPECT_EQ(e2e::WindowText(about), EnglishOf(layout::kAboutWindow.caption));
  RECT client = {};
  ::GetClientRect(about, &client);
  EXPECT_EQ(client.right, layout::kAboutWindow.clientWidth);
  EXPECT_EQ(client.bottom, layout::kAboutWindow.clientHeight);

  // A fixed dialog frame and a caption, but no system menu and so not one
  // caption button; owned by the application window, so no taskbar button
  // of its own.
  const LONG style = ::GetWindowLongA(about, GWL_STYLE);
  const LONG exStyle = ::GetWindowLongA(about, GWL_EXSTYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(exStyle & WS_EX_DLGMODALFRAME, 0);
  EXPECT_EQ(exStyle & (WS_EX_CONTEXTHELP | WS_EX_APPWINDOW), 0);
  EXPECT_EQ(::GetWindow(about, GW_OWNER), program.ApplicationWindow());

  for (const layout::Control& control : layout::kAboutLayout) {
    SCOPED_TRACE(control.name);
    HWND hwnd = Control(control.name);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(::GetParent(hwnd), about);
    EXPECT_EQ(e2e::ClassOf(hwnd), ClassFor(control.kind));
    EXPECT_EQ(e2e::WindowText(hwnd), EnglishOf(control.text));
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_EQ((::GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) != 0, control.tabOrder >= 0)
        << "only OK takes the focus";

    const RECT rect = ControlRect(control.name);
    SIZE size = {control.width, control.height};
    if (control.kind == layout::Kind::Label) size = TextSize(EnglishOf(control.text), FontOf(control.name));
    EXPECT_EQ(rect.right - rect.left, size.cx);
    EXPECT_EQ(rect.bottom - rect.top, size.cy);
    EXPECT_EQ(rect.top, control.top);
    if (control.options & layout::kAlignRight) {
      EXPECT_EQ(rect.right, control.left) << "the right edge stays";
    } else {
      EXPECT_EQ(rect.left, control.left);
    }
  }
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laWebSite", kBlue); }, 5000));
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laEMail", kBlue); }, 5000));

  // The dialog alone, and the whole desktop for the README.
  e2e::SavePng(e2e::CaptureScreen(e2e::ScreenRect(about)), "about");
  e2e::SaveScreenshot("about");
}

TEST_F(AboutTest, TheImagesShowCopiesOfTheMainWindowsPictures) {
  ChooseAbout();
  // The maker's logo as it is; the product's logo with its background, the
  // colour of its bottom-left pixel, showing the dialog's face.
  struct Case {
    const char* image;
    const char* picture;
    bool transparent;
  };
  for (const Case& c : {Case{"imKestrome", "KESTROME", false}, Case{"imLogo", "LOGO", true}}) {
    SCOPED_TRACE(c.image);
    const e2e::ScreenPixels picture = ResourcePicture(c.picture);
    ASSERT_GT(picture.width, 0);
    int different = -1;
    e2e::WaitFor(
        [&] {
          different = DifferentPixels(
              picture, e2e::CaptureScreen(e2e::ScreenRect(Control(c.image))), c.transparent);
          return different == 0;
        },
        5000);
    EXPECT_EQ(different, 0) << "-1: the image is not the picture's size";
  }
}

TEST_F(AboutTest, OpensCentredWithTheFocusOnOkAndComesBackWhereItWasLeft) {
  ChooseAbout();
  const RECT desktop = e2e::ScreenRect(::GetDesktopWindow());
  RECT rect = e2e::ScreenRect(about);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  EXPECT_EQ(rect.left, (desktop.right - desktop.left - width) / 2);
  EXPECT_EQ(rect.top, (desktop.bottom - desktop.top - height) / 2);

  // OK has the focus, yet keeps the look of a plain push button: it is not
  // the dialog's default button.
  HWND ok = Control("buOK");
  EXPECT_EQ(FocusOf(), ok);
  EXPECT_EQ(::GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);

  // The user moves the dialog and closes it with OK; the next About
  // command shows it there, with the focus on OK again.
  ::SetWindowPos(about, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  e2e::ClickAt(CentreOf("buOK"));
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(about); }, 5000));
  ChooseAbout();
  rect = e2e::ScreenRect(about);
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 30);
  EXPECT_EQ(FocusOf(), ok);
  EXPECT_EQ(::GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(AboutTest, TheAboutCommandWhileTheDialogIsOpenBringsTheSameDialogToTheFront) {
  ChooseAbout();
  e2e::ChooseTrayCommand(program.MainWindow(), "miSettings");
  HWND settings = program.Window("TfmSettings");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::GetForegroundWindow() == settings; }, 10000));

  ChooseAbout();
  EXPECT_EQ(e2e::WindowsOf(program.ProcessId(), "TfmAbout"), std::vector<HWND>{about});
  EXPECT_TRUE(::IsWindowVisible(settings));
  // Under load Wine can report the new foreground window a moment before
  // the window order shows it on top; the order has to follow.
  const auto aboveSettings = [&] {
    for (HWND below = ::GetWindow(about, GW_HWNDNEXT); below != nullptr;
         below = ::GetWindow(below, GW_HWNDNEXT)) {
      if (below == settings) return true;
    }
    return false;
  };
  EXPECT_TRUE(e2e::WaitFor(aboveSettings, 5000));
  EXPECT_EQ(::GetForegroundWindow(), about);
}

TEST_F(AboutTest, EscLeavesTheDialogOpenWhileEnterSpaceAndAltOPressOk) {
  ChooseAbout();
  e2e::PressKey(VK_ESCAPE);
  EXPECT_TRUE(e2e::HoldsFor([&] { return ::IsWindowVisible(about) != FALSE; }, 1500));

  struct Case {
    const char* keys;
    std::function<void()> press;
  };
  const Case cases[] = {
      {"Enter", [] { e2e::PressKey(VK_RETURN); }},
      {"Space", [] { e2e::PressKey(VK_SPACE); }},
      {"Alt+O", [] { e2e::PressAltKey('O'); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    if (!::IsWindowVisible(about)) ChooseAbout();
    c.press();
    EXPECT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(about); }, 5000));
  }
  EXPECT_TRUE(e2e::OpenedLinks().empty());
}

TEST_F(AboutTest, EachClickOnALinkOpensWhatItShowsAndTheDialogStaysOpen) {
  ChooseAbout();
  e2e::ClickAt(CentreOf("laWebSite"));
  ASSERT_TRUE(WaitForLinks(1));
  SeparateClickAt(CentreOf("laWebSite"));
  ASSERT_TRUE(WaitForLinks(2));
  e2e::ClickAt(CentreOf("laEMail"));
  ASSERT_TRUE(WaitForLinks(3));
  SeparateClickAt(CentreOf("laEMail"));
  ASSERT_TRUE(WaitForLinks(4));

  // The shell got "open" with the address (the recorder is registered for
  // that verb alone) and the show command SW_HIDE; and nothing more.
  EXPECT_TRUE(e2e::HoldsFor([] { return e2e::OpenedLinks().size() == 4; }, 500));
  EXPECT_EQ(e2e::OpenedLinks(), (Lines{kWebSiteOpened, kWebSiteOpened, kEMailOpened, kEMailOpened}));
  EXPECT_TRUE(::IsWindowVisible(about));
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laWebSite", kBlue); }, 5000));
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laEMail", kBlue); }, 5000));
}

TEST_F(AboutTest, APressOnALinkTurnsItRedUntilItsReleaseAndOnlyALeftReleaseOverItOpens) {
  ChooseAbout();
  // The left button held on the link, the pointer taken off the dialog and
  // released there: the link still hears the release.
  e2e::MoveMouse(CentreOf("laWebSite"));
  e2e::SendMouse(MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laWebSite", kRed); }, 5000));
  e2e::MoveMouse(OffTheDialog());
  e2e::SendMouse(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laWebSite", kBlue); }, 5000));

  // The right button over a link: red while held, blue at its release, and
  // never a click. The quick second press of a double click is a press too.
  e2e::MoveMouse(CentreOf("laEMail"));
  e2e::SendMouse(MOUSEEVENTF_RIGHTDOWN);
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laEMail", kRed); }, 5000));
  e2e::SendMouse(MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laEMail", kBlue); }, 5000));
  ::Sleep(::GetDoubleClickTime() + 100);
  e2e::SendMouse(MOUSEEVENTF_RIGHTDOWN);
  e2e::SendMouse(MOUSEEVENTF_RIGHTUP);
  e2e::SendMouse(MOUSEEVENTF_RIGHTDOWN);
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laEMail", kRed); }, 5000));
  e2e::SendMouse(MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laEMail", kBlue); }, 5000));

  // Neither opened anything: a click on a link is the first that the
  // shell is asked to open.
  SeparateClickAt(CentreOf("laEMail"));
  ASSERT_TRUE(WaitForLinks(1));
  EXPECT_TRUE(e2e::HoldsFor([] { return e2e::OpenedLinks().size() == 1; }, 500));
  EXPECT_EQ(e2e::OpenedLinks(), Lines{kEMailOpened});
}

TEST_F(AboutTest, ADoubleClickOpensTheTargetOnceAndLeavesTheMouseFree) {
  ChooseAbout();
  e2e::DoubleClickAt(CentreOf("laWebSite"));
  ASSERT_TRUE(WaitForLinks(1));
  EXPECT_TRUE(e2e::HoldsFor([] { return e2e::OpenedLinks().size() == 1; }, 1500));
  EXPECT_EQ(e2e::OpenedLinks(), Lines{kWebSiteOpened});
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laWebSite", kBlue); }, 5000));

  // The link let go of the mouse after the double click: OK takes a click.
  SeparateClickAt(CentreOf("buOK"));
  EXPECT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(about); }, 5000));
}

TEST_F(AboutTest, TabReachesTheLinksWhichShowTheFocusAndOpenWithEnterOrSpaceAsAClickDoes) {
  ChooseAbout();
  ASSERT_TRUE(e2e::WaitFor([&] { return LinkShows("laWebSite", kBlue); }, 5000));
  ASSERT_TRUE(e2e::WaitFor([&] { return LinkShows("laEMail", kBlue); }, 5000));
  const e2e::ScreenPixels webSite = e2e::CaptureScreen(e2e::ScreenRect(Control("laWebSite")));
  const e2e::ScreenPixels eMail = e2e::CaptureScreen(e2e::ScreenRect(Control("laEMail")));

  // From OK, the first control of the dialog: the web address.
  e2e::PressKey(VK_TAB);
  ASSERT_TRUE(WaitForFocusOn("laWebSite"));
  EXPECT_TRUE(e2e::WaitFor([&] { return ShowsFocusAgainst("laWebSite", webSite); }, 5000));
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForLinks(1));

  e2e::PressKey(VK_TAB);
  ASSERT_TRUE(WaitForFocusOn("laEMail"));
  EXPECT_TRUE(e2e::WaitFor([&] { return ShowsFocusAgainst("laEMail", eMail); }, 5000));
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return e2e::CaptureScreen(e2e::ScreenRect(Control("laWebSite"))).colours ==
                   webSite.colours; },
      5000))
      << "the web address shows the focus no longer";
  e2e::PressKey(VK_SPACE);
  ASSERT_TRUE(WaitForLinks(2));

  // Round to OK again; each key opened its link once, and the dialog stays.
  e2e::PressKey(VK_TAB);
  ASSERT_TRUE(WaitForFocusOn("buOK"));
  EXPECT_TRUE(e2e::HoldsFor([] { return e2e::OpenedLinks().size() == 2; }, 500));
  EXPECT_EQ(e2e::OpenedLinks(), (Lines{kWebSiteOpened, kEMailOpened}));
  EXPECT_TRUE(::IsWindowVisible(about));
}

// Under Wine a program takes the profile's colours when it starts, and
// the high-contrast flag from the profile whenever it draws, since Wine's
// SystemParametersInfo answers no flag.
TEST_F(AboutTest, HighContrastSwitchedOnWhileTheDialogIsOpenGivesItsTextsTheSystemsColours) {
  ProfileValues scheme("Control Panel\\Colors", {{"ButtonFace", "0 0 0"},
                                                  {"ButtonText", "255 255 255"},
                                                  {"WindowText", "255 255 0"},
                                                  {"HotTrackingColor", "0 255 255"}});
  program.Kill();
  program.Start();
  ASSERT_TRUE(program.EndSplash());
  about = program.Window("TfmAbout");
  ChooseAbout();
  // The scheme alone leaves the designed colours as they are.
  EXPECT_TRUE(e2e::WaitFor([&] { return LinkShows("laWebSite", kBlue); }, 5000));
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return Shows("laName", kSchemeWindowText, kSchemeFace, {kSchemeButtonText}); }, 5000));

  // High contrast on: Windows keeps the flag and tells every top-level
  // window that the colours have changed.
  ProfileValues flag("Control Panel\\Accessibility\\HighContrast", {{"Flags", "127"}});
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutA(about, WM_SYSCOLORCHANGE, 0, 0, SMTO_NORMAL, 5000, &answer);
  for (const char* link : {"laWebSite", "laEMail"}) {
    SCOPED_TRACE(link);
    EXPECT_TRUE(e2e::WaitFor(
        [&] { return Shows(link, kSchemeLink, kSchemeFace, {kBlue, kRed, kSchemeWindowText}); },
        5000));
  }
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return Shows("laName", kSchemeButtonText, kSchemeFace, {kSchemeWindowText}); }, 5000));

  // A link held down keeps the system's colour: red is none of its.
  e2e::MoveMouse(CentreOf("laWebSite"));
  e2e::SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(e2e::WaitFor(
      [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(about, nullptr), &info);
        return info.hwndCapture == Control("laWebSite");
      },
      5000));
  EXPECT_TRUE(Shows("laWebSite", kSchemeLink, kSchemeFace, {kRed, kBlue}));
  e2e::MoveMouse(OffTheDialog());
  e2e::SendMouse(MOUSEEVENTF_LEFTUP);
  program.Kill();
}

TEST_F(AboutTest, ALongerAddressGrowsTheEMailLinkToTheLeftAndIsWhatOpens) {
  ChooseAbout();
  const std::string longer = "customer.support@kestrome.com";
  ::SendMessageA(Control("laEMail"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longer.c_str()));
  const RECT rect = ControlRect("laEMail");
  EXPECT_EQ(rect.right, layout::kAboutLayout[IndexOf("laEMail")].left);
  EXPECT_EQ(rect.right - rect.left, TextSize(longer, layout::kAboutLinkFont).cx);
  EXPECT_EQ(rect.top, layout::kAboutLayout[IndexOf("laEMail")].top);

  e2e::ClickAt(CentreOf("laEMail"));
  ASSERT_TRUE(WaitForLinks(1));
  EXPECT_EQ(e2e::OpenedLinks(), Lines{"mailto:" + longer + "\t0"});
}

}  // namespace
