// The settings dialog, reached as the user reaches it: from the tray icon.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "resources/SettingsLayout.h"
#include "tests/e2e/Driver.h"

namespace {

using layout::Kind;
using layout::kSettingsLayout;

constexpr UINT kTrayNotify = WM_USER + 1;
const char kDefaultLogFile[] = "C:\\Dorvane\\dvn.dvl";

const layout::Control* Entry(const std::string& name) {
  for (const layout::Control& control : kSettingsLayout) {
    if (name == control.name) return &control;
  }
  return nullptr;
}

int IdOf(const std::string& name) {
  const layout::Control* entry = Entry(name);
  return entry == nullptr ? 0 : layout::kFirstControlId + static_cast<int>(entry - kSettingsLayout);
}

std::string NameOfId(int id) {
  const int index = id - layout::kFirstControlId;
  if (index < 0 || index >= static_cast<int>(std::size(kSettingsLayout))) return "";
  return kSettingsLayout[index].name;
}

const char* ClassOfKind(Kind kind) {
  switch (kind) {
    case Kind::Panel: return "TPanel";
    case Kind::Image: return "TImage";
    case Kind::Label: return "TLabel";
    case Kind::Bevel: return "TBevel";
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::RadioButton: return "Button";
    case Kind::Edit: return "Edit";
    case Kind::ListView: return "SysListView32";
    case Kind::ListBox: return "ListBox";
    case Kind::PageControl: return "SysTabControl32";
    case Kind::TabSheet: return "TTabSheet";
  }
  return "";
}

LONG StyleOf(HWND hwnd) { return ::GetWindowLongA(hwnd, GWL_STYLE); }

// The text a control shows: an edit box keeps its own, which only the
// message reads from another process.
std::string TextOf(HWND hwnd) {
  char text[1024] = {};
  ::SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}
bool IsChecked(HWND button) { return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The rectangle of a control in its parent's client area.
RECT RectInParent(HWND hwnd) {
  RECT rect;
  ::GetWindowRect(hwnd, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
    StartProgram();
  }
  void TearDown() override {
    program.Kill();
    e2e::InsertMedium('a');
  }

  void StartProgram() {
    program.Start();
    dialog = program.Window("TfmSettings");
    ASSERT_NE(dialog, nullptr);
  }

  void RestartProgram() {
    program.Kill();
    StartProgram();
  }

  // The double click on the tray icon, once the splash has made way for it.
  void ShowDialog() {
    ASSERT_TRUE(program.EndSplash());
    ::PostMessageA(program.MainWindow(), kTrayNotify, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(dialog) != FALSE; }, 5000));
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) != nullptr; }, 5000));
  }

  HWND Control(const std::string& name) const { return e2e::FindControl(dialog, IdOf(name)); }

  std::string Text(const std::string& name) const { return TextOf(Control(name)); }

  // A click in the middle of a control, as the mouse gives it.
  void Click(const std::string& name) {
    RECT client;
    HWND control = Control(name);
    ::GetClientRect(control, &client);
    e2e::PostClick(control, client.right / 2, client.bottom / 2);
  }

  // Clicks a push button or a check box and waits until the program has
  // taken the click (its focus moves to the button).
  void ClickAndWait(const std::string& name) {
    Click(name);
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == Control(name); }, 5000)) << name;
  }

  // Clicks a push button that lacks the focus and returns once the dialog
  // has handled the click. The button takes the focus at the press and
  // gives up its pushed look at the release, just before it tells the
  // dialog; the program answers a message sent to it only between the
  // messages it handles, so "not pushed" comes back once the dialog's
  // handler has returned, or from the loop of a box the handler opened.
  void ClickHandled(const std::string& name) {
    HWND button = Control(name);
    ASSERT_NE(e2e::FocusOf(dialog), button) << name;
    Click(name);
    ASSERT_TRUE(e2e::WaitFor(
        [&] {
          return e2e::FocusOf(dialog) == button &&
                 (::SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) == 0;
        },
        5000))
        << name;
  }

  void ShowTab(int index) {
    HWND tabs = Control("pcSettings");
    const RECT tab = e2e::TabRect(program.ProcessId(), tabs, index);
    e2e::PostClick(tabs, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ASSERT_TRUE(e2e::WaitFor([&] { return VisiblePage() == index; }, 5000));
  }

  // The one page shown, or -1 while none or more than one is.
  int VisiblePage() const {
    const char* pages[] = {"tsDrives", "tsSound", "tsLogging", "tsOther"};
    int shown = -1;
    for (int i = 0; i < 4; ++i) {
      if (!::IsWindowVisible(Control(pages[i]))) continue;
      if (shown >= 0) return -1;
      shown = i;
    }
    return shown;
  }

  // Types into an edit box as the keyboard does: it gets the focus, its
  // text is replaced.
  void TypeInto(const std::string& name, const std::string& text) {
    Click(name);
    HWND edit = Control(name);
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == edit; }, 5000)) << name;
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    e2e::PostKey(edit, VK_DELETE);
    e2e::PostChars(edit, text);
    ASSERT_TRUE(e2e::WaitFor([&] { return TextOf(edit) == text; }, 5000)) << name;
  }

  void CloseWithCancel() {
    ClickAndWait("buCancel");
    ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000));
  }

  int DriveIndex(char letter) const {
    HWND list = Control("lvDrives");
    for (int i = 0; i < e2e::ListViewCount(list); ++i) {
      if (e2e::ListViewText(program.ProcessId(), list, i) == std::string(" ") + letter + ":\\") {
        return i;
      }
    }
    return -1;
  }

  // A click on a drive's check box.
  void ToggleDrive(char letter) {
    HWND list = Control("lvDrives");
    const int index = DriveIndex(letter);
    ASSERT_GE(index, 0) << letter;
    const bool before = e2e::ListViewChecked(list, index);
    const RECT icon = e2e::ListViewItemRect(program.ProcessId(), list, index, LVIR_ICON);
    // The check box stands left of the icon.
    e2e::PostClick(list, icon.left - 8, (icon.top + icon.bottom) / 2);
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::ListViewChecked(list, index) != before; }, 5000));
  }

  // Presses a button of the dialog with the mouse and waits until the
  // window is hidden.
  void CloseWith(const std::string& button) {
    Click(button);
    ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000)) << button;
  }

  // The program's visible dialog box with this caption (the input box, a
  // file chooser), or null.
  HWND FindBox(const std::string& caption) const {
    for (HWND box : e2e::WindowsOf(program.ProcessId(), "#32770")) {
      if (::IsWindowVisible(box) && e2e::WindowText(box) == caption) return box;
    }
    return nullptr;
  }

  HWND WaitForBox(const std::string& caption) const {
    HWND box = nullptr;
    e2e::WaitFor([&] { return (box = FindBox(caption)) != nullptr; }, 10000);
    return box;
  }

  // The input box's parts.
  static HWND ChildOfClass(HWND box, const char* cls) {
    for (HWND child : e2e::ChildrenOf(box)) {
      if (e2e::ClassOf(child) == cls) return child;
    }
    return nullptr;
  }

  // Adds a label through the input box, typed and confirmed with OK.
  void AddLabel(const std::string& label) {
    Click("buExclusionAdd");
    HWND box = WaitForBox("Add Label");
    ASSERT_NE(box, nullptr);
    HWND edit = ChildOfClass(box, "Edit");
    ASSERT_NE(edit, nullptr);
    e2e::PostChars(edit, label);
    ASSERT_TRUE(e2e::WaitFor([&] { return TextOf(edit) == label; }, 5000));
    ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }, 5000));
  }

  std::vector<std::string> Labels() const {
    return e2e::ListBoxItems(program.ProcessId(), Control("lbExclusion"));
  }

  // Clicks a radio button or a check box and waits until it shows `checked`.
  void ClickToState(const std::string& name, bool checked) {
    Click(name);
    ASSERT_TRUE(e2e::WaitFor([&] { return IsChecked(Control(name)) == checked; }, 5000)) << name;
  }

  // The options as a fresh store holds them, as the controls show them.
  void ExpectStoredDefaults() {
    HWND list = Control("lvDrives");
    for (int i = 0; i < e2e::ListViewCount(list); ++i) {
      EXPECT_EQ(e2e::ListViewChecked(list, i), i == DriveIndex('A')) << i;
    }
    EXPECT_TRUE(Labels().empty());
    EXPECT_TRUE(IsChecked(Control("rbNoSound")));
    EXPECT_FALSE(IsChecked(Control("rbSoundFile")));
    EXPECT_FALSE(IsChecked(Control("rbSoundWindows")));
    EXPECT_EQ(Text("edSound"), "(None)");
    EXPECT_TRUE(IsChecked(Control("rbDefaultExclamation")));
    EXPECT_FALSE(IsChecked(Control("rbDefaultError")));
    EXPECT_FALSE(IsChecked(Control("chLogging")));
    EXPECT_EQ(Text("edLogFile"), kDefaultLogFile);
    EXPECT_FALSE(IsChecked(Control("chNoDialog")));
    EXPECT_FALSE(IsChecked(Control("chRemovableDrives")));
    EXPECT_FALSE(IsChecked(Control("chRemindWhenAway")));
    for (const char* off : {"edSound", "buBrowse", "buTest", "rbDefaultError", "edLogFile"}) {
      EXPECT_FALSE(::IsWindowEnabled(Control(off))) << off;
    }
  }

  // Changes every option, none of them saved.
  void ChangeEveryOption() {
    ToggleDrive('C');
    ShowTab(1);
    ClickToState("rbSoundFile", true);
    TypeInto("edSound", "C:\\sounds\\ding.wav");
    ClickToState("rbSoundWindows", true);
    ClickToState("rbDefaultError", true);
    ShowTab(2);
    ClickToState("chLogging", true);
    TypeInto("edLogFile", "C:\\elsewhere.dvl");
    ShowTab(3);
    AddLabel("EXTRA");
    ClickToState("chNoDialog", true);
    ClickToState("chRemovableDrives", true);
    ClickToState("chRemindWhenAway", true);
    ASSERT_EQ(Labels(), std::vector<std::string>{"EXTRA"});
  }

  e2e::Program program;
  HWND dialog = nullptr;
};

