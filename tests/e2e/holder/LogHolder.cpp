// Another program that holds the log open: the end-to-end tests start it
// as  LogHolder.exe PATH ACCESS SHARE EVENT  with the access and sharing
// flags of CreateFileA in hexadecimal. It opens the file, sets the named
// event to say so, and keeps the file open until it is ended. Exit code 2:
// the file could not be opened.

#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 5) return 1;
  const DWORD access = std::strtoul(argv[2], nullptr, 16);
  const DWORD share = std::strtoul(argv[3], nullptr, 16);
  HANDLE file = ::CreateFileA(argv[1], access, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[4]);
  if (ready == nullptr) return 3;
  ::SetEvent(ready);
  ::Sleep(INFINITE);
  return 0;
}
