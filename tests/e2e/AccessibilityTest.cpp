// What a screen reader learns of the program's windows, asked from
// another process through Active Accessibility as a screen reader asks:
// each control's role, name and state. The system's own controls answer
// with Wine's objects, whose roles and names are Wine's (a button's name
// is its caption; most roles are "client"); the program's own controls
// answer with theirs.

#include <windows.h>
#include <oleacc.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "resources/AboutLayout.h"
#include "resources/SettingsLayout.h"
#include "tests/e2e/Driver.h"
#include "tests/texts/EnglishTexts.h"

namespace {

using layout::Kind;

struct Facts {
  HRESULT found = E_FAIL;  // AccessibleObjectFromWindow's answer
  LONG role = 0;
  LONG state = 0;
  std::string name;
  bool named = false;
  std::string action;
  int children = -1;  // listed through IEnumVARIANT; -1: no list
};

std::string Narrow(BSTR text) {
  std::string narrow;
  if (text == nullptr) return narrow;
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  narrow.resize(size > 0 ? size - 1 : 0);
  if (size > 1) ::WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], size, nullptr, nullptr);
  ::SysFreeString(text);
  return narrow;
}

VARIANT Self() {
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// The control's object, asked as a screen reader asks for it; `act` then
// carries out its default action.
Facts AskInThisThread(HWND hwnd, bool act) {
  Facts facts;
  IAccessible* object = nullptr;
  facts.found = ::AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object));
  if (FAILED(facts.found) || object == nullptr) return facts;
  VARIANT value;
  ::VariantInit(&value);
  if (SUCCEEDED(object->get_accRole(Self(), &value)) && value.vt == VT_I4) facts.role = value.lVal;
  ::VariantInit(&value);
  if (SUCCEEDED(object->get_accState(Self(), &value)) && value.vt == VT_I4) facts.state = value.lVal;
  BSTR text = nullptr;
  facts.named = object->get_accName(Self(), &text) == S_OK;
  facts.name = Narrow(text);
  text = nullptr;
  if (object->get_accDefaultAction(Self(), &text) == S_OK) facts.action = Narrow(text);
  if (act) object->accDoDefaultAction(Self());
  IEnumVARIANT* children = nullptr;
  if (SUCCEEDED(object->QueryInterface(__uuidof(IEnumVARIANT),
                                       reinterpret_cast<void**>(&children)))) {
    facts.children = 0;
    VARIANT child;
    ::VariantInit(&child);
    ULONG fetched = 0;
    while (children->Next(1, &child, &fetched) == S_OK && fetched == 1) {
      ++facts.children;
      ::VariantClear(&child);
    }
    children->Release();
  }
  object->Release();
  return facts;
}

// Asked from a thread of its own: COM's apartment gives a thread a window,
// and a thread with a window cannot move to the program's desktop, which
// the driver's main thread does at each start.
Facts Ask(HWND hwnd, bool act = false) {
  Facts facts;
  std::thread asking([&] {
    e2e::AttachToDesktop();
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return;
    facts = AskInThisThread(hwnd, act);
    ::CoUninitialize();
  });
  asking.join();
  return facts;
}

// The names the program gives where no text of the control's own is said:
// the panels say the option their controls belong to, the pages their tab.
struct GivenName {
  const char* control;
  const char* name;
};
const GivenName kGivenNames[] = {
    {"tsDrives", "Drives"},
    {"tsSound", "Sound"},
    {"tsLogging", "Logging"},
    {"tsOther", "Other"},
    {"paSoundFile", "Play a sound file upon notification"},
    {"paSoundWindows", "Play a Windows default sound upon notification."},
    {"paLogging", "Maintain a log-file and log all notifications."},
    {"paExclusion", "Don't warn if the label of the detected disk is one of the following:"},
};

const char* GivenNameOf(const char* control) {
  for (const GivenName& given : kGivenNames) {
    if (std::strcmp(given.control, control) == 0) return given.name;
  }
  return nullptr;
}

