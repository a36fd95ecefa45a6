#include "tests/e2e/Driver.h"

#include <cstdlib>
#include <stdexcept>

#include <shlwapi.h>

namespace e2e {

namespace {

std::string Environment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

const char kSettingsKey[] = "SOFTWARE\\Kestrome\\Dorvane\\4.0";

struct WindowSearch {
  DWORD processId;
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && ClassOf(hwnd) == search->className) {
    search->found.push_back(hwnd);
  }
  return TRUE;
}

BOOL CALLBACK CollectBoxChild(HWND child, LPARAM lParam) {
  auto* box = reinterpret_cast<MessageBoxInfo*>(lParam);
  const std::string cls = ClassOf(child);
  // The box's text is the static control with the id 0xFFFF; its icon is a
  // static too, without text.
  if (cls == "Static" && ::GetDlgCtrlID(child) == 0xFFFF) box->text = WindowText(child);
  if (cls == "Button") box->buttons.push_back(WindowText(child));
  return TRUE;
}

}  // namespace

std::string ProgramPath() { return Environment("DORVANE_EXE", "C:\\Dorvane\\dorvane.exe"); }

std::string ProgramFolder() {
  std::string path = ProgramPath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

std::string MediaFolder() { return Environment("DORVANE_MEDIA", "C:\\media"); }
std::string DesktopName() { return Environment("DORVANE_DESKTOP", "dorvane-e2e"); }

void AttachToDesktop() {
  HDESK desktop = ::OpenDesktopA(DesktopName().c_str(), 0, FALSE, GENERIC_ALL);
  if (desktop != nullptr) ::SetThreadDesktop(desktop);
}

// Wine reads a drive's label when its server starts, so each medium is
// made with its label by run-e2e.sh beforehand; the tests only take it out
// (the folder renamed) and put it back.
namespace {
std::string MediumFolder(char letter) {
  return MediaFolder() + "\\" + static_cast<char>(::tolower(letter));
}
}  // namespace

void InsertMedium(char letter) {
  ::MoveFileA((MediumFolder(letter) + "-out").c_str(), MediumFolder(letter).c_str());
}

void RemoveMedium(char letter) {
  ::MoveFileA(MediumFolder(letter).c_str(), (MediumFolder(letter) + "-out").c_str());
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::Sleep(50);
  }
}

std::vector<HWND> WindowsOf(DWORD processId, const char* className) {
  WindowSearch search{processId, className, {}};
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND hwnd) {
  char text[1024] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD processId) {
  for (HWND hwnd : WindowsOf(processId, "#32770")) {
    if (!::IsWindowVisible(hwnd)) continue;
    MessageBoxInfo box;
    box.hwnd = hwnd;
    box.caption = WindowText(hwnd);
    box.style = ::GetWindowLongA(hwnd, GWL_STYLE);
    box.exStyle = ::GetWindowLongA(hwnd, GWL_EXSTYLE);
    box.owner = ::GetWindow(hwnd, GW_OWNER);
    ::EnumChildWindows(hwnd, CollectBoxChild, reinterpret_cast<LPARAM>(&box));
    return box;
  }
  return std::nullopt;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  std::optional<MessageBoxInfo> box;
  WaitFor([&] { return (box = FindMessageBox(processId)).has_value(); }, timeoutMs);
  return box;
}

void PressBoxButton(HWND box, int id) { ::PostMessageA(box, WM_COMMAND, id, 0); }

// ---------------------------------------------------------------------------

Program::~Program() { Kill(); }

void Program::Start() {
  AttachToDesktop();
  std::string command = "C:\\windows\\explorer.exe /desktop=" + DesktopName() + ",800x600 " +
                        ProgramPath();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        ProgramFolder().c_str(), &startup, &info)) {
    throw std::runtime_error("cannot start " + command);
  }
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  AttachToDesktop();

  // The program is the process that owns the new main window.
  HWND found = nullptr;
  WaitFor(
      [&] {
        found = ::FindWindowA("TfmSplash", nullptr);
        if (found == nullptr) AttachToDesktop();
        return found != nullptr;
      },
      20000);
  if (found == nullptr) throw std::runtime_error("dorvane.exe did not create its main window");
  mainWindow_ = found;
  ::GetWindowThreadProcessId(found, &processId_);
  process_ = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId_);
  // Its settings dialog exists once the start-up is through.
  WaitFor([&] { return Window("TfmAbout") != nullptr; }, 20000);
}

void Program::Kill() {
  if (process_ == nullptr) return;
  ::TerminateProcess(process_, 1);
  ::WaitForSingleObject(process_, 10000);
  ::CloseHandle(process_);
  process_ = nullptr;
}

