// The benchmark: dorvane.exe beside small anchor programs that do the least
// the same task needs, measured interleaved in one run under the same
// load, several runs each. Every figure is printed with its anchor's, and
// each goal as a ratio (or a difference) of medians with PASS or FAIL.
//
// run-bench.sh prepares the prefix, the drive, the settings and the logs,
// then runs this program; the environment names the programs and folders.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string Setting(const char* name, const char* fallback = "") {
  char value[1024];
  const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : fallback;
}

int Count(const char* name, int fallback) {
  const std::string value = Setting(name);
  return value.empty() ? fallback : std::max(1, std::atoi(value.c_str()));
}

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

// ---------------------------------------------------------------------------
// Figures

class Samples {
 public:
  void Add(double value) { values_.push_back(value); }
  bool Empty() const { return values_.empty(); }
  double Min() const { return *std::min_element(values_.begin(), values_.end()); }
  double Max() const { return *std::max_element(values_.begin(), values_.end()); }
  double Median() const {
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
  const std::vector<double>& Values() const { return values_; }

 private:
  std::vector<double> values_;
};

std::string Spread(const Samples& samples, const char* unit) {
  char text[128];
  std::snprintf(text, sizeof text, "%9.2f %s  [%.2f .. %.2f]", samples.Median(), unit,
                samples.Min(), samples.Max());
  return text;
}

int missedGoals = 0;

void Verdict(bool met) {
  std::printf("  %s\n", met ? "PASS" : "FAIL");
  if (!met) ++missedGoals;
}

// A figure of the product beside its anchor's, both per run, and their ratio.
void PrintPair(const char* what, const char* productName, const Samples& product,
               const char* anchorName, const Samples& anchor, const char* unit) {
  Samples ratios;
  for (std::size_t i = 0; i < product.Values().size() && i < anchor.Values().size(); ++i) {
    ratios.Add(product.Values()[i] / anchor.Values()[i]);
  }
  std::printf("%s\n", what);
  std::printf("    %-22s %s\n", productName, Spread(product, unit).c_str());
  std::printf("    %-22s %s\n", anchorName, Spread(anchor, unit).c_str());
  std::printf("    ratio of medians %.2f; per run [%.2f .. %.2f]\n",
              product.Median() / anchor.Median(), ratios.Min(), ratios.Max());
}

void RatioGoal(const char* goal, const Samples& product, const Samples& anchor, double limit) {
  const double ratio = product.Median() / anchor.Median();
  std::printf("    goal: %s at most %.2f times: %.2f", goal, limit, ratio);
  Verdict(ratio <= limit);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

double SystemTimeMs() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER value = {{now.dwLowDateTime, now.dwHighDateTime}};
  return static_cast<double>(value.QuadPart) / 10000.0;
}

double CreationTimeMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) Fail("GetProcessTimes");
  ULARGE_INTEGER value = {{created.dwLowDateTime, created.dwHighDateTime}};
  return static_cast<double>(value.QuadPart) / 10000.0;
}

// ---------------------------------------------------------------------------
// Programs in the benchmark's virtual desktop

void AttachToDesktop() {
  HDESK desktop = ::OpenDesktopA(Setting("BENCH_DESKTOP", "bench").c_str(), 0, FALSE, GENERIC_ALL);
  if (desktop != nullptr) ::SetThreadDesktop(desktop);
}

std::vector<HWND> TopLevelWindows(const char* className, const char* title) {
  std::vector<HWND> found;
  HWND window = nullptr;
  while ((window = ::FindWindowExA(nullptr, window, className, title)) != nullptr) {
    found.push_back(window);
  }
  return found;
}