// ---------------------------------------------------------------------------
// The window and its controls as laid out

TEST_F(SettingsDialogTest, TheWindowIsAFixedDialogCentredAtItsFirstShow) {
  EXPECT_FALSE(::IsWindowVisible(dialog)) << "created hidden at start";
  ShowDialog();
  EXPECT_EQ(e2e::WindowText(dialog), "Dorvane 4.0");
  RECT client;
  ::GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 384);
  EXPECT_EQ(client.bottom, 303);
  const LONG style = StyleOf(dialog);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  // The program's small icon stands at the left of the caption: its
  // yellow warning triangle is there.
  RECT caption = e2e::ScreenRect(dialog);
  caption.right = caption.left + 24;
  caption.bottom = caption.top + 24;
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return e2e::CountColour(e2e::CaptureScreen(caption), RGB(255, 255, 0)) > 10; }, 5000));

  RECT desktop, window;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  ::GetWindowRect(dialog, &window);
  EXPECT_NEAR(window.left + window.right, desktop.right, 1);
  EXPECT_NEAR(window.top + window.bottom, desktop.bottom, 1);
}

TEST_F(SettingsDialogTest, EveryControlIsWhereTheLayoutPutsIt) {
  ShowDialog();
  for (const layout::Control& entry : kSettingsLayout) {
    SCOPED_TRACE(entry.name);
    HWND hwnd = Control(entry.name);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(e2e::ClassOf(hwnd), ClassOfKind(entry.kind));
    HWND parent = ::GetParent(hwnd);
    EXPECT_EQ(parent == dialog ? std::string() : NameOfId(::GetDlgCtrlID(parent)),
              entry.parent == nullptr ? "" : entry.parent);
    const RECT rect = RectInParent(hwnd);
    EXPECT_EQ(rect.left, entry.left);
    EXPECT_EQ(rect.top, entry.top);
    EXPECT_EQ(rect.right - rect.left, entry.width);
    EXPECT_EQ(rect.bottom - rect.top, entry.height);
    // The edit boxes show the loaded paths; their table texts are those
    // before the first load.
    if (entry.kind != Kind::Edit) EXPECT_EQ(TextOf(hwnd), EnglishOf(entry.text));

    const LONG type = StyleOf(hwnd) & BS_TYPEMASK;
    if (entry.kind == Kind::CheckBox) EXPECT_EQ(type, BS_AUTOCHECKBOX);
    if (entry.kind == Kind::RadioButton) EXPECT_EQ(type, BS_AUTORADIOBUTTON);
    if (entry.kind == Kind::Button) EXPECT_TRUE(type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
    // A radio button is a tab stop while it is checked; the pictures and
    // texts never take the focus.
    const bool tabStop = (StyleOf(hwnd) & WS_TABSTOP) != 0;
    if (entry.kind == Kind::RadioButton) {
      EXPECT_EQ(tabStop, IsChecked(hwnd));
    } else if (entry.kind == Kind::Image || entry.kind == Kind::Label) {
      EXPECT_FALSE(tabStop);
    } else if (entry.kind != Kind::Panel && entry.kind != Kind::TabSheet) {
      EXPECT_TRUE(tabStop);
    }
  }
}

TEST_F(SettingsDialogTest, TheWindowOrderOfEachContainerIsTheTabOrder) {
  ShowDialog();
  std::vector<HWND> containers = {dialog};
  for (const layout::Control& entry : kSettingsLayout) {
    if (entry.kind == Kind::Panel || entry.kind == Kind::TabSheet ||
        entry.kind == Kind::PageControl) {
      containers.push_back(Control(entry.name));
    }
  }
  for (HWND container : containers) {
    SCOPED_TRACE(container == dialog ? "the window" : NameOfId(::GetDlgCtrlID(container)));
    int expected = 0;
    for (HWND child : e2e::ChildrenOf(container)) {
      const layout::Control* entry = Entry(NameOfId(::GetDlgCtrlID(child)));
      ASSERT_NE(entry, nullptr);
      if (entry->tabOrder < 0) continue;
      EXPECT_EQ(entry->tabOrder, expected++) << entry->name;
    }
  }
}

TEST_F(SettingsDialogTest, AfterTheLoadOnlyTheChosenModesControlsAreEnabled) {
  ShowDialog();
  // A fresh store: no sound and no log.
  const std::vector<std::string> disabled = {
      "edSound",        "buBrowse",          "buTest",         "rbDefaultExclamation",
      "rbDefaultQuestion", "rbDefaultError", "rbDefaultInformation", "edLogFile",
      "buBrowseLogFile"};
  for (const layout::Control& entry : kSettingsLayout) {
    const bool off = std::find(disabled.begin(), disabled.end(), entry.name) != disabled.end();
    EXPECT_EQ(::IsWindowEnabled(Control(entry.name)) == FALSE, off) << entry.name;
  }
  EXPECT_EQ(Text("edSound"), "(None)");
  EXPECT_EQ(Text("edLogFile"), kDefaultLogFile);
  EXPECT_TRUE(IsChecked(Control("rbNoSound")));
  EXPECT_TRUE(IsChecked(Control("rbDefaultExclamation")));
  EXPECT_FALSE(IsChecked(Control("chLogging")));
  EXPECT_FALSE(IsChecked(Control("chNoDialog")));
}

TEST_F(SettingsDialogTest, ThePageControlHasFourHotTrackedTabsAndShowsDrivesFirst) {
  ShowDialog();
  HWND tabs = Control("pcSettings");
  EXPECT_NE(StyleOf(tabs) & TCS_HOTTRACK, 0);
  ASSERT_EQ(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
  const char* captions[] = {"&Drives", "&Sound", "&Logging", "&Other"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(e2e::TabText(program.ProcessId(), tabs, i), captions[i]);
  EXPECT_EQ(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(VisiblePage(), 0);
  EXPECT_EQ(e2e::FocusOf(dialog), Control("buOK"));
  EXPECT_EQ(StyleOf(Control("buOK")) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST_F(SettingsDialogTest, TheDriveListShowsEveryDriveWithACheckBox) {
  ShowDialog();
  HWND list = Control("lvDrives");
  const LONG style = StyleOf(list);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_LIST);
  EXPECT_NE(style & LVS_NOCOLUMNHEADER, 0);
  EXPECT_NE(style & LVS_SHAREIMAGELISTS, 0) << "the system's icon list is never destroyed";
  EXPECT_EQ(style & LVS_EDITLABELS, 0);
  const LRESULT extended = ::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_NE(extended & LVS_EX_CHECKBOXES, 0);
  EXPECT_EQ(extended & (LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE),
            0);
  EXPECT_NE(::SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);

  std::vector<std::string> expected;
  const DWORD mask = ::GetLogicalDrives();
  for (int bit = 0; bit < 26; ++bit) {
    if (mask & (1u << bit)) {
      expected.push_back(std::string(" ") + static_cast<char>('A' + bit) + ":\\");
    }
  }
  ASSERT_EQ(e2e::ListViewCount(list), static_cast<int>(expected.size()));
  for (int i = 0; i < e2e::ListViewCount(list); ++i) {
    EXPECT_EQ(e2e::ListViewText(program.ProcessId(), list, i), expected[i]);
    EXPECT_EQ(e2e::ListViewChecked(list, i), expected[i] == " A:\\") << expected[i];
  }
}

TEST_F(SettingsDialogTest, TheLabelListIsSortedWithOneSelectionAndItemsThirteenHigh) {
  ShowDialog();
  HWND list = Control("lbExclusion");
  EXPECT_NE(StyleOf(list) & LBS_SORT, 0);
  EXPECT_EQ(StyleOf(list) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0);
  EXPECT_EQ(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 13);
}

TEST_F(SettingsDialogTest, TheFourPagesAsTheUserSeesThem) {
  ShowDialog();
  const char* shots[] = {"settings-drives", "settings-sound", "settings-logging", "settings-other"};
  for (int page = 0; page < 4; ++page) {
    ShowTab(page);
    EXPECT_EQ(VisiblePage(), page);
    EXPECT_TRUE(e2e::SaveScreenshot(dialog, shots[page]));
  }
}

// ---------------------------------------------------------------------------
// The controls are the options

TEST_F(SettingsDialogTest, ACheckedDriveSavedWithOkSurvivesARestart) {
  ShowDialog();
  ToggleDrive('C');
  CloseWith("buOK");
  EXPECT_EQ(e2e::SettingString("Drives"), "AC");

  RestartProgram();
  ShowDialog();
  EXPECT_TRUE(e2e::ListViewChecked(Control("lvDrives"), DriveIndex('A')));
  EXPECT_TRUE(e2e::ListViewChecked(Control("lvDrives"), DriveIndex('C')));
  EXPECT_FALSE(e2e::ListViewChecked(Control("lvDrives"), DriveIndex('Z')));
}

TEST_F(SettingsDialogTest, OkWritesEveryOptionAsTheControlsHoldIt) {
  ShowDialog();
  ChangeEveryOption();
  CloseWith("buOK");
  EXPECT_EQ(e2e::SettingString("Drives"), "AC");
  EXPECT_EQ(e2e::SettingString("Sound"), "SoundWindows");
  EXPECT_EQ(e2e::SettingString("SoundFile"), "C:\\sounds\\ding.wav") << "a disabled path is saved";
  EXPECT_EQ(e2e::SettingString("WindowsSound"), "Error");
  EXPECT_EQ(e2e::SettingDword("Logging"), 1u);
  EXPECT_EQ(e2e::SettingString("LogFile"), "C:\\elsewhere.dvl");
  EXPECT_EQ(e2e::SettingDword("NoDialog"), 1u);
  EXPECT_EQ(e2e::SettingDword("RemovableDrives"), 1u);
  EXPECT_EQ(e2e::SettingDword("RemindWhenAway"), 1u);
  EXPECT_EQ(e2e::StoredLabels(), std::vector<std::string>{"EXTRA"});
}

TEST_F(SettingsDialogTest, CancelEscAndTheCloseBoxRestoreEveryOptionAsStored) {
  struct CloseWay {
    const char* name;
    std::function<void()> close;
  };
  const CloseWay ways[] = {
      {"Cancel", [this] { Click("buCancel"); }},
      {"Esc", [this] { e2e::PostKey(e2e::FocusOf(dialog), VK_ESCAPE); }},
      {"close box", [this] { ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const CloseWay& way : ways) {
    SCOPED_TRACE(way.name);
    ShowDialog();
    ChangeEveryOption();
    way.close();
    ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000));
    ShowDialog();
    ExpectStoredDefaults();
    EXPECT_EQ(e2e::SettingString("Drives"), "A");
    EXPECT_EQ(e2e::SettingDword("Logging"), 0u);
    EXPECT_EQ(e2e::SettingDword("RemovableDrives"), std::nullopt) << "written by a save only";
    EXPECT_EQ(e2e::SettingDword("RemindWhenAway"), std::nullopt);
    EXPECT_TRUE(e2e::StoredLabels().empty());
    ShowTab(0);
  }
}

TEST_F(SettingsDialogTest, EveryShowAfterACloseStartsOnDrivesWithTheFocusOnOk) {
  ShowDialog();
  ShowTab(2);
  ClickToState("chLogging", true);
  ASSERT_EQ(e2e::FocusOf(dialog), Control("chLogging"));
  CloseWith("buCancel");
  ShowDialog();
  EXPECT_EQ(VisiblePage(), 0);
  EXPECT_EQ(::SendMessageA(Control("pcSettings"), TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(e2e::FocusOf(dialog), Control("buOK"));
}

TEST_F(SettingsDialogTest, ShowingTheOpenDialogKeepsItsPageAndItsEdits) {
  ShowDialog();
  ShowTab(1);
  ClickToState("rbSoundFile", true);
  TypeInto("edSound", "C:\\kept.wav");
  // Sent, as the shell sends the icon's messages: it has been handled when
  // the call returns.
  DWORD_PTR answer = 0;
  ASSERT_NE(::SendMessageTimeoutA(program.MainWindow(), kTrayNotify, 1, WM_LBUTTONDBLCLK,
                                  SMTO_NORMAL, 10000, &answer),
            0);
  EXPECT_TRUE(e2e::HoldsOnceHandled(dialog, [&] { return VisiblePage() == 1; }));
  EXPECT_EQ(Text("edSound"), "C:\\kept.wav");
  EXPECT_TRUE(IsChecked(Control("rbSoundFile")));
  EXPECT_EQ(e2e::FocusOf(dialog), Control("edSound"));
  EXPECT_EQ(e2e::WindowsOf(program.ProcessId(), "TfmSettings").size(), 1u);
}

TEST_F(SettingsDialogTest, AnEndOfTheSessionWhileOpenLogsWithLoggingJustSwitchedOn) {
  const std::string logFile = std::string(kDefaultLogFile);
  ::DeleteFileA(logFile.c_str());
  ShowDialog();
  ShowTab(2);
  ClickToState("chLogging", true);

  e2e::EndSessionQuery query(program.MainWindow());
  auto box = e2e::WaitForMessageBox(program.ProcessId(), 10000);
  ASSERT_TRUE(box.has_value());
  e2e::PressBoxButton(box->hwnd, IDOK);
  ASSERT_TRUE(query.Answered(10000));
  EXPECT_EQ(query.Answer(), 1);

  const auto log = e2e::ReadFileBytes(logFile);
  ASSERT_TRUE(log.has_value()) << "the unsaved choice is the one the check reads";
  EXPECT_NE(log->find("MYDISK"), std::string::npos) << *log;
  EXPECT_EQ(e2e::SettingDword("Logging"), 0u) << "nothing was saved";
  EXPECT_TRUE(::IsWindowVisible(dialog));
}

// ---------------------------------------------------------------------------
// The sound choices

TEST_F(SettingsDialogTest, EachSoundModeEnablesItsOwnControlsAndDisablingKeepsTheValues) {
  ShowDialog();
  ShowTab(1);
  const std::vector<std::string> fileControls = {"edSound", "buBrowse", "buTest"};
  const std::vector<std::string> systemSounds = {"rbDefaultExclamation", "rbDefaultQuestion",
                                                 "rbDefaultError", "rbDefaultInformation"};
  auto expectEnabled = [&](bool file, bool system) {
    for (const auto& name : fileControls) {
      EXPECT_EQ(::IsWindowEnabled(Control(name)) != 0, file) << name;
    }
    for (const auto& name : systemSounds) {
      EXPECT_EQ(::IsWindowEnabled(Control(name)) != 0, system) << name;
    }
  };

  ClickToState("rbSoundFile", true);
  expectEnabled(true, false);
  TypeInto("edSound", "C:\\chosen.wav");
  ClickToState("rbSoundWindows", true);
  expectEnabled(false, true);
  ClickToState("rbDefaultError", true);
  ClickToState("rbNoSound", true);
  expectEnabled(false, false);
  EXPECT_EQ(Text("edSound"), "C:\\chosen.wav");
  EXPECT_TRUE(IsChecked(Control("rbDefaultError"))) << "the groups are independent";
  ClickToState("rbSoundFile", true);
  expectEnabled(true, false);
  EXPECT_EQ(Text("edSound"), "C:\\chosen.wav");

  CloseWith("buOK");
  EXPECT_EQ(e2e::SettingString("Sound"), "SoundFile");
  EXPECT_EQ(e2e::SettingString("SoundFile"), "C:\\chosen.wav");
  EXPECT_EQ(e2e::SettingString("WindowsSound"), "Error");
}

TEST_F(SettingsDialogTest, TheArrowsMoveWithinOneRadioGroupAndTabReachesItsCheckedButton) {
  ShowDialog();
  ShowTab(1);
  ClickToState("rbSoundWindows", true);
  // From the last button of the page's group the arrow wraps to its first,
  // not into the panel below.
  e2e::PostKey(Control("rbSoundWindows"), VK_DOWN);
  ASSERT_TRUE(e2e::WaitFor([&] { return IsChecked(Control("rbNoSound")); }, 5000));
  EXPECT_FALSE(::IsWindowEnabled(Control("rbDefaultQuestion")));
  ClickToState("rbSoundWindows", true);
  ClickToState("rbDefaultInformation", true);
  e2e::PostKey(Control("rbDefaultInformation"), VK_DOWN);
  ASSERT_TRUE(e2e::WaitFor([&] { return IsChecked(Control("rbDefaultQuestion")); }, 5000));
  EXPECT_TRUE(IsChecked(Control("rbSoundWindows")));
  for (const char* name : {"rbDefaultExclamation", "rbDefaultError", "rbDefaultInformation",
                           "rbNoSound", "rbSoundFile"}) {
    EXPECT_EQ(StyleOf(Control(name)) & WS_TABSTOP, 0) << name;
  }
  EXPECT_NE(StyleOf(Control("rbDefaultQuestion")) & WS_TABSTOP, 0);
  EXPECT_NE(StyleOf(Control("rbSoundWindows")) & WS_TABSTOP, 0);

  CloseWith("buOK");
  EXPECT_EQ(e2e::SettingString("WindowsSound"), "Question");
}

// ---------------------------------------------------------------------------
// The path boxes

TEST_F(SettingsDialogTest, EmptiedPathBoxesFillInWhenTheFocusMovesOn) {
  ShowDialog();
  ShowTab(1);
  ClickToState("rbSoundFile", true);
  TypeInto("edSound", "");
  e2e::PostKey(Control("edSound"), VK_TAB);
  EXPECT_TRUE(e2e::WaitFor([&] { return Text("edSound") == "(None)"; }, 5000));
  EXPECT_EQ(e2e::FocusOf(dialog), Control("buBrowse"));

  // The focus leaving for another window fills nothing, nor does it
  // coming back.
  TypeInto("edSound", "");
  HWND about = program.Window("TfmAbout");
  e2e::ChooseTrayCommand(program.MainWindow(), "miAbout");
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::ActiveWindowOf(dialog) == about; }, 5000));
  ASSERT_TRUE(e2e::Handled(dialog));
  EXPECT_TRUE(Text("edSound").empty());
  ShowDialog();
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == Control("edSound"); }, 5000));
  // Nothing empties a filled box again: this one hold covers the focus's
  // leaving as well as its coming back.
  EXPECT_TRUE(e2e::HoldsOnceHandled(dialog, [&] { return Text("edSound").empty(); }));

  TypeInto("edSound", "   ");
  e2e::PostKey(Control("edSound"), VK_TAB);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == Control("buBrowse"); }, 5000));
  EXPECT_EQ(Text("edSound"), "   ") << "blanks are a text";

  ShowTab(2);
  ClickToState("chLogging", true);
  TypeInto("edLogFile", "");
  Click("buBrowseLogFile");  // the focus moves on before the chooser opens
  HWND chooser = WaitForBox("Select a log file");
  ASSERT_NE(chooser, nullptr);
  EXPECT_EQ(Text("edLogFile"), kDefaultLogFile);
  ::PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(chooser); }, 5000));
  EXPECT_EQ(Text("edLogFile"), kDefaultLogFile) << "a cancelled chooser changes nothing";

  CloseWith("buOK");
  EXPECT_EQ(e2e::SettingString("SoundFile"), "   ");
  EXPECT_EQ(e2e::SettingString("LogFile"), kDefaultLogFile);
}