bool Program::WaitForExit(DWORD timeoutMs) {
  return process_ != nullptr && ::WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool Program::Running() {
  return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND Program::ApplicationWindow() const { return Window("TApplication"); }

HWND Program::Window(const char* className) const {
  std::vector<HWND> found = WindowsOf(processId_, className);
  return found.empty() ? nullptr : found.front();
}

UINT Program::ErrorMode() {
  // kernel32 lies at the same address in every process of the prefix, so
  // its GetErrorMode can be run as a thread of the program; the thread's
  // exit code is the program's own error mode.
  auto getErrorMode = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetErrorMode"));
  if (getErrorMode == nullptr) throw std::runtime_error("no GetErrorMode");
  HANDLE thread = ::CreateRemoteThread(process_, nullptr, 0, getErrorMode, nullptr, 0, nullptr);
  if (thread == nullptr) throw std::runtime_error("cannot run a thread in dorvane.exe");
  ::WaitForSingleObject(thread, 10000);
  DWORD mode = 0;
  ::GetExitCodeThread(thread, &mode);
  ::CloseHandle(thread);
  return mode;
}

void Program::LoadLibraryInside(const std::string& path) {
  void* remote = ::VirtualAllocEx(process_, nullptr, path.size() + 1, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
  ::WriteProcessMemory(process_, remote, path.c_str(), path.size() + 1, nullptr);
  auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "LoadLibraryA"));
  HANDLE thread = ::CreateRemoteThread(process_, nullptr, 0, loadLibrary, remote, 0, nullptr);
  if (thread == nullptr) throw std::runtime_error("cannot load " + path + " into dorvane.exe");
  ::WaitForSingleObject(thread, 10000);
  ::CloseHandle(thread);
  ::VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
}

// ---------------------------------------------------------------------------

EndSessionQuery::EndSessionQuery(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    : window_(window), message_(message), wParam_(wParam), lParam_(lParam) {
  thread_ = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

EndSessionQuery::~EndSessionQuery() {
  ::WaitForSingleObject(thread_, 130000);
  ::CloseHandle(thread_);
}

DWORD WINAPI EndSessionQuery::Run(void* self) {
  auto* query = static_cast<EndSessionQuery*>(self);
  AttachToDesktop();
  query->delivered_ =
      ::SendMessageTimeoutA(query->window_, query->message_, query->wParam_, query->lParam_,
                            SMTO_NORMAL, 120000, &query->answer_) != 0;
  return 0;
}

bool EndSessionQuery::Answered(DWORD timeoutMs) {
  return ::WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0;
}

// ---------------------------------------------------------------------------

void DeleteSettings() { ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKey); }

void SetSettingString(const std::string& name, const std::string& value, DWORD type) {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
  ::RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

void SetSettingDword(const std::string& name, DWORD value) {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
  ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
  ::RegCloseKey(key);
}

std::optional<std::string> SettingString(const std::string& name) {
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKey, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &type, data, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  return std::string(data);
}

std::optional<DWORD> SettingDword(const std::string& name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKey, name.c_str(), RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  ::CloseHandle(file);
  return bytes;
}

}  // namespace e2e

namespace e2e {

void ClickAt(int x, int y, bool right, int clicks) {
  AttachToDesktop();
  ::SetCursorPos(x, y);
  ::Sleep(100);
  for (int i = 0; i < clicks; ++i) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
    ::Sleep(30);
  }
}

void PressKey(WORD virtualKey) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = virtualKey;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, input, sizeof(INPUT));
}

void SaveScreenshot(const std::string& name) {
  AttachToDesktop();
  const char* folder = std::getenv("SCREENSHOT_DIR_WIN");
  if (folder == nullptr) return;
  HWND desktop = ::GetDesktopWindow();
  RECT rect;
  ::GetWindowRect(desktop, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  const DWORD stride = ((width * 3 + 3) / 4) * 4;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + stride * height;
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(out, &file, sizeof file, &written, nullptr);
    ::WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    ::WriteFile(out, bits, stride * height, &written, nullptr);
    ::CloseHandle(out);
  }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace e2e

namespace e2e {

std::vector<std::string> OpenMenuItems(Program& program) {
  ::DeleteFileA("C:\\menu-probe.txt");
  program.LoadLibraryInside("C:\\menu_probe.dll");
  std::optional<std::string> dump;
  WaitFor([&] { return (dump = ReadFileBytes("C:\\menu-probe.txt")).has_value(); }, 5000);
  std::vector<std::string> lines;
  if (!dump) return lines;
  std::string::size_type start = 0, end;
  while ((end = dump->find('\n', start)) != std::string::npos) {
    lines.push_back(dump->substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace e2e
