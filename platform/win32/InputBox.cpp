#include "platform/win32/InputBox.h"

#include "platform/Failure.h"
#include "platform/win32/Controls.h"
#include "platform/win32/Forms.h"
#include "platform/win32/Module.h"
#include "platform/win32/WideText.h"

#include <cstddef>

namespace platform {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

// The template's sizes are dialog units of its 8-point MS Sans Serif.
struct TemplateItem {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  WORD classAtom;  // 0x0080 button, 0x0081 edit, 0x0082 static
};

constexpr TemplateItem kItems[] = {
    {SS_LEFT | SS_NOPREFIX | WS_GROUP, 8, 8, 164, 10, kPromptId, 0x0082},
    {ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 8, 20, 164, 12, kEditId, 0x0081},
    {BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 38, 41, 50, 14, IDOK, 0x0080},
    {BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 92, 41, 50, 14, IDCANCEL, 0x0080},
};

// A dialog template in memory: WORDs, each item on a DWORD boundary. The
// template holds wide strings only; the texts are set once the box exists.
// It is laid out by the compiler, and a layout that outgrows its room
// fails the build.
class DialogTemplate {
 public:
  constexpr void Word(WORD value) { words_[size_++] = value; }
  constexpr void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  // The characters and the closing zero.
  constexpr void WideText(const wchar_t* text) {
    for (;; ++text) {
      Word(static_cast<WORD>(*text));
      if (*text == L'\0') break;
    }
  }
  constexpr void AlignToDword() {
    if (size_ % 2 != 0) Word(0);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_); }

 private:
  // Windows reads the template as DWORDs and DLGITEMTEMPLATEs. The room is
  // the length of the box in the longer of its two faces.
  alignas(DWORD) WORD words_[90] = {};
  std::size_t size_ = 0;
};

constexpr DialogTemplate BuildTemplate(const wchar_t* face) {
  DialogTemplate t;
  t.Dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);  // extended style
  t.Word(static_cast<WORD>(sizeof kItems / sizeof kItems[0]));
  t.Word(0);
  t.Word(0);
  t.Word(180);  // width
  t.Word(63);   // height
  t.Word(0);    // no menu
  t.Word(0);    // the dialog class
  t.WideText(L"");
  t.Word(8);
  t.WideText(face);
  for (const TemplateItem& item : kItems) {
    t.AlignToDword();
    t.Dword(item.style | WS_CHILD | WS_VISIBLE);
    t.Dword(0);
    t.Word(static_cast<WORD>(item.x));
    t.Word(static_cast<WORD>(item.y));
    t.Word(static_cast<WORD>(item.cx));
    t.Word(static_cast<WORD>(item.cy));
    t.Word(item.id);
    t.Word(0xFFFF);
    t.Word(item.classAtom);
    t.WideText(L"");
    t.Word(0);  // no creation data
  }
  return t;
}

// The designed face, and the one that shows every European letter.
constexpr DialogTemplate kTemplate = BuildTemplate(L"MS Sans Serif");
constexpr DialogTemplate kTranslatedTemplate = BuildTemplate(L"Microsoft Sans Serif");

struct InputRequest {
  const InputBoxTexts& texts;
  const std::string& value;
  int maxLength;
  std::string result;
};

INT_PTR HandleInputBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* request = reinterpret_cast<InputRequest*>(lParam);
      ::SetWindowLongPtrA(box, DWLP_USER, lParam);
      ::SetWindowTextW(box, WideText(request->texts.caption).c_str());
      ::SetDlgItemTextW(box, kPromptId, WideText(request->texts.prompt).c_str());
      ::SetDlgItemTextW(box, IDOK, WideText(request->texts.ok).c_str());
      ::SetDlgItemTextW(box, IDCANCEL, WideText(request->texts.cancel).c_str());
      // The label typed is data, kept in the system's code page: the edit
      // box's text goes in and out through the ANSI calls.
      HWND edit = ::GetDlgItem(box, kEditId);
      ::SendMessageA(edit, EM_LIMITTEXT, request->maxLength, 0);
      ::SetWindowTextA(edit, request->value.c_str());
      // The edit box takes the focus with its text selected, ready to be
      // typed over.
      ::SendMessageA(edit, EM_SETSEL, 0, -1);
      ::SetFocus(edit);
      return FALSE;
    }
    case WM_COMMAND: {
      auto* request = reinterpret_cast<InputRequest*>(::GetWindowLongPtrA(box, DWLP_USER));
      if (LOWORD(wParam) == IDOK) {
        request->result = WindowTextOf(::GetDlgItem(box, kEditId));
        ::EndDialog(box, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(box, IDCANCEL);
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return FALSE;
}

// The OK button's copy of the typed text allocates; a failure ends that
// message and leaves the box open, so the user can still cancel it.
INT_PTR CALLBACK InputBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return HandleInputBoxMessage(box, message, wParam, lParam);
  } catch (...) {
    Application.ShowException();
    return FALSE;
  }
}

}  // namespace

std::string InputBox(HWND owner, const InputBoxTexts& texts, const std::string& value,
                     int maxLength) {
  InputRequest request{texts, value, maxLength, value};
  const DialogTemplate& form = texts.translated ? kTranslatedTemplate : kTemplate;
  const INT_PTR answer =
      ::DialogBoxIndirectParamW(Instance(), form.Get(), owner, InputBoxProc,
                                reinterpret_cast<LPARAM>(&request));
  return answer == IDOK ? request.result : value;
}

}  // namespace platform
