#pragma once
// The program's events in Windows' Application log: the source that names
// the program there, and each event's number, which the message compiler
// takes from EventMessages.mc with its sentence (the Event Viewer shows the
// texts the program inserts into it, in order).

#include <cstdint>

#include "resources/EventMessages.h"

constexpr char kEventSource[] = "Dorvane";

// Warning: a disk was left in; the drive letter and the label.
constexpr std::uint32_t kEventDiskLeft = EVENT_DISK_LEFT;
// Error: the notification log could not be written; the log file and why.
constexpr std::uint32_t kEventLogNotWritten = EVENT_LOG_NOT_WRITTEN;
// Warning: a stored setting needed a repair, a policy value was ignored,
// or a service of Windows refused the program; what was wrong, and what
// became of it.
constexpr std::uint32_t kEventSettingOrServiceDamaged = EVENT_SETTING_OR_SERVICE_DAMAGED;
// Information: the program started; the drives it checks, the options set
// by policy (empty where none is), and the language of its texts with
// where they came from.
constexpr std::uint32_t kEventStarted = EVENT_STARTED;
