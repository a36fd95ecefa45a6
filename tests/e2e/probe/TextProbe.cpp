// Loaded into dorvane.exe by the end-to-end tests to tell what its windows
// show and where, hidden ones too (the pages behind the one shown, the
// splash after its four seconds): each window and control with its class, place,
// whether it is a wide (Unicode) window, its style, the font it draws in
// and its text as UTF-16 read back; each tab of a tab control with its
// place. Writes C:\text-probe.txt, one tab-separated line a window, then
// unloads itself. The driver measures the texts in the same fonts.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ProbeOutput.h"

namespace {

std::string out;

std::string Utf8(const wchar_t* text, int length) {
  if (length <= 0) return std::string();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, &utf8[0], size, nullptr, nullptr);
  for (char& c : utf8) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return utf8;
}

std::string TextOf(HWND window) {
  wchar_t text[2048] = {};
  const LRESULT length = ::SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
  return Utf8(text, static_cast<int>(length));
}

void Field(const std::string& value) { out += value + "\t"; }
void Field(long long value) { Field(std::to_string(value)); }

void Tabs(HWND tabs) {
  const int count = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  const int rows = static_cast<int>(::SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    RECT rect = {};
    ::SendMessageW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
    out += "tab\t";
    Field(reinterpret_cast<UINT_PTR>(tabs));
    Field(i);
    Field(rect.left), Field(rect.top), Field(rect.right), Field(rect.bottom);
    Field(rows);
    out += Utf8(text, lstrlenW(text)) + "\n";
  }
}

void Describe(HWND window) {
  char cls[64] = {};
  ::GetClassNameA(window, cls, sizeof cls);
  HWND parent = ::GetAncestor(window, GA_PARENT);
  RECT rect;
  ::GetWindowRect(window, &rect);
  if (::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) {
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  LOGFONTW font = {};
  HFONT handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  if (handle == nullptr || ::GetObjectW(handle, sizeof font, &font) == 0) font = LOGFONTW{};
  out += "window\t";
  Field(reinterpret_cast<UINT_PTR>(window));
  Field(reinterpret_cast<UINT_PTR>(parent));
  Field(cls);
  Field(::GetDlgCtrlID(window));
  Field(rect.left), Field(rect.top), Field(rect.right), Field(rect.bottom);
  Field(::IsWindowUnicode(window) ? 1 : 0);
  Field(static_cast<long long>(static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE))));
  Field(Utf8(font.lfFaceName, lstrlenW(font.lfFaceName)));
  Field(font.lfHeight), Field(font.lfWeight);
  out += TextOf(window) + "\n";
  if (lstrcmpiA(cls, WC_TABCONTROLA) == 0) Tabs(window);
}

BOOL CALLBACK EachChild(HWND child, LPARAM) {
  Describe(child);
  return TRUE;
}

BOOL CALLBACK EachWindow(HWND window, LPARAM) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != ::GetCurrentProcessId()) return TRUE;
  Describe(window);
  ::EnumChildWindows(window, EachChild, 0);  // every descendant
  return TRUE;
}

std::string Probe() {
  ::EnumWindows(EachWindow, 0);
  return out;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  return StartProbe(instance, reason, Probe, "C:\\text-probe.tmp", "C:\\text-probe.txt");
}
