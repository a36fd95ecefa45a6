// The framework's error box, met where a failure leaves a window procedure,
// the message loop's own steps or the windows' creation; and the windows a
// message box disables for as long as it is open. A second thread watches
// for the box, reads it and presses OK, as the user would.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/win32/Forms.h"
#include "platform/win32/MessageBox.h"

namespace {

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// What the watcher read from one box.
struct SeenBox {
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
  bool hasIcon = false;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM lParam) {
  auto* box = reinterpret_cast<SeenBox*>(lParam);
  const std::string kind = ClassOf(child);
  const LONG style = ::GetWindowLongA(child, GWL_STYLE);
  if (kind == "Button") {
    box->buttons.push_back(TextOf(child));
  } else if (kind == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
    box->hasIcon = true;
  } else if (kind == "Static" && !TextOf(child).empty()) {
    box->text = TextOf(child);
  }
  return TRUE;
}

BOOL CALLBACK FindOwnBox(HWND window, LPARAM lParam) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (processId != ::GetCurrentProcessId() || !::IsWindowVisible(window) ||
      ClassOf(window) != "#32770") {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(lParam) = window;
  return FALSE;
}

// Watches for the process's message boxes until it is destroyed: reads
// each, runs `whileOpen` while it is still open, presses its OK, and runs
// `afterClose` once it has gone.
class BoxWatcher {
 public:
  explicit BoxWatcher(std::function<void()> whileOpen = {}, std::function<void()> afterClose = {})
      : whileOpen_(std::move(whileOpen)), afterClose_(std::move(afterClose)) {
    stop_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, Watch, this, 0, nullptr);
  }
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;
  ~BoxWatcher() {
    ::SetEvent(stop_);
    ::WaitForSingleObject(thread_, INFINITE);
    ::CloseHandle(thread_);
    ::CloseHandle(stop_);
  }
  // The boxes seen so far; call once the box's call has returned.
  const std::vector<SeenBox>& Seen() const { return seen_; }

 private:
  static DWORD WINAPI Watch(void* self) {
    auto* watcher = static_cast<BoxWatcher*>(self);
    while (::WaitForSingleObject(watcher->stop_, 20) == WAIT_TIMEOUT) {
      HWND box = nullptr;
      ::EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
      if (box == nullptr) continue;
      SeenBox seen;
      seen.caption = TextOf(box);
      ::EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&seen));
      if (watcher->whileOpen_) watcher->whileOpen_();
      watcher->seen_.push_back(seen);
      ::PostMessageA(box, WM_COMMAND, IDOK, 0);
      for (int wait = 0; wait < 250 && ::IsWindow(box); ++wait) ::Sleep(20);
      if (watcher->afterClose_) watcher->afterClose_();
    }
    return 0;
  }

  std::function<void()> whileOpen_;
  std::function<void()> afterClose_;
  std::vector<SeenBox> seen_;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
};

void ExpectErrorBox(const std::vector<SeenBox>& seen, const std::string& text) {
  ASSERT_EQ(seen.size(), 1u) << "one error box";
  EXPECT_EQ(seen[0].caption, "Dorvane");
  EXPECT_EQ(seen[0].text, text);
  EXPECT_EQ(seen[0].buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(seen[0].hasIcon);
}

constexpr UINT kFailNow = WM_APP + 1;

// A window whose handlers fail on demand: at kFailNow, and at any key the
// loop lets it preview.
class FailingForm : public platform::TForm {
 public:
  FailingForm() {
    platform::RegisterFormClass("TfmFailingTest", nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateHandle("TfmFailingTest", "Failing", WS_POPUP | WS_CAPTION, 0, 200, 100);
  }
  int previews = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kFailNow) throw platform::Failure("Stream write error");
    return TForm::HandleMessage(message, wParam, lParam);
  }
  bool PreviewDialogKey(MSG& msg) override {
    if (msg.message != WM_KEYDOWN) return false;
    ++previews;
    throw platform::Failure("Unable to insert a line");
  }
};

// The one application object of the process, made once; its forms are
// never destroyed, as in the program.
FailingForm* MainForm() {
  static FailingForm* form = [] {
    platform::Application.Initialize();
    platform::Application.SetTitle("Dorvane");
    FailingForm* created = nullptr;
    platform::Application.CreateForm(created);
    return created;
  }();
  return form;
}

TEST(ErrorBoxTest, AFailingWindowMessageIsShownAndAnswersZero) {
  FailingForm* form = MainForm();
  LRESULT answer = -1;
  {
    BoxWatcher watcher;
    answer = ::SendMessageA(form->Handle(), kFailNow, 0, 0);
    ExpectErrorBox(watcher.Seen(), "Stream write error.");
  }
  EXPECT_EQ(answer, 0);
}

TEST(ErrorBoxTest, AFailingKeyPreviewIsShownAndTheLoopGoesOn) {
  FailingForm* form = MainForm();
  // The first run only shows the main window. In the second the key reaches
  // the loop while the window is active; the quit message, posted once the
  // box has gone (a box's own loop would end at it), is then the loop's to
  // take, had the failure not ended it.
  platform::Application.Terminate();
  platform::Application.Run();
  ::SetActiveWindow(form->Handle());
  ASSERT_EQ(::GetActiveWindow(), form->Handle());
  const DWORD loopThread = ::GetCurrentThreadId();
  BoxWatcher watcher({}, [loopThread] { ::PostThreadMessageA(loopThread, WM_QUIT, 0, 0); });
  ::PostMessageA(form->Handle(), WM_KEYDOWN, VK_TAB, 0);
  platform::Application.Run();
  EXPECT_EQ(form->previews, 1);
  ExpectErrorBox(watcher.Seen(), "Unable to insert a line.");
}

TEST(ErrorBoxTest, AFailedStartIsShownAndReported) {
  MainForm();
  bool ran = false;
  bool created = false;
  {
    BoxWatcher watcher;
    created = platform::Application.RunStart([&] {
      ran = true;
      throw platform::Failure("Cannot create file A:\\dvn.dvl");
    });
    ExpectErrorBox(watcher.Seen(), "Cannot create file A:\\dvn.dvl.");
  }
  EXPECT_TRUE(ran);
  EXPECT_FALSE(created);

  ran = false;
  EXPECT_TRUE(platform::Application.RunStart([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST(ProgramMessageBoxTest, DisablesTheOtherWindowsWhileOpenAndEnablesThemAfter) {
  FailingForm* form = MainForm();
  form->Show();
  ASSERT_TRUE(::IsWindowEnabled(form->Handle()));
  bool enabledWhileOpen = true;
  {
    BoxWatcher watcher([&] { enabledWhileOpen = ::IsWindowEnabled(form->Handle()) != FALSE; });
    platform::ShowProgramMessageBox(nullptr, "Question", "Dorvane", MB_OK);
    ASSERT_EQ(watcher.Seen().size(), 1u);
  }
  EXPECT_FALSE(enabledWhileOpen);
  EXPECT_TRUE(::IsWindowEnabled(form->Handle()));
  EXPECT_EQ(::GetActiveWindow(), form->Handle()) << "the window that was active is again";
  form->Hide();
}

}  // namespace
