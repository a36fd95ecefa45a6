#include "platform/win32/Win32EventLog.h"

namespace platform {

void Win32EventLog::Report(std::uint16_t type, std::uint32_t id,
                           std::initializer_list<const char*> strings) {
  // Opened at the first event and kept to the end; tried again at the next
  // event when it would not open, since at logon the log's service may not
  // be running yet. A source that is not registered still opens (the
  // portable copy): its events are written, shown without their texts.
  if (!source_.Valid()) {
    source_ = EventSourceHandle(::RegisterEventSourceA(nullptr, sourceName_));
  }
  if (!source_.Valid()) return;
  // A full or stopped log refuses the event; nothing that a check, a
  // warning or the end of the session waits for depends on it.
  ::ReportEventA(source_.Get(), type, 0, id, nullptr, static_cast<WORD>(strings.size()), 0,
                 const_cast<const char**>(strings.begin()), nullptr);
}

}  // namespace platform
