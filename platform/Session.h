#pragma once
// Session control: asking Windows to end the session.

namespace platform {

constexpr unsigned kEwxShutdown = 1;
constexpr unsigned kEwxReboot = 2;

class Session {
 public:
  virtual ~Session() = default;

  // ExitWindowsEx, with the shut-down privilege switched on first where
  // the user holds it. Returns at once; the end of the session follows.
  virtual bool EndSession(unsigned flags, unsigned reason) = 0;
};

}  // namespace platform
