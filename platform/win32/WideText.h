#pragma once
// The meeting of the program's texts with Windows' wide-character
// functions: a shown text, UTF-8 while the program holds it, becomes
// UTF-16 for the call; data in the system's ANSI code page becomes UTF-8
// where it goes into a shown text. A plain buffer rather than
// std::wstring, whose instantiation would add several kilobytes to the
// program.

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

class WideText {
 public:
  // `text` in `codePage`: CP_UTF8 for a shown text, CP_ACP for data. A
  // std::string converts whole, zeros inside it included (a filter).
  explicit WideText(const std::string& text, UINT codePage = CP_UTF8)
      : WideText(text.data(), text.size(), codePage) {}
  WideText(const char* text, UINT codePage = CP_UTF8);

  const wchar_t* c_str() const { return text_.data(); }
  wchar_t* data() { return text_.data(); }
  // In characters, without the terminating zero.
  int Length() const { return length_; }

  // The whole text of a window or control.
  static WideText OfWindow(HWND hwnd);

 private:
  WideText(const char* text, std::size_t length, UINT codePage);
  explicit WideText(int length) : text_(static_cast<std::size_t>(length) + 1), length_(length) {}
  std::vector<wchar_t> text_;  // with the terminating zero
  int length_;
};

// UTF-16 as UTF-8, or as the system's ANSI code page.
std::string NarrowText(const wchar_t* text, int length, UINT codePage = CP_UTF8);

// Data in the system's ANSI code page as UTF-8.
std::string Utf8FromAnsi(const std::string& text);

}  // namespace platform
