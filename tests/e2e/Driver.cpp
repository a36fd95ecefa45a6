#include "tests/e2e/Driver.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "shell/SplashUn.h"

namespace e2e {

namespace {

std::string Environment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

const char kSettingsKey[] = "SOFTWARE\\Kestrome\\Dorvane\\4.0";

ScreenPixels SteadyPicture(HWND window, const RECT& rect);

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

namespace {
bool PollWithin(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::Sleep(pollMs);
  }
}

// A wait's limit only bounds how long a failure takes to show. With a
// build or another Wine job beside the tests, Wine's windows come several
// times later than on an idle machine: each limit is stretched so much.
constexpr DWORD kLoadAllowance = 3;
}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  return PollWithin(condition, timeoutMs * kLoadAllowance, pollMs);
}

std::vector<HWND> WindowsOf(DWORD processId, const char* className) {
  // The top-level windows of the class, as the window manager finds them
  // by class: far fewer calls than asking every window of the desktop.
  std::vector<HWND> found;
  HWND window = nullptr;
  while ((window = ::FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId) found.push_back(window);
  }
  return found;
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

namespace {

// Every main window on the desktop, of whatever process.
std::vector<HWND> MainWindows() {
  std::vector<HWND> found;
  HWND window = nullptr;
  while ((window = ::FindWindowExA(nullptr, window, "TfmSplash", nullptr)) != nullptr) {
    found.push_back(window);
  }
  return found;
}

}  // namespace

void Program::Start(const std::string& path) {
  AttachToDesktop();
  // The windows of a program that a test has just ended can linger for a
  // moment; the new program is the one whose main window is new.
  const std::vector<HWND> before = MainWindows();
  std::string command = "C:\\windows\\explorer.exe /desktop=" + DesktopName() + ",800x600 " + path;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  // Wine refused the start now and then (seen once in a whole run, under
  // load, the program before just ended): the start is tried until it
  // succeeds, for a while, and a failure says Windows' error.
  DWORD error = 0;
  WaitFor([&] {
    if (::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                         &startup, &info)) {
      return true;
    }
    error = ::GetLastError();
    return false;
  }, 5000, 100);
  if (info.hProcess == nullptr) {
    throw std::runtime_error("cannot start " + command + " (error " + std::to_string(error) + ")");
  }
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  AttachToDesktop();

  // The program is the process that owns the new main window.
  HWND found = nullptr;
  WaitFor(
      [&] {
        AttachToDesktop();
        for (HWND window : MainWindows()) {
          if (std::find(before.begin(), before.end(), window) == before.end()) found = window;
        }
        return found != nullptr;
      },
      20000);
  if (found == nullptr) throw std::runtime_error("dorvane.exe did not create its main window");
  mainWindow_ = found;
  resident_ = false;
  ::GetWindowThreadProcessId(found, &processId_);
  process_ = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId_);
  // The start-up is through when the last window exists and the message
  // loop has shown the splash.
  WaitFor([&] { return Window("TfmAbout") != nullptr && ::IsWindowVisible(mainWindow_); }, 20000);
}

void Program::Kill() {
  if (process_ == nullptr) return;
  // Exit from the menu first, so that the program takes its icon out of
  // the notification area: a killed program leaves its icon behind for a
  // while, where the next program's icon would otherwise sit.
  if (Running() && !FindMessageBox(processId_)) {
    ChooseTrayCommand(mainWindow_, "miExit");
    ::WaitForSingleObject(process_, 3000);
  }
  ::TerminateProcess(process_, 1);
  ::WaitForSingleObject(process_, 10000);
  ::CloseHandle(process_);
  process_ = nullptr;
  // A program that ended with the session, or was killed, leaves its icon
  // behind; the shell knows an icon by its window handle and number only,
  // so the driver can take it out for the program.
  NOTIFYICONDATAA icon = {};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = mainWindow_;
  icon.uID = 1;
  ::Shell_NotifyIconA(NIM_DELETE, &icon);
}