TEST_F(SettingsDialogTest, ACloseLeavesAnEmptyStoredPathAsStored) {
  // A store written by hand: a sound file chosen, its path empty.
  e2e::SetSettingString("Sound", "SoundFile");
  e2e::SetSettingString("SoundFile", "");
  e2e::SetSettingString("WindowsSound", "Exclamation");
  e2e::SetSettingDword("Logging", 0);
  e2e::SetSettingString("LogFile", kDefaultLogFile);
  e2e::SetSettingDword("NoDialog", 0);
  e2e::SetSettingString("Drives", "A");
  RestartProgram();
  ShowDialog();
  ShowTab(1);
  ASSERT_EQ(Text("edSound"), "");
  Click("edSound");
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == Control("edSound"); }, 5000));
  // The close moves the focus to OK after the reload: that is no leaving
  // of the box by the user.
  e2e::PostKey(Control("edSound"), VK_ESCAPE);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000));
  ShowDialog();
  ShowTab(1);
  EXPECT_EQ(Text("edSound"), "");
  CloseWith("buOK");
  EXPECT_EQ(e2e::SettingString("SoundFile"), "");
}

TEST_F(SettingsDialogTest, TheLogFileChooserTakesANewNameAndAppendsItsExtension) {
  ShowDialog();
  ShowTab(2);
  ClickToState("chLogging", true);
  Click("buBrowseLogFile");
  HWND chooser = WaitForBox("Select a log file");
  ASSERT_NE(chooser, nullptr);
  // The file-name field starts empty the first time, whatever the box holds.
  HWND name = e2e::FindControl(chooser, 0x47C);  // the file-name combo box
  if (name == nullptr) name = e2e::FindControl(chooser, 0x480);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(TextOf(name), "");
  const char typed[] = "C:\\Dorvane\\NoSuchFolder\\newlog";
  ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
  ::PostMessageA(chooser, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(chooser); }, 5000));
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return Text("edLogFile") == "C:\\Dorvane\\NoSuchFolder\\newlog.dvl"; }, 5000))
      << Text("edLogFile");

  // The next run starts with that choice, not with the box's text.
  TypeInto("edLogFile", "C:\\typed.dvl");
  Click("buBrowseLogFile");
  chooser = WaitForBox("Select a log file");
  ASSERT_NE(chooser, nullptr);
  name = e2e::FindControl(chooser, 0x47C);
  if (name == nullptr) name = e2e::FindControl(chooser, 0x480);
  EXPECT_NE(TextOf(name).find("newlog.dvl"), std::string::npos) << TextOf(name);
  ::PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(chooser); }, 5000));
  EXPECT_EQ(Text("edLogFile"), "C:\\typed.dvl");
}

