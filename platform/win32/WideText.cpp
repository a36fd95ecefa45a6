#include "platform/win32/WideText.h"

#include <cstring>

namespace platform {

WideText::WideText(const char* text, std::size_t length, UINT codePage) : length_(0) {
  const int bytes = static_cast<int>(length);
  const int size = bytes > 0 ? ::MultiByteToWideChar(codePage, 0, text, bytes, nullptr, 0) : 0;
  // A text that does not convert (never the program's own) shows as empty.
  text_.assign(size > 0 ? static_cast<std::size_t>(size) + 1 : 1, L'\0');
  if (size > 0) length_ = ::MultiByteToWideChar(codePage, 0, text, bytes, text_.data(), size);
}

WideText::WideText(const char* text, UINT codePage)
    : WideText(text, std::strlen(text), codePage) {}

std::string NarrowText(const wchar_t* text, int length, UINT codePage) {
  const int size =
      length > 0 ? ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr)
                 : 0;
  std::string narrow(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) ::WideCharToMultiByte(codePage, 0, text, length, &narrow[0], size, nullptr, nullptr);
  return narrow;
}

std::string Utf8FromAnsi(const std::string& text) {
  const WideText wide(text, CP_ACP);
  return NarrowText(wide.c_str(), wide.Length());
}

WideText WideText::OfWindow(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  WideText text(length > 0 ? length : 0);
  if (length > 0) {
    const int copied = ::GetWindowTextW(hwnd, text.text_.data(), length + 1);
    text.length_ = copied > 0 ? copied : 0;
    text.text_[text.length_] = L'\0';
  }
  return text;
}

}  // namespace platform