class Program {
 public:
  // Starts `command` in the desktop (as the end-to-end tests do, through
  // explorer) and waits for a new top-level window of `className` and
  // `title`, visible when `visible` is set. The moment it is seen, less
  // the program's process creation, is its start-up time.
  Program(const std::string& command, const char* className, const char* title, bool visible) {
    AttachToDesktop();
    const std::vector<HWND> before = TopLevelWindows(className, title);
    std::string line = "C:\\windows\\explorer.exe /desktop=" + Setting("BENCH_DESKTOP", "bench") +
                       ",800x600 " + command;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
      Fail("cannot start " + line);
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    const DWORD deadline = ::GetTickCount() + 30000;
    while (window_ == nullptr) {
      if (::GetTickCount() > deadline) Fail("no window of " + command);
      AttachToDesktop();
      for (HWND window : TopLevelWindows(className, title)) {
        if (std::find(before.begin(), before.end(), window) != before.end()) continue;
        if (visible && !::IsWindowVisible(window)) continue;
        seenAt_ = SystemTimeMs();
        window_ = window;
      }
      if (window_ == nullptr) ::Sleep(1);
    }
    DWORD id = 0;
    ::GetWindowThreadProcessId(window_, &id);
    process_ = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE |
                                 SYNCHRONIZE,
                             FALSE, id);
    if (process_ == nullptr) Fail("cannot open the process of " + command);
    startedAt_ = CreationTimeMs(process_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    ::TerminateProcess(process_, 0);
    ::WaitForSingleObject(process_, 10000);
    ::CloseHandle(process_);
  }

  HWND Window() const { return window_; }
  double StartUpMs() const { return seenAt_ - startedAt_; }
  double AgeMs() const { return SystemTimeMs() - startedAt_; }

  PROCESS_MEMORY_COUNTERS Memory() const {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process_, &counters, sizeof counters)) Fail("GetProcessMemoryInfo");
    return counters;
  }

  // The time of one end-of-session query, sent as Windows sends it.
  double AnswerMs() const {
    LARGE_INTEGER from, to;
    DWORD_PTR answer = 0;
    ::QueryPerformanceCounter(&from);
    const LRESULT delivered = ::SendMessageTimeoutA(window_, WM_QUERYENDSESSION, 0, 0,
                                                    SMTO_NORMAL, 120000, &answer);
    ::QueryPerformanceCounter(&to);
    if (delivered == 0 || answer != TRUE) Fail("an end-of-session query was not answered with 1");
    return Milliseconds(from, to);
  }

 private:
  HWND window_ = nullptr;
  HANDLE process_ = nullptr;
  double seenAt_ = 0;
  double startedAt_ = 0;
};

std::string Anchor(const char* name) { return Setting("BENCH_ANCHORS") + name; }
std::string ProductPath() { return Setting("BENCH_PROGRAM"); }

constexpr char kSplashClass[] = "TfmSplash";
constexpr char kHandlerClass[] = "BenchMinimalHandler";
constexpr char kTrayClass[] = "BenchMinimalTray";

void WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, const char* what) {
  const DWORD deadline = ::GetTickCount() + timeoutMs;
  while (!condition()) {
    if (::GetTickCount() > deadline) Fail(std::string("timed out waiting for ") + what);
    ::Sleep(10);
  }
}

// Resident: the splash has hidden itself (the tray icon is then added) and
// the program has run for as long as the anchor it is compared with.
constexpr double kResidentAgeMs = 5500;

void WaitResident(const Program& program, bool hasSplash) {
  if (hasSplash) {
    WaitUntil([&] { return !::IsWindowVisible(program.Window()); }, 30000, "the splash to hide");
  }
  WaitUntil([&] { return program.AgeMs() >= kResidentAgeMs; }, 30000, "the resident state");
}

// ---------------------------------------------------------------------------
// The stages

void StartUpAndMemory(int runs) {
  Samples splash, firstWindow, productMemory, trayMemory;
  for (int run = 0; run < runs; ++run) {
    // Alternate which goes first, so that a drift in the machine's load
    // falls on both alike.
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == (run % 2 == 0)) {
        Program product(ProductPath(), kSplashClass, nullptr, true);
        splash.Add(product.StartUpMs());
        WaitResident(product, true);
        productMemory.Add(product.Memory().PagefileUsage / 1048576.0);
      } else {
        Program tray(Anchor("MinimalTray.exe"), kTrayClass, "tray", false);
        firstWindow.Add(tray.StartUpMs());
        WaitResident(tray, false);
        trayMemory.Add(tray.Memory().PagefileUsage / 1048576.0);
      }
    }
  }
  PrintPair("start-up, from the process's creation", "dorvane: splash shown", splash,
            "tray: first window", firstWindow, "ms");
  // The two of one run start side by side, so their difference is spared
  // the drift of the machine's load that widens each spread; it is shown
  // beside the goal, which is judged on the medians.
  Samples laterPerRun;
  for (std::size_t i = 0; i < splash.Values().size(); ++i) {
    laterPerRun.Add(splash.Values()[i] - firstWindow.Values()[i]);
  }
  std::printf("    later per run: median %+.1f ms [%+.1f .. %+.1f]\n", laterPerRun.Median(),
              laterPerRun.Min(), laterPerRun.Max());
  const double later = splash.Median() - firstWindow.Median();
  std::printf("    goal: the splash within 100 ms of the anchor's first window: %+.1f ms", later);
  Verdict(later <= 100);
  PrintPair("resident private memory (RssAnon under Wine)", "dorvane", productMemory,
            "minimal tray", trayMemory, "MB");
  RatioGoal("dorvane's memory", productMemory, trayMemory, 1.25);
}