bool Program::WaitForExit(DWORD timeoutMs) {
  return process_ != nullptr && ::WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool Program::Running() {
  return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND Program::ApplicationWindow() const { return Window("TApplication"); }

bool Program::EndSplash(DWORD timeoutMs) {
  if (resident_) return true;
  // Once the splash shows: a timer message that came before the window's
  // showing would hide a window not yet shown. Ignored once the splash has
  // ended by itself: its timer is gone then.
  WaitFor([&] { return ::IsWindowVisible(mainWindow_) != FALSE; }, 5000);
  ::PostMessageA(mainWindow_, WM_TIMER, TfmSplash::kVisibleTimerId, 0);
  resident_ = WaitFor([&] { return !::IsWindowVisible(mainWindow_); }, timeoutMs);
  return resident_;
}

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

std::optional<std::string> Program::CurrentDirectory() {
  // The process's current directory is kept in its process parameters,
  // which its PEB points to: read from outside as a debugger does. The
  // driver is built for the program's own bitness, so the layouts are its
  // own: the parameters' pointer at 0x10 in the PEB (0x20 on x64), the
  // current directory's UNICODE_STRING at 0x24 in them (0x38 on x64).
  using QueryFunction = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  struct {
    void* reserved1;
    void* peb;
    void* reserved2[4];
  } basic = {};
  if (query == nullptr || query(process_, 0, &basic, sizeof basic, nullptr) != 0) return {};
  constexpr bool k64 = sizeof(void*) == 8;
  const auto read = [&](const void* from, void* to, SIZE_T size) {
    SIZE_T got = 0;
    return ::ReadProcessMemory(process_, from, to, size, &got) && got == size;
  };
  const char* parameters = nullptr;
  struct {
    USHORT length;
    USHORT maximumLength;
    const wchar_t* buffer;
  } dosPath = {};
  if (!read(static_cast<const char*>(basic.peb) + (k64 ? 0x20 : 0x10), &parameters,
            sizeof parameters) ||
      !read(parameters + (k64 ? 0x38 : 0x24), &dosPath, sizeof dosPath)) {
    return {};
  }
  std::wstring path(dosPath.length / sizeof(wchar_t), L'\0');
  if (!read(dosPath.buffer, path.data(), dosPath.length)) return {};
  return std::string(path.begin(), path.end());
}

void Program::LoadLibraryInside(const std::string& path) {
  if (!CallInside("LoadLibraryA", path)) {
    throw std::runtime_error("cannot load " + path + " into dorvane.exe");
  }
}

std::optional<DWORD> Program::CallInside(const char* function, const std::string& argument) {
  void* remote = ::VirtualAllocEx(process_, nullptr, argument.size() + 1,
                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ::WriteProcessMemory(process_, remote, argument.c_str(), argument.size() + 1, nullptr);
  auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), function));
  HANDLE thread = ::CreateRemoteThread(process_, nullptr, 0, start, remote, 0, nullptr);
  std::optional<DWORD> result;
  if (thread != nullptr) {
    ::WaitForSingleObject(thread, 10000);
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    result = code;
  }
  ::VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
  return result;
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

SessionEndReply AskEndOfSession(const Program& program, DWORD timeoutMs) {
  SessionEndReply reply;
  EndSessionQuery query(program.MainWindow());
  const DWORD start = ::GetTickCount();
  while (!(reply.answered = query.Answered(2))) {
    if (auto box = FindMessageBox(program.ProcessId())) {
      reply.boxes.push_back(box->text);
      PressBoxButton(box->hwnd, IDOK);
      WaitFor([&] { return !::IsWindow(box->hwnd); }, 5000, 2);
    }
    if (::GetTickCount() - start >= timeoutMs) return reply;
  }
  reply.answered = query.Delivered();
  reply.answer = query.Answer();
  return reply;
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
  RECT rect;
  ::GetWindowRect(::GetDesktopWindow(), &rect);
  const ScreenPixels pixels = SteadyPicture(nullptr, rect);
  if (pixels.colours.empty()) return;
  // 24 bits a pixel in blue, green, red order, the bottom row first, each
  // row padded to four bytes.
  const DWORD stride = ((pixels.width * 3 + 3) / 4) * 4;
  std::string rows(static_cast<size_t>(stride) * pixels.height, '\0');
  for (int y = 0; y < pixels.height; ++y) {
    char* row = &rows[static_cast<size_t>(stride) * (pixels.height - 1 - y)];
    for (int x = 0; x < pixels.width; ++x) {
      const COLORREF colour = pixels.At(x, y);
      row[x * 3] = static_cast<char>(GetBValue(colour));
      row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
      row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
    }
  }
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = pixels.width;
  info.biHeight = pixels.height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size());
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(out, &file, sizeof file, &written, nullptr);
  ::WriteFile(out, &info, sizeof info, &written, nullptr);
  ::WriteFile(out, rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr);
  ::CloseHandle(out);
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

namespace {

// Loads the probe with `load` and reads what it wrote.
ResourceFigures ProbeResources(const std::function<void()>& load) {
  ::DeleteFileA("C:\\gui-probe.txt");
  load();
  std::optional<std::string> dump;
  WaitFor([&] { return (dump = ReadFileBytes("C:\\gui-probe.txt")).has_value(); }, 20000);
  ResourceFigures figures;
  if (!dump) return figures;
  const struct {
    const char* name;
    long* field;
  } fields[] = {{"gdi", &figures.gdi},         {"user", &figures.user},
                {"windows", &figures.windows}, {"menus", &figures.menus},
                {"icons", &figures.icons},     {"privateKb", &figures.privateKb},
                {"reportedGdi", &figures.reportedGdi}, {"reportedUser", &figures.reportedUser}};
  for (const auto& field : fields) {
    const std::string key = std::string(field.name) + " ";
    const std::string::size_type at = ("\n" + *dump).find("\n" + key);
    if (at != std::string::npos) *field.field = std::strtol(dump->c_str() + at + key.size(), nullptr, 10);
  }
  // Where the system tells the counts itself (Windows), they are the figures.
  if (figures.reportedGdi > 0) figures.gdi = figures.reportedGdi;
  if (figures.reportedUser > 0) figures.user = figures.reportedUser;
  return figures;
}

}  // namespace

ResourceFigures CountResources(Program& program) {
  return ProbeResources([&] { program.LoadLibraryInside("C:\\gui_probe.dll"); });
}

ResourceFigures CountOwnResources() {
  return ProbeResources([] { ::LoadLibraryA("C:\\gui_probe.dll"); });
}

}  // namespace e2e