// ---------------------------------------------------------------------------
// The label list

TEST_F(SettingsDialogTest, ALabelAddedTwiceShowsTwiceAndIsStoredOnce) {
  ShowDialog();
  ShowTab(3);
  AddLabel("TWICE");
  AddLabel("TWICE");
  EXPECT_EQ(Labels(), (std::vector<std::string>{"TWICE", "TWICE"}));
  CloseWith("buOK");
  EXPECT_EQ(e2e::StoredLabels(), std::vector<std::string>{"TWICE"});
  ShowDialog();
  EXPECT_EQ(Labels(), std::vector<std::string>{"TWICE"});
}

TEST_F(SettingsDialogTest, TheInputBoxTakesOneLineOfAtMost255CharactersExactlyAsTyped) {
  ShowDialog();
  ShowTab(3);
  Click("buExclusionAdd");
  HWND box = WaitForBox("Add Label");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(::GetWindow(box, GW_OWNER), dialog);
  EXPECT_FALSE(::IsWindowEnabled(dialog)) << "the box is modal";
  HWND prompt = ChildOfClass(box, "Static");
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(TextOf(prompt), "Please enter the label to be added:");
  HWND edit = ChildOfClass(box, "Edit");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(TextOf(edit), "");
  EXPECT_EQ(StyleOf(edit) & ES_MULTILINE, 0);
  HWND ok = ::GetDlgItem(box, IDOK);
  HWND cancel = ::GetDlgItem(box, IDCANCEL);
  EXPECT_EQ(TextOf(ok), "OK");
  EXPECT_EQ(StyleOf(ok) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(TextOf(cancel), "Cancel");

  e2e::PostChars(edit, "NEWDISK");
  ASSERT_TRUE(e2e::WaitFor([&] { return TextOf(edit) == "NEWDISK"; }, 5000));
  EXPECT_TRUE(e2e::SaveScreenshot(box, "settings-add-label"));
  ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  e2e::PostChars(edit, std::string(300, 'x'));
  // Posted messages are handled in order: once the selection posted after
  // the characters shows, every character has been typed.
  ::PostMessageA(edit, EM_SETSEL, 0, 0);
  ASSERT_TRUE(e2e::WaitFor(
      [&] { return ::SendMessageA(edit, EM_GETSEL, 0, 0) == 0 && !TextOf(edit).empty(); }, 5000));
  EXPECT_EQ(TextOf(edit).size(), 255u);
  ::PostMessageA(cancel, BM_CLICK, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }, 5000));
  ASSERT_TRUE(e2e::Handled(dialog));
  EXPECT_TRUE(Labels().empty()) << "Cancel adds nothing";

  Click("buExclusionAdd");
  box = WaitForBox("Add Label");
  ASSERT_NE(box, nullptr);
  ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }, 5000));
  // Nothing here takes a label away again: this one hold covers the
  // cancelled box as well.
  EXPECT_TRUE(e2e::HoldsOnceHandled(dialog, [&] { return Labels().empty(); }))
      << "an empty text adds nothing";

  AddLabel("  mixed Case  ");
  EXPECT_EQ(Labels(), std::vector<std::string>{"  mixed Case  "});
}