void MoveMedium(bool in) {
  const std::string media = Setting("BENCH_MEDIA");
  const std::string inserted = media + "\\a", removed = media + "\\a-out";
  const std::string& from = in ? removed : inserted;
  const std::string& to = in ? inserted : removed;
  if (::GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  if (!::MoveFileA(from.c_str(), to.c_str())) Fail("cannot move the medium of drive A:");
}

void Answer(const Program& product, const Program& handler, int runs, int queries) {
  MoveMedium(false);
  Samples productAnswers, handlerAnswers;
  for (int run = 0; run < runs; ++run) {
    Samples p, h;
    for (int i = 0; i < queries; ++i) {
      p.Add(product.AnswerMs());
      h.Add(handler.AnswerMs());
    }
    productAnswers.Add(p.Median());
    handlerAnswers.Add(h.Median());
  }
  char what[128];
  std::snprintf(what, sizeof what,
                "end-of-session answer, nothing to warn (median of %d queries a run)", queries);
  PrintPair(what, "dorvane", productAnswers, "minimal handler", handlerAnswers, "ms");
  RatioGoal("dorvane's answer", productAnswers, handlerAnswers, 1.1);
}

// The log a program appends to gets the source's bytes again before each
// measured query, flushed to the disk so that no write of the preparation
// is left for the query to wait on.
void PrepareLog(const std::string& source, const std::string& log) {
  if (!::CopyFileA(source.c_str(), log.c_str(), FALSE)) Fail("cannot copy " + source);
  HANDLE file = ::CreateFileA(log.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot open " + log);
  ::FlushFileBuffers(file);
  ::CloseHandle(file);
}

LONGLONG FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) Fail("no " + path);
  return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct Appender {
  const char* name;
  const Program& program;
  std::string log;
};

// How many copies of the log's text the program held at its peak: the
// growth of its working set during one append, over the log's size.
double PeakCopies(const Appender& appender, const std::string& source) {
  PrepareLog(source, appender.log);
  const PROCESS_MEMORY_COUNTERS before = appender.program.Memory();
  appender.program.AnswerMs();
  const PROCESS_MEMORY_COUNTERS after = appender.program.Memory();
  const double peak = static_cast<double>(std::max(after.PeakWorkingSetSize,
                                                   before.WorkingSetSize)) -
                      static_cast<double>(before.WorkingSetSize);
  return peak / static_cast<double>(FileSize(source));
}

void Append(const std::vector<Appender>& appenders, int runs) {
  MoveMedium(true);
  const std::string logs = Setting("BENCH_LOGS");
  struct Size {
    const char* name;
    std::string source;
    double megabytes;
    std::vector<Samples> times;
  };
  std::vector<Size> sizes;
  for (const char* name : {"1", "10", "50", "50lf"}) {
    const std::string source = logs + "\\source-" + name + ".dvl";
    if (::GetFileAttributesA(source.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    sizes.push_back({name, source, FileSize(source) / 1048576.0,
                     std::vector<Samples>(appenders.size())});
  }
  if (sizes.empty()) Fail("no source logs in " + logs);

  // Peak memory first, while no earlier append has raised the programs'
  // high-water marks.
  const std::string& largest = sizes.back().name == std::string("50lf") && sizes.size() > 1
                                   ? sizes[sizes.size() - 2].source
                                   : sizes.back().source;
  std::vector<double> copies;
  for (const Appender& appender : appenders) copies.push_back(PeakCopies(appender, largest));

  for (int run = 0; run < runs; ++run) {
    for (Size& size : sizes) {
      for (std::size_t turn = 0; turn < appenders.size(); ++turn) {
        const std::size_t i = (turn + static_cast<std::size_t>(run)) % appenders.size();
        PrepareLog(size.source, appenders[i].log);
        size.times[i].Add(appenders[i].program.AnswerMs());
      }
    }
  }

  for (const Size& size : sizes) {
    const bool lf = size.name == std::string("50lf");
    char what[160];
    std::snprintf(what, sizeof what, "append one line to a %.0f MB log%s", size.megabytes,
                  lf ? " whose breaks are LF alone" : "");
    PrintPair(what, "dorvane", size.times[0], appenders[1].name, size.times[1], "ms");
    for (std::size_t i = 2; i < appenders.size(); ++i) {
      std::printf("    %-22s %s; dorvane / it %.2f\n", appenders[i].name,
                  Spread(size.times[i], "ms").c_str(),
                  size.times[0].Median() / size.times[i].Median());
    }
    if (size.name == std::string("50")) {
      RatioGoal("dorvane's append beside the least safe rewrite", size.times[0], size.times[1],
                1.5);
    }
  }
  // Linear: the cost of a megabyte does not grow with the log.
  const Size* ten = nullptr;
  const Size* fifty = nullptr;
  for (const Size& size : sizes) {
    if (size.name == std::string("10")) ten = &size;
    if (size.name == std::string("50")) fifty = &size;
  }
  if (ten != nullptr && fifty != nullptr) {
    const double perMbTen = ten->times[0].Median() / ten->megabytes;
    const double perMbFifty = fifty->times[0].Median() / fifty->megabytes;
    std::printf("dorvane's append per MB: %.2f ms at 10 MB, %.2f ms at 50 MB\n", perMbTen,
                perMbFifty);
    std::printf("    goal: linear, a megabyte at 50 MB at most 1.25 times one at 10 MB: %.2f",
                perMbFifty / perMbTen);
    Verdict(perMbFifty <= 1.25 * perMbTen);
  }
  std::printf("peak memory of one append to the %s MB log, in copies of its text\n",
              largest.substr(largest.rfind('-') + 1, largest.rfind('.') - largest.rfind('-') - 1)
                  .c_str());
  for (std::size_t i = 0; i < appenders.size(); ++i) {
    std::printf("    %-22s %.2f\n", appenders[i].name, copies[i]);
  }
  std::printf("    goal: dorvane holds at most two copies: %.2f", copies[0]);
  Verdict(copies[0] <= 2.0);
}

// The answer and the append, against one resident program and its anchors.
void ResidentStages(int runs, bool answer, bool append) {
  Program product(ProductPath(), kSplashClass, nullptr, true);
  Program probe(Anchor("MinimalHandler.exe probe"), kHandlerClass, "probe", false);
  const std::string logs = Setting("BENCH_LOGS");
  Program rewrite(Anchor("MinimalHandler.exe rewrite ") + logs + "\\rewrite.dvl", kHandlerClass,
                  "rewrite", false);
  Program copy(Anchor("MinimalHandler.exe copy ") + logs + "\\copy.dvl", kHandlerClass, "copy",
               false);
  WaitResident(product, true);

  if (answer) Answer(product, probe, runs, Count("BENCH_QUERIES", 25));
  if (append) {
    Append({{"dorvane", product, logs + "\\dvn.dvl"},
            {"least safe rewrite", rewrite, logs + "\\rewrite.dvl"},
            {"CopyFileA", copy, logs + "\\copy.dvl"}},
           runs);
  }
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  try {
    const int runs = Count("BENCH_RUNS", 5);
    std::printf("%d runs of each figure, interleaved; medians, [minimum .. maximum]\n\n", runs);
    // BENCH_STAGES picks some of the stages: "start", "answer", "append".
    const std::string stages = Setting("BENCH_STAGES", "start,answer,append");
    auto stage = [&](const char* name) { return stages.find(name) != std::string::npos; };
    if (stage("start")) StartUpAndMemory(runs);
    if (stage("answer") || stage("append")) ResidentStages(runs, stage("answer"), stage("append"));
  } catch (const std::exception& failure) {
    std::printf("\nthe benchmark failed: %s\n", failure.what());
    return 2;
  }
  std::printf("\n%d goal%s missed\n", missedGoals, missedGoals == 1 ? "" : "s");
  return missedGoals == 0 || Setting("BENCH_STRICT") != "1" ? 0 : 1;
}

