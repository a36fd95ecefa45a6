#pragma once
// The notification log: one dated line per notification, appended to a
// plain text file for the user to read.

#include <cstdint>
#include <string>

#include "platform/Files.h"

// The date and time formats of the log line, taken from the locale.
struct LogFormats {
  std::string shortDate = "m/d/yy";
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  bool hourLeadingZero = false;   // LOCALE_ITLZERO
  bool twentyFourHour = false;    // LOCALE_ITIME
  bool markBeforeTime = false;    // LOCALE_ITIMEMARKPOSN
  std::string morning = "am";     // LOCALE_S1159
  std::string afternoon = "pm";   // LOCALE_S2359
};

// Reads the formats of `locale`, with the fallbacks for values it lacks.
LogFormats ReadLogFormats(platform::Locale& locale, std::uint32_t localeId);

std::string FormatShortDate(const LogFormats& formats, const platform::LocalTime& time);
std::string FormatLongTime(const LogFormats& formats, const platform::LocalTime& time);

class NotificationLog {
 public:
  NotificationLog(platform::Files& files, platform::Clock& clock, platform::Locale& locale);

  // The formats of the program's thread, read at start.
  void ReadThreadFormats();
  // The formats of the user's default locale, after Windows announced a
  // change of settings.
  void ReadUserFormats();
  const LogFormats& Formats() const { return formats_; }

  // Adds one line for a disk left in `driveLetter` to the file `logFile`.
  // `logBuffer` is the check run's own copy of the file's text.
  void AppendLogLine(std::string& logBuffer, const std::string& logFile, const std::string& label,
                     char driveLetter);

 private:
  platform::Files& files_;
  platform::Clock& clock_;
  platform::Locale& locale_;
  LogFormats formats_;
};
