#pragma once
// In-memory stand-ins for the platform services, for the host tests. Each
// behaves as the system does in the cases the program meets, and records
// its calls in one shared journal so that tests can check their order.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Drives.h"
#include "platform/EventLog.h"
#include "platform/Help.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Sounds.h"
#include "platform/Timers.h"
#include "platform/UserInterface.h"

namespace platform {

// The calls that the fakes received, in order, one line each
// ("drives", "type E:\", "probe A:\", "box ...", "beep exclamation").
using Journal = std::vector<std::string>;

// A drive letter as the system sees it: a drive with or without a medium,
// of a kind (a hard disk unless a test says otherwise).
struct FakeDrive {
  bool hasMedium = true;
  std::string label;
  bool volumeQueryFails = false;
  int iconIndex = 0;
  unsigned type = kDriveFixed;
};

class FakeDrives : public Drives {
 public:
  explicit FakeDrives(Journal& journal) : journal_(journal) {}

  std::map<char, FakeDrive> drives;  // by upper-case letter
  std::string currentDirectory = "C:\\WORK\\";

  std::uint32_t LogicalDrives() override;
  unsigned DriveType(const std::string& root) override;
  bool ChangeDirectory(const std::string& path) override;
  std::string CurrentDirectory() override { return currentDirectory; }
  bool VolumeLabel(const std::string& root, std::string& label) override;

 private:
  FakeDrive* DriveOf(const std::string& path);
  Journal& journal_;
};

class FakeShell : public Shell {
 public:
  explicit FakeShell(FakeDrives& drives) : drives_(drives) {}

  ImageListHandle imageList = reinterpret_cast<ImageListHandle>(0x5150);
  std::vector<std::string> iconQueries;

  // The notification area, as far as icons go. Its calls are journalled
  // ("icon add", "icon add refused", "icon modify", "icon delete") when a
  // journal is given.
  Journal* journal = nullptr;
  // False while the shell refuses every icon call, as at logon before the
  // notification area is ready.
  bool areaReady = true;
  // The next add fails although the shell carries it out (ERROR_TIMEOUT).
  bool nextAddTimesOut = false;
  // The icons shown, by window and number. Explorer starting again loses them.
  std::set<std::pair<WindowHandle, unsigned>> icons;
  void ExplorerRestarted() { icons.clear(); }

  ImageListHandle SystemSmallImageList() override { return imageList; }
  int SystemIconIndex(const std::string& path) override;
  bool NotifyIcon(unsigned message, const NotifyIconRecord& record) override;
  // Journalled "icon balloon TITLE: TEXT"; refused as a modify would be,
  // and on a shell without balloons.
  bool ShowBalloon(const NotifyIconRecord& record, const std::string& title,
                   const std::string& text) override;
  bool balloons = true;
  void Execute(WindowHandle owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory, int show) override;

 private:
  FakeDrives& drives_;
};

class FakeSounds : public Sounds {
 public:
  explicit FakeSounds(Journal& journal) : journal_(journal) {}
  bool PlayWave(const std::string& fileName, unsigned flags) override;
  bool Beep(unsigned type) override;

 private:
  Journal& journal_;
};

struct ShownBox {
  WindowHandle owner;
  std::string text;
  std::string caption;
  unsigned flags;
};

class FakeUserInterface : public UserInterface {
 public:
  explicit FakeUserInterface(Journal& journal) : journal_(journal) {}

  std::vector<ShownBox> boxes;
  // Runs while a box is "open", as the user would act before closing it;
  // its result is the button the user pressed.
  std::function<int(const ShownBox&)> onShow;

  int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;

 private:
  Journal& journal_;
};

// Windows refuses every request to end the session, as for a user without
// the right; the block reasons are journalled with their text.
class FakeSession : public Session {
 public:
  explicit FakeSession(Journal& journal) : journal_(journal) {}
  bool EndSession(unsigned flags, unsigned reason) override;
  bool SetBlockReason(WindowHandle window, const std::string& reason) override;
  void ClearBlockReason(WindowHandle window) override;
  // Each call takes the next answer; 0 (watching) once they are used up.
  std::vector<unsigned> watchAnswers;
  unsigned WatchSessionChanges(WindowHandle window) override;
  void StopWatchingSessionChanges(WindowHandle window) override;
  bool RegisterForRestart() override;

  // Whether a reason stands for some window right now.
  bool ReasonShown() const { return !reasons_.empty(); }

 private:
  Journal& journal_;
  std::map<WindowHandle, std::string> reasons_;
};

// Which Windows runs, which files exist, and whether HTML Help loads and
// opens its window; each call journalled ("winhelp C:\APP\dvn40.hlp 11 0",
// "load html help", "htmlhelp C:\APP\dvn40.chm 1").
class FakeHelpSystem : public HelpSystem {
 public:
  explicit FakeHelpSystem(Journal& journal) : journal_(journal) {}

  bool vistaOrLater = true;
  std::set<std::string> files;
  bool htmlHelpLoads = true;
  bool htmlHelpOpens = true;
  std::vector<WindowHandle> owners;  // of each viewer's request, in order

  bool VistaOrLater() override { return vistaOrLater; }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool WinHelp(WindowHandle owner, const std::string& file, unsigned command,
               std::uintptr_t data) override;
  bool LoadHtmlHelp() override;
  bool HtmlHelp(WindowHandle owner, const std::string& file, unsigned command) override;

 private:
  Journal& journal_;
};

// Timers of windows, journalled ("timer 2 every 2000", "timer 2 stopped");
// the tests call the tick handlers themselves.
class FakeTimers : public Timers {
 public:
  explicit FakeTimers(Journal& journal) : journal_(journal) {}
  void StartTimer(WindowHandle window, unsigned id, unsigned intervalMs) override;
  void StopTimer(WindowHandle window, unsigned id) override;

  // The ids of the timers running now.
  std::set<unsigned> running;

 private:
  Journal& journal_;
};

// The event log, each event journalled with its type and inserted texts
// ("event 1000 warning A|BACKUP").
class FakeEventLog : public EventLog {
 public:
  explicit FakeEventLog(Journal& journal) : journal_(journal) {}
  void Report(std::uint16_t type, std::uint32_t id,
              std::initializer_list<const char*> strings) override;

 private:
  Journal& journal_;
};

}  // namespace platform