TEST_F(SettingsDialogTest, RemoveTakesTheItemWithTheFocusMarkAndOnAnEmptyListNothing) {
  ShowDialog();
  ShowTab(3);
  ClickHandled("buExclusionRemove");
  EXPECT_TRUE(e2e::HoldsOnceHandled(dialog,
                                    [&] { return !e2e::FindMessageBox(program.ProcessId()); }));
  EXPECT_TRUE(Labels().empty());

  AddLabel("BRAVO");
  AddLabel("ALPHA");
  AddLabel("CHARLIE");
  ASSERT_EQ(Labels(), (std::vector<std::string>{"ALPHA", "BRAVO", "CHARLIE"}));
  // With nothing selected, the list's own focus mark says which goes.
  HWND list = Control("lbExclusion");
  const LRESULT caret = ::SendMessageA(list, LB_GETCARETINDEX, 0, 0);
  ASSERT_GE(caret, 0);
  std::vector<std::string> expected = Labels();
  expected.erase(expected.begin() + caret);
  Click("buExclusionRemove");
  ASSERT_TRUE(e2e::WaitFor([&] { return Labels().size() == 2; }, 5000));
  EXPECT_EQ(Labels(), expected);

  // A selected label is the one removed.
  const int itemHeight = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  const std::string second = Labels()[1];
  e2e::PostClick(list, 20, itemHeight + itemHeight / 2);
  ASSERT_TRUE(e2e::WaitFor([&] { return ::SendMessageA(list, LB_GETCURSEL, 0, 0) == 1; }, 5000));
  Click("buExclusionRemove");
  ASSERT_TRUE(e2e::WaitFor([&] { return Labels().size() == 1; }, 5000));
  EXPECT_NE(Labels().front(), second);

  const std::vector<std::string> remaining = Labels();
  CloseWith("buOK");
  EXPECT_EQ(e2e::StoredLabels(), remaining);
}

