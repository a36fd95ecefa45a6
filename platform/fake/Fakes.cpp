#include "platform/fake/Fakes.h"

#include <cctype>

namespace platform {

namespace {

// The journal names the values, so that the tests say which sound or
// request they expect and never repeat Windows' numbers.
std::string BeepName(unsigned type) {
  switch (type) {
    case kBeepHand: return "hand";
    case kBeepQuestion: return "question";
    case kBeepExclamation: return "exclamation";
    case kBeepAsterisk: return "asterisk";
    default: return std::to_string(type);
  }
}

std::string NotifyVerb(unsigned message) {
  switch (message) {
    case kNimAdd: return "add";
    case kNimModify: return "modify";
    case kNimDelete: return "delete";
    default: return "?";
  }
}

std::string EndSessionName(unsigned flags) {
  switch (flags) {
    case kEwxShutdown: return "shutdown";
    case kEwxReboot: return "reboot";
    default: return std::to_string(flags);
  }
}

}  // namespace

std::uint32_t FakeDrives::LogicalDrives() {
  journal_.push_back("drives");
  std::uint32_t mask = 0;
  for (const auto& [letter, drive] : drives) mask |= 1u << (letter - 'A');
  return mask;
}

FakeDrive* FakeDrives::DriveOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return nullptr;
  auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
  return it == drives.end() ? nullptr : &it->second;
}

unsigned FakeDrives::DriveType(const std::string& root) {
  journal_.push_back("type " + root);
  FakeDrive* drive = DriveOf(root);
  return drive == nullptr ? kDriveNoRootDir : drive->type;
}

bool FakeDrives::ChangeDirectory(const std::string& path) {
  journal_.push_back("probe " + path);
  FakeDrive* drive = DriveOf(path);
  if (drive == nullptr || !drive->hasMedium) return false;
  currentDirectory = path;
  return true;
}

bool FakeDrives::VolumeLabel(const std::string& root, std::string& label) {
  journal_.push_back("label " + root);
  FakeDrive* drive = DriveOf(root);
  if (drive == nullptr || !drive->hasMedium || drive->volumeQueryFails) return false;
  label = drive->label;
  return true;
}

int FakeShell::SystemIconIndex(const std::string& path) {
  iconQueries.push_back(path);
  if (path.size() >= 2 && path[1] == ':') {
    auto it = drives_.drives.find(path[0]);
    if (it != drives_.drives.end()) return it->second.iconIndex;
  }
  return 0;
}

bool FakeShell::NotifyIcon(unsigned message, const NotifyIconRecord& record) {
  const std::string call = "icon " + NotifyVerb(message);
  const std::pair<WindowHandle, unsigned> icon{record.window, record.id};
  const bool shown = icons.count(icon) != 0;
  bool done = false;
  if (areaReady) {
    switch (message) {
      case kNimAdd:
        // The shell refuses a second add of an icon it shows.
        done = !shown;
        icons.insert(icon);
        if (done && nextAddTimesOut) {
          nextAddTimesOut = false;
          done = false;
        }
        break;
      case kNimModify: done = shown; break;
      case kNimDelete: done = icons.erase(icon) != 0; break;
      default: break;
    }
  }
  if (journal != nullptr) journal->push_back(done ? call : call + " refused");
  return done;
}

bool FakeShell::ShowBalloon(const NotifyIconRecord& record, const std::string& title,
                            const std::string& text) {
  const bool done = areaReady && balloons && icons.count({record.window, record.id}) != 0;
  if (journal != nullptr) {
    journal->push_back("icon balloon " + title + ": " + text + (done ? "" : " refused"));
  }
  return done;
}

void FakeShell::Execute(WindowHandle, const std::string&, const std::string&, const std::string&,
                        const std::string&, int) {}

bool FakeSounds::PlayWave(const std::string& fileName, unsigned flags) {
  journal_.push_back("wave " + fileName + " " + std::to_string(flags));
  return false;  // no sound device, as on a test machine
}

bool FakeSounds::Beep(unsigned type) {
  journal_.push_back("beep " + BeepName(type));
  return true;
}

int FakeUserInterface::ShowMessageBox(WindowHandle owner, const std::string& text,
                                  const std::string& caption, unsigned flags) {
  ShownBox box{owner, text, caption, flags};
  boxes.push_back(box);
  journal_.push_back("box " + text);
  int result = onShow ? onShow(box) : kIdOk;
  journal_.push_back("box closed");
  return result;
}

bool FakeSession::EndSession(unsigned flags, unsigned reason) {
  journal_.push_back("end session " + EndSessionName(flags) + " " + std::to_string(reason));
  return false;
}

bool FakeSession::SetBlockReason(WindowHandle window, const std::string& reason) {
  journal_.push_back("block reason " + reason);
  reasons_[window] = reason;
  return true;
}

void FakeSession::ClearBlockReason(WindowHandle window) {
  journal_.push_back("reason withdrawn");
  reasons_.erase(window);
}

bool FakeHelpSystem::WinHelp(WindowHandle owner, const std::string& file, unsigned command,
                             std::uintptr_t data) {
  owners.push_back(owner);
  journal_.push_back("winhelp " + file + " " + std::to_string(command) + " " +
                     std::to_string(data));
  return true;
}

bool FakeHelpSystem::LoadHtmlHelp() {
  journal_.push_back("load html help");
  return htmlHelpLoads;
}

bool FakeHelpSystem::HtmlHelp(WindowHandle owner, const std::string& file, unsigned command) {
  owners.push_back(owner);
  journal_.push_back("htmlhelp " + file + " " + std::to_string(command));
  return htmlHelpOpens;
}

unsigned FakeSession::WatchSessionChanges(WindowHandle) {
  unsigned answer = 0;
  if (!watchAnswers.empty()) {
    answer = watchAnswers.front();
    watchAnswers.erase(watchAnswers.begin());
  }
  journal_.push_back(answer == 0 ? "watch session changes"
                                             : "watch session changes: " + std::to_string(answer));
  return answer;
}

void FakeSession::StopWatchingSessionChanges(WindowHandle) {
  journal_.push_back("stop watching session changes");
}

bool FakeSession::RegisterForRestart() {
  journal_.push_back("restart registered");
  return true;
}

void FakeTimers::StartTimer(WindowHandle, unsigned id, unsigned intervalMs) {
  journal_.push_back("timer " + std::to_string(id) + " every " + std::to_string(intervalMs));
  running.insert(id);
}

void FakeTimers::StopTimer(WindowHandle, unsigned id) {
  journal_.push_back("timer " + std::to_string(id) + " stopped");
  running.erase(id);
}

void FakeEventLog::Report(std::uint16_t type, std::uint32_t id,
                          std::initializer_list<const char*> strings) {
  const char* name = type == kEventlogErrorType     ? "error"
                     : type == kEventlogWarningType ? "warning"
                                                    : "information";
  std::string line = "event " + std::to_string(id) + " " + name;
  const char* separator = " ";
  for (const char* text : strings) {
    line += separator;
    line += text;
    separator = "|";
  }
  journal_.push_back(line);
}

}  // namespace platform
