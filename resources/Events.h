#pragma once
// The program's events in Windows' Application log: the source that names
// the program there, and each event's number in the message table that
// EventMessages.mc compiles into the program, with the texts inserted
// into its message, in order.

#include <cstdint>

constexpr char kEventSource[] = "Dorvane";

// Warning: a disk was left in; the drive letter and the label.
constexpr std::uint32_t kEventDiskLeft = 1000;
// Error: the notification log could not be written; the log file and why.
constexpr std::uint32_t kEventLogNotWritten = 1001;
// Warning: the stored settings needed a repair, or a policy value was
// ignored; what was wrong, and what became of it.
constexpr std::uint32_t kEventSettingsRepaired = 1002;
// Information: the program started; the drives it checks, and the options
// set by policy (empty where none is).
constexpr std::uint32_t kEventStarted = 1003;