// ---------------------------------------------------------------------------
// The keyboard

TEST_F(SettingsDialogTest, EnterPressesOkUnlessAnotherPushButtonHasTheFocus) {
  ShowDialog();
  ShowTab(2);
  ClickToState("chLogging", true);
  e2e::PostKey(Control("chLogging"), VK_RETURN);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000));
  EXPECT_EQ(e2e::SettingDword("Logging"), 1u) << "Enter on a check box is OK";

  ShowDialog();
  ShowTab(2);
  ClickToState("chLogging", false);
  // The mouse pressed on Cancel and released beside it: Cancel has the
  // focus without being clicked.
  HWND cancel = Control("buCancel");
  ::PostMessageA(cancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageA(cancel, WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == cancel; }, 5000));
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return (StyleOf(cancel) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }, 5000));
  EXPECT_EQ(StyleOf(Control("buOK")) & BS_TYPEMASK, BS_PUSHBUTTON);
  e2e::PostKey(cancel, VK_RETURN);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000));
  EXPECT_EQ(e2e::SettingDword("Logging"), 1u) << "Enter on Cancel cancels";
}

TEST_F(SettingsDialogTest, TabGoesFromTheButtonsToTheTabsAndThroughThePage) {
  ShowDialog();
  const std::vector<std::string> order = {"buHelp", "pcSettings", "lvDrives", "buCancel", "buOK"};
  for (const std::string& next : order) {
    e2e::PostKey(e2e::FocusOf(dialog), VK_TAB);
    EXPECT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == Control(next); }, 5000)) << next;
  }
}