// ---------------------------------------------------------------------------
// The user's side of the program's dialogs.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/PackedPicture.h"
#include "resources/SplashLayout.h"

namespace e2e {

namespace {

// A Unix path from the run's environment, as Wine sees it (drive Z: is /).
std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string converted = "Z:" + path;
  for (char& c : converted) {
    if (c == '/') c = '\\';
  }
  return converted;
}

std::string LinkLogPath() {
  return Environment("DORVANE_LINK_LOG", "C:\\DorvaneTests\\links.txt");
}

void SendInputs(std::vector<INPUT> inputs) {
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT MouseInput(DWORD flag) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  return input;
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

// PNG: big-endian numbers, chunks with their CRC, and the picture data in
// stored (uncompressed) deflate blocks, which every reader accepts.
void AppendBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

std::uint32_t Crc32(const std::string& bytes) {
  static std::uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    ready = true;
  }
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void AppendChunk(std::string& out, const char* type, const std::string& data) {
  AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
  std::string typed = std::string(type, 4) + data;
  out += typed;
  AppendBigEndian(out, Crc32(typed));
}

std::string PngOf(const ScreenPixels& pixels) {
  std::string raw;
  for (int y = 0; y < pixels.height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < pixels.width; ++x) {
      COLORREF colour = pixels.At(x, y);
      raw.push_back(static_cast<char>(GetRValue(colour)));
      raw.push_back(static_cast<char>(GetGValue(colour)));
      raw.push_back(static_cast<char>(GetBValue(colour)));
    }
  }
  std::string zlib = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const size_t length = std::min<size_t>(65535, raw.size() - at);
    const bool last = at + length >= raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.push_back(static_cast<char>(length & 0xFF));
    zlib.push_back(static_cast<char>(length >> 8));
    zlib.push_back(static_cast<char>(~length & 0xFF));
    zlib.push_back(static_cast<char>((~length >> 8) & 0xFF));
    zlib.append(raw, at, length);
    if (last) break;
  }
  AppendBigEndian(zlib, (b << 16) | a);

  std::string header;
  AppendBigEndian(header, static_cast<std::uint32_t>(pixels.width));
  AppendBigEndian(header, static_cast<std::uint32_t>(pixels.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace

  std::string png = "\x89PNG\r\n\x1a\n";
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", zlib);
  AppendChunk(png, "IEND", "");
  return png;
}

}  // namespace

namespace {

WPARAM TrayCommand(const char* name) {
  for (size_t i = 0; i < sizeof layout::kTrayMenu / sizeof layout::kTrayMenu[0]; ++i) {
    if (std::strcmp(layout::kTrayMenu[i].name, name) == 0) {
      return MAKEWPARAM(layout::kFirstMenuId + i, 0);
    }
  }
  throw std::runtime_error(std::string("no tray menu item ") + name);
}

}  // namespace

void ChooseTrayCommand(HWND mainWindow, const char* name) {
  ::PostMessageA(mainWindow, WM_COMMAND, TrayCommand(name), 0);
}

void SendTrayCommand(HWND mainWindow, const char* name) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(mainWindow, WM_COMMAND, TrayCommand(name), 0, SMTO_NORMAL, 10000, &result);
}

