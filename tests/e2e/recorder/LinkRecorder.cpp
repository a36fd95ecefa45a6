// Stands in for the web browser and the mail program in the end-to-end
// run: registered as the "open" command of http and mailto addresses, it
// takes the place of whatever the shell would start for a link. Each start
// appends one line to links.txt beside it: the address it was given, a
// tab, and the show command it was started with. The tests read that file
// to see every link the program opened, exactly as the shell passed it on.

#include <windows.h>

#include <string>

namespace {

// The command line's one argument, without the quotes of the registered
// command ("...LinkRecorder.exe" "%1").
std::string Argument(const char* commandLine) {
  std::string argument(commandLine);
  if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
    argument = argument.substr(1, argument.size() - 2);
  }
  return argument;
}

std::string LogPath() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "links.txt";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  ::GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  const std::string line = Argument(commandLine) + "\t" + std::to_string(show) + "\r\n";

  // Appending in one write keeps the lines of two quick starts apart.
  HANDLE file = ::CreateFileA(LogPath().c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
