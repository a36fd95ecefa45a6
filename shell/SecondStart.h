#pragma once
// One copy per Windows session. Dorvane starts at logon; a later start,
// from the Start menu say, means "show me the settings": it hands that
// request to the running copy and ends, so that the end of the session
// still gets one check, one warning and one log line per disk.

#include <cstdint>

#include "platform/SingleInstance.h"

// The name the running copy holds, in the session's own namespace.
inline constexpr char kSessionName[] = "Kestrome.Dorvane.4.0";
// The message that asks the running copy to show its settings dialog, and
// its answer, which no other window gives by chance.
inline constexpr char kShowSettingsMessage[] = "Kestrome.Dorvane.4.0.ShowSettings";
inline constexpr std::intptr_t kShowSettingsAnswer = 0x4456;

// How long a second start looks for the main window of a copy that is
// starting or ending (lookups a pause apart), and waits for its answer.
inline constexpr unsigned kMainWindowLookups = 20;
inline constexpr unsigned kLookupPauseMs = 100;
inline constexpr unsigned kAnswerTimeoutMs = 3000;

enum class TStartRole {
  FirstCopy,   // this start runs the program
  HandedOver,  // the running copy shows its settings; this start ends
  NoAnswer,    // a copy holds the session but did not answer; this start ends
};

// Claims the session, or asks its running copy (whose main window is of
// class `mainWindowClass`) to show its settings dialog. A copy that ends
// meanwhile gives the session to this start.
TStartRole ClaimOrHandOver(platform::SingleInstance& instance, const char* mainWindowClass);