// Ctrl+Tab as the keyboard sends it, through the system's input queue:
// the program reads the state of Ctrl and Shift, which posted messages
// would not set.
void PressCtrlTab(bool shift) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  key(VK_CONTROL, false);
  if (shift) key(VK_SHIFT, false);
  key(VK_TAB, false);
  key(VK_TAB, true);
  if (shift) key(VK_SHIFT, true);
  key(VK_CONTROL, true);
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST_F(SettingsDialogTest, CtrlTabTurnsThePagesWhileTheFocusIsOnTheTabsOrAPage) {
  ShowDialog();
  ShowTab(1);  // the click puts the focus on the tabs
  ASSERT_EQ(e2e::FocusOf(dialog), Control("pcSettings"));
  PressCtrlTab(false);
  EXPECT_TRUE(e2e::WaitFor([&] { return VisiblePage() == 2; }, 5000));
  PressCtrlTab(true);
  EXPECT_TRUE(e2e::WaitFor([&] { return VisiblePage() == 1; }, 5000));
  PressCtrlTab(true);
  PressCtrlTab(true);
  EXPECT_TRUE(e2e::WaitFor([&] { return VisiblePage() == 3; }, 5000)) << "it wraps round";
  EXPECT_EQ(e2e::FocusOf(dialog), Control("pcSettings"));

  // From a control of the page the focus goes along to the new page.
  ShowTab(0);
  Click("lvDrives");
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == Control("lvDrives"); }, 5000));
  PressCtrlTab(false);
  EXPECT_TRUE(e2e::WaitFor([&] { return VisiblePage() == 1; }, 5000));
  EXPECT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == Control("rbNoSound"); }, 5000));

  // From the buttons below the pages it does nothing.
  ClickToState("rbNoSound", true);
  HWND help = Control("buHelp");
  ::PostMessageA(help, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageA(help, WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == help; }, 5000));
  PressCtrlTab(false);
  EXPECT_TRUE(e2e::HoldsFor([&] { return VisiblePage() == 1; }, 1000));
}