// What each of a window's controls tells: the program's own their role,
// name and state; the system's a role, their caption as the name where
// they show one, and whether they are unavailable.
void ExpectEachControlTells(const layout::Control* table, std::size_t count, HWND window) {
  for (std::size_t row = 0; row < count; ++row) {
    const layout::Control& control = table[row];
    SCOPED_TRACE(control.name);
    HWND hwnd = e2e::FindControl(window, layout::kFirstControlId + static_cast<int>(row));
    ASSERT_NE(hwnd, nullptr);
    const Facts facts = Ask(hwnd);
    ASSERT_EQ(facts.found, S_OK);
    const std::string text = control.text.In(EnglishTexts());
    const bool link = (control.options & layout::kLink) != 0;
    const bool decoration = control.kind == Kind::Image && text.empty();
    const char* given = GivenNameOf(control.name);
    // A page or panel lists what it holds, as a screen reader reads it.
    const auto heldByIt = std::count_if(table, table + count, [&](const layout::Control& other) {
      return other.parent != nullptr && std::strcmp(other.parent, control.name) == 0;
    });
    switch (control.kind) {
      case Kind::Label:
        EXPECT_EQ(facts.role, link ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT);
        EXPECT_EQ(facts.name, text);
        EXPECT_EQ(facts.state & STATE_SYSTEM_FOCUSABLE, link ? STATE_SYSTEM_FOCUSABLE : 0);
        EXPECT_EQ(facts.state & STATE_SYSTEM_READONLY, link ? 0 : STATE_SYSTEM_READONLY);
        EXPECT_EQ(facts.action, link ? "Jump" : "");
        break;
      case Kind::Image:
        EXPECT_EQ(facts.role, ROLE_SYSTEM_GRAPHIC);
        EXPECT_EQ(facts.name, text);
        // Decoration is what screen readers pass over, as what cannot be seen.
        EXPECT_EQ(facts.state & STATE_SYSTEM_INVISIBLE, decoration ? STATE_SYSTEM_INVISIBLE : 0);
        break;
      case Kind::Bevel:
        EXPECT_EQ(facts.role, ROLE_SYSTEM_SEPARATOR);
        EXPECT_FALSE(facts.named);
        break;
      case Kind::Panel:
        EXPECT_EQ(facts.role, ROLE_SYSTEM_GROUPING);
        EXPECT_EQ(facts.name, given != nullptr ? given : text);
        EXPECT_EQ(facts.children, heldByIt);
        break;
      case Kind::TabSheet:
        EXPECT_EQ(facts.role, ROLE_SYSTEM_PROPERTYPAGE);
        EXPECT_EQ(facts.name, given != nullptr ? given : "?");
        EXPECT_EQ(facts.children, heldByIt);
        break;
      case Kind::Button:
      case Kind::CheckBox:
      case Kind::RadioButton:
        EXPECT_GT(facts.role, 0);
        EXPECT_EQ(facts.name, e2e::WithoutAccessKey(text));
        break;
      default:
        EXPECT_GT(facts.role, 0);
        break;
    }
    EXPECT_EQ((facts.state & STATE_SYSTEM_UNAVAILABLE) != 0, ::IsWindowEnabled(hwnd) == FALSE);
  }
}

class AccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::ForgetOpenedLinks();
    program.Start();
  }
  void TearDown() override {
    program.Kill();
    e2e::ForgetOpenedLinks();
  }

  e2e::Program program;
};

TEST_F(AccessibilityTest, EveryControlOfTheSettingsDialogsPagesTellsWhatItIs) {
  HWND dialog = e2e::ShowSettingsDialog(program);
  ASSERT_NE(dialog, nullptr);
  ExpectEachControlTells(layout::kSettingsLayout, std::size(layout::kSettingsLayout), dialog);
}

TEST_F(AccessibilityTest, EveryControlOfTheAboutDialogTellsWhatItIsAndALinkOpensAsItsAction) {
  ASSERT_TRUE(program.EndSplash());
  e2e::SendTrayCommand(program.MainWindow(), "miAbout");
  HWND about = program.Window("TfmAbout");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(about) != FALSE; }, 10000));
  ExpectEachControlTells(layout::kAboutLayout, std::size(layout::kAboutLayout), about);

  // A screen reader's default action on a link is the link's click.
  const int webSite = layout::ControlId(layout::kAboutLayout, "laWebSite");
  Ask(e2e::FindControl(about, webSite), true);
  ASSERT_TRUE(e2e::WaitFor([] { return !e2e::OpenedLinks().empty(); }, 10000));
  EXPECT_EQ(e2e::OpenedLinks(), std::vector<std::string>{std::string(layout::kMakerWebSite) + "\t0"});
  EXPECT_TRUE(::IsWindowVisible(about));
}

}  // namespace