RECT ScreenRect(HWND hwnd) {
  RECT rect = {};
  ::GetWindowRect(hwnd, &rect);
  return rect;
}

RECT ClientScreenRect(HWND hwnd) {
  RECT rect = {};
  ::GetClientRect(hwnd, &rect);
  ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT CentreOf(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void MoveMouse(POINT screen) {
  AttachToDesktop();
  // Under Wine a program's window that the pointer leaves may hand its last
  // pointer motion to the system late, after the next move, and so put the
  // pointer back where it was. Moving again until the position holds makes
  // whatever comes late a move to the same place.
  auto there = [&] {
    POINT now = {};
    ::GetCursorPos(&now);
    return now.x == screen.x && now.y == screen.y;
  };
  for (int attempt = 0; attempt < 20; ++attempt) {
    ::SetCursorPos(screen.x, screen.y);
    if (HoldsFor(there, 200)) return;
  }
}

void SendMouse(DWORD buttonFlag) { SendInputs({MouseInput(buttonFlag)}); }

void ClickAt(POINT screen) {
  MoveMouse(screen);
  SendInputs({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

void RightClickAt(POINT screen) {
  MoveMouse(screen);
  SendInputs({MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP)});
}

void DoubleClickAt(POINT screen) {
  MoveMouse(screen);
  SendInputs({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP),
              MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

void PressAltKey(WORD key) {
  SendInputs({KeyInput(VK_MENU, false), KeyInput(key, false), KeyInput(key, true),
              KeyInput(VK_MENU, true)});
}

bool HoldsFor(const std::function<bool()>& condition, DWORD durationMs) {
  return !PollWithin([&] { return !condition(); }, durationMs, 50);
}

bool Handled(HWND window, DWORD timeoutMs) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs * kLoadAllowance,
                               &result) != 0;
}

std::string WithoutAccessKey(const std::string& caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

bool HoldsOnceHandled(HWND window, const std::function<bool()>& condition) {
  return Handled(window) && HoldsFor(condition, kQuietMs);
}

namespace {

// What the screen shows in `rect` once it has settled. Wine copies what a
// window drew to the screen when the window's thread next waits for a
// message, so a picture taken at once can miss the last of it. `window`,
// when given, first paints what it has left to paint (RDW_UPDATENOW sends
// it WM_PAINT and returns once it has painted); then the picture is taken
// again until two in a row agree.
ScreenPixels SteadyPicture(HWND window, const RECT& rect) {
  if (window != nullptr && Handled(window)) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  ScreenPixels last = CaptureScreen(rect);
  WaitFor(
      [&] {
        ScreenPixels now = CaptureScreen(rect);
        const bool same = now.colours == last.colours;
        last = std::move(now);
        return same;
      },
      5000, 100);
  return last;
}

}  // namespace

ScreenPixels CaptureScreen(const RECT& rect) {
  ScreenPixels pixels;
  pixels.width = rect.right - rect.left;
  pixels.height = rect.bottom - rect.top;
  if (pixels.width <= 0 || pixels.height <= 0) return ScreenPixels();

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  const auto* row = static_cast<const std::uint32_t*>(bits);
  pixels.colours.reserve(static_cast<size_t>(pixels.width) * pixels.height);
  for (int i = 0; i < pixels.width * pixels.height; ++i) {
    const std::uint32_t bgra = row[i];  // blue in the low byte
    pixels.colours.push_back(RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF));
  }
  ::SelectObject(memory, old);
  ::DeleteObject(dib);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

int CountColour(const ScreenPixels& pixels, COLORREF colour) {
  int count = 0;
  for (COLORREF c : pixels.colours) count += c == colour ? 1 : 0;
  return count;
}

StoredPicture ProgramPicture(const char* name) {
  StoredPicture picture;
  HMODULE exe = ::LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const HRSRC found = exe != nullptr ? ::FindResourceA(exe, name, RT_RCDATA) : nullptr;
  if (found != nullptr) {
    const auto* data =
        static_cast<const unsigned char*>(::LockResource(::LoadResource(exe, found)));
    const DWORD size = ::SizeofResource(exe, found);
    if (const auto header = platform::ReadPictureHeader(data, size)) {
      std::vector<unsigned char> rows(platform::RowBytes(header->width) * header->height);
      if (platform::UnpackPicture(data, size, *header, rows.data(), rows.size())) {
        picture = {header->width, header->height, std::move(rows)};
      }
    }
  }
  if (exe != nullptr) ::FreeLibrary(exe);
  return picture;
}

ScreenPixels PixelsOfRows(const unsigned char* rows, int width, int height) {
  ScreenPixels pixels;
  pixels.width = width;
  pixels.height = height;
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* bgr = &rows[platform::RowBytes(width) * y + 3 * x];
      pixels.colours.push_back(RGB(bgr[2], bgr[1], bgr[0]));
    }
  }
  return pixels;
}

bool SavePng(const ScreenPixels& pixels, const std::string& name) {
  const std::string folder = WindowsPath(Environment("SCREENSHOT_DIR", ""));
  if (folder.empty() || pixels.colours.empty()) return false;
  const std::string png = PngOf(pixels);
  HANDLE file = ::CreateFileA((folder + "\\" + name + ".png").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
                  written == png.size();
  ::CloseHandle(file);
  return ok;
}

std::vector<std::string> OpenedLinks() {
  std::vector<std::string> lines;
  const std::string log = ReadFileBytes(LinkLogPath()).value_or("");
  size_t start = 0;
  for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(log.substr(start, end - start));
  }
  return lines;
}

void ForgetOpenedLinks() { ::DeleteFileA(LinkLogPath().c_str()); }

// ---------------------------------------------------------------------------
// Controls of the program's windows, reached from outside

RemoteBuffer::RemoteBuffer(DWORD processId, std::size_t size) {
  process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                           processId);
  if (process_ == nullptr) throw std::runtime_error("cannot open the program's process");
  address_ = ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (address_ == nullptr) throw std::runtime_error("cannot allocate in the program's process");
}

RemoteBuffer::~RemoteBuffer() {
  if (address_ != nullptr) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_ != nullptr) ::CloseHandle(process_);
}

void RemoteBuffer::Write(const void* data, std::size_t size, std::size_t offset) {
  ::WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
}

void RemoteBuffer::Read(void* data, std::size_t size, std::size_t offset) const {
  ::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
}

namespace {

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindControlById(HWND child, LPARAM lParam) {
  auto* search = reinterpret_cast<ControlSearch*>(lParam);
  if (::GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

GUITHREADINFO ThreadInfoOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

}  // namespace

HWND FindControl(HWND root, int id) {
  ControlSearch search{id, nullptr};
  ::EnumChildWindows(root, FindControlById, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

HWND FocusOf(HWND window) { return ThreadInfoOf(window).hwndFocus; }
HWND ActiveWindowOf(HWND window) { return ThreadInfoOf(window).hwndActive; }

void PostClick(HWND control, int x, int y) {
  const LPARAM point = MAKELPARAM(x, y);
  ::PostMessageA(control, WM_MOUSEMOVE, 0, point);
  ::PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
  ::PostMessageA(control, WM_LBUTTONUP, 0, point);
}

void PostKey(HWND control, UINT virtualKey) {
  const UINT scan = ::MapVirtualKeyA(virtualKey, 0);
  ::PostMessageA(control, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  ::PostMessageA(control, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

void PostChars(HWND control, const std::string& text) {
  for (char c : text) ::PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

int ListViewCount(HWND listView) {
  return static_cast<int>(::SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewText(DWORD processId, HWND listView, int index) {
  char text[260] = {};
  RemoteBuffer remote(processId, sizeof(LVITEMA) + sizeof text);
  LVITEMA item = {};
  item.iSubItem = 0;
  item.pszText = reinterpret_cast<char*>(remote.Address() + sizeof(LVITEMA));
  item.cchTextMax = sizeof text;
  remote.Write(&item, sizeof item);
  ::SendMessageA(listView, LVM_GETITEMTEXTA, index, remote.Address());
  remote.Read(text, sizeof text - 1, sizeof(LVITEMA));
  return text;
}

bool ListViewChecked(HWND listView, int index) {
  const LRESULT state = ::SendMessageA(listView, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

RECT ListViewItemRect(DWORD processId, HWND listView, int index, int part) {
  RECT rect = {};
  rect.left = part;
  RemoteBuffer remote(processId, sizeof rect);
  remote.Write(&rect, sizeof rect);
  ::SendMessageA(listView, LVM_GETITEMRECT, index, remote.Address());
  remote.Read(&rect, sizeof rect);
  return rect;
}

std::vector<std::string> ListBoxItems(DWORD processId, HWND listBox) {
  std::vector<std::string> items;
  const LRESULT count = ::SendMessageA(listBox, LB_GETCOUNT, 0, 0);
  // The system carries a list box's texts across processes itself, but
  // Wine hands the ANSI message wide characters: ask for them as such.
  (void)processId;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageW(listBox, LB_GETTEXTLEN, i, 0);
    std::wstring wide(length + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
    wide.resize(copied < 0 ? 0 : copied);
    std::string text(wide.size() * 2 + 1, '\0');
    const int bytes =
        ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0],
                              static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(bytes);
    items.push_back(text);
  }
  return items;
}

std::string TabText(DWORD processId, HWND tabControl, int index) {
  char text[64] = {};
  RemoteBuffer remote(processId, sizeof(TCITEMA) + sizeof text);
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = reinterpret_cast<char*>(remote.Address() + sizeof(TCITEMA));
  item.cchTextMax = sizeof text;
  remote.Write(&item, sizeof item);
  ::SendMessageA(tabControl, TCM_GETITEMA, index, remote.Address());
  remote.Read(text, sizeof text - 1, sizeof(TCITEMA));
  return text;
}

RECT TabRect(DWORD processId, HWND tabControl, int index) {
  RECT rect = {};
  RemoteBuffer remote(processId, sizeof rect);
  ::SendMessageA(tabControl, TCM_GETITEMRECT, index, remote.Address());
  remote.Read(&rect, sizeof rect);
  return rect;
}

bool SaveScreenshot(HWND window, const std::string& name) {
  return SavePng(SteadyPicture(window, ScreenRect(window)), name);
}

void StoreLoggingOnly(const std::string& logFile) {
  SetSettingString("Sound", "NoSound");
  SetSettingString("SoundFile", "(None)");
  SetSettingString("WindowsSound", "Exclamation");
  SetSettingDword("Logging", 1);
  SetSettingString("LogFile", logFile);
  SetSettingDword("NoDialog", 1);
  SetSettingString("Drives", "A");
}

void StoreWarningOnly(const std::string& drives) {
  SetSettingString("Sound", "NoSound");
  SetSettingString("SoundFile", "(None)");
  SetSettingString("WindowsSound", "Exclamation");
  SetSettingDword("Logging", 0);
  SetSettingString("LogFile", ProgramFolder() + "dvn.dvl");
  SetSettingDword("NoDialog", 0);
  SetSettingString("Drives", drives);
}

std::vector<std::string> StoredLabels() {
  std::vector<std::string> labels;
  HKEY key = nullptr;
  const std::string path = std::string(kSettingsKey) + "\\Exclusions";
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return labels;
  }
  for (DWORD index = 0;; ++index) {
    char name[512] = {};
    DWORD size = sizeof name;
    if (::RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    labels.push_back(name);
  }
  ::RegCloseKey(key);
  return labels;
}

void StoreLabel(const std::string& label) {
  HKEY key = nullptr;
  const std::string path = std::string(kSettingsKey) + "\\Exclusions";
  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
  ::RegSetValueExA(key, label.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(label.c_str()),
                   static_cast<DWORD>(label.size() + 1));
  ::RegCloseKey(key);
}

HWND ShowSettingsDialog(Program& program) {
  // The icon's messages, as the shell sends them for icon 1.
  constexpr UINT kTrayNotify = WM_USER + 1;
  if (!program.EndSplash()) return nullptr;
  ::PostMessageA(program.MainWindow(), kTrayNotify, 1, WM_LBUTTONDBLCLK);
  HWND dialog = nullptr;
  WaitFor([&] {
    dialog = program.Window("TfmSettings");
    return dialog != nullptr && ::IsWindowVisible(dialog);
  }, 5000);
  return dialog != nullptr && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

bool ClickButton(HWND dialog, int id) {
  HWND button = FindControl(dialog, id);
  if (button == nullptr) return false;
  return ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != FALSE;
}

}  // namespace e2e