// The removable drives' box: Alt+U ticks it, OK stores REG_DWORD 1, a
// restart shows it ticked, and unticking it undone by Cancel keeps it.
// The reminder's box answers its own letter, K, as well.
TEST_F(SettingsDialogTest, TheRemovableDrivesBoxIsSavedByOkAndReloadedAtEveryClose) {
  ShowDialog();
  ShowTab(3);
  const struct {
    char key;
    const char* box;
  } added[] = {{'k', "chRemindWhenAway"}, {'u', "chRemovableDrives"}};
  for (const auto& [key, name] : added) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(IsChecked(Control(name)));
    ::PostMessageA(e2e::FocusOf(dialog), WM_SYSCHAR, key, 1 << 29);
    ASSERT_TRUE(e2e::WaitFor([&] { return IsChecked(Control(name)); }, 5000)) << "Alt+" << key;
    EXPECT_EQ(e2e::FocusOf(dialog), Control(name));
  }
  HWND box = Control("chRemovableDrives");
  // Tab from chNoDialog reaches it next.
  Click("chNoDialog");
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == Control("chNoDialog"); }, 5000));
  ClickToState("chNoDialog", false);
  e2e::PostKey(Control("chNoDialog"), VK_TAB);
  EXPECT_TRUE(e2e::WaitFor([&] { return e2e::FocusOf(dialog) == box; }, 5000));
  e2e::PostKey(box, VK_RETURN);  // Enter on a check box is OK
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000));
  EXPECT_EQ(e2e::SettingDword("RemovableDrives"), 1u) << "a REG_DWORD 1";
  EXPECT_EQ(e2e::SettingDword("RemindWhenAway"), 1u);

  RestartProgram();
  ShowDialog();
  ShowTab(3);
  box = Control("chRemovableDrives");
  EXPECT_TRUE(IsChecked(box));
  ClickToState("chRemovableDrives", false);
  CloseWith("buCancel");
  ShowDialog();
  ShowTab(3);
  EXPECT_TRUE(IsChecked(Control("chRemovableDrives"))) << "the close reloaded the stored choice";
  EXPECT_EQ(e2e::SettingDword("RemovableDrives"), 1u);
}

TEST_F(SettingsDialogTest, TheTabsAccessKeysTurnThePages) {
  ShowDialog();
  const struct {
    char key;
    int page;
  } keys[] = {{'o', 3}, {'L', 2}, {'s', 1}, {'d', 0}};
  for (const auto& k : keys) {
    ::PostMessageA(e2e::FocusOf(dialog), WM_SYSCHAR, k.key, 1 << 29);
    EXPECT_TRUE(e2e::WaitFor([&] { return VisiblePage() == k.page; }, 5000)) << k.key;
  }
  EXPECT_TRUE(::IsWindowVisible(dialog)) << "Alt+O turns to the Other page, it does not press OK";
}

}  // namespace
