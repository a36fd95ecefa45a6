#pragma once
// The Application event log through advapi32 (RegisterEventSourceA and
// ReportEventA, both in Windows XP).

#include <windows.h>

#include "platform/EventLog.h"
#include "platform/win32/Handles.h"

namespace platform {

struct DeregisterEventSourceHandle {
  void operator()(HANDLE source) const { ::DeregisterEventSource(source); }
};
using EventSourceHandle = UniqueHandle<HANDLE, DeregisterEventSourceHandle>;

class Win32EventLog : public EventLog {
 public:
  // `source` names the program in the log, and lives as long as this
  // object; the Event Viewer finds the texts of its events through the
  // source's registration, which the setup makes.
  explicit Win32EventLog(const char* source) : sourceName_(source) {}

  void Report(std::uint16_t type, std::uint32_t id,
              std::initializer_list<const char*> strings) override;

 private:
  const char* sourceName_;
  EventSourceHandle source_;
};

}  // namespace platform
