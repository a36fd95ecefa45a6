#pragma once
// Windows' event log, where an administrator gathers what happened on many
// computers at once (Event Viewer, event forwarding, monitoring tools).
// Reporting never fails for its caller: a log that cannot be reached
// leaves the event unwritten and the program goes on.

#include <cstdint>
#include <initializer_list>

namespace platform {

// ReportEventA's event types.
constexpr std::uint16_t kEventlogErrorType = 1;
constexpr std::uint16_t kEventlogWarningType = 2;
constexpr std::uint16_t kEventlogInformationType = 4;

class EventLog {
 public:
  virtual ~EventLog() = default;

  // One event of the program's source: its type, its number in the
  // program's message table and the texts inserted into that message.
  virtual void Report(std::uint16_t type, std::uint32_t id,
                      std::initializer_list<const char*> strings) = 0;
};

}  // namespace platform
