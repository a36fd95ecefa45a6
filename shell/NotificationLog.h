#pragma once
// The notification log: one dated line per notification, appended to a
// plain text file for the user to read.

#include <cstdint>
#include <string>
#include <string_view>

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

// The date by the short date pattern. `locale` tells the lead bytes of the
// ANSI code page, so that the second byte of a double-byte character in the
// pattern is never read as a pattern letter.
std::string FormatShortDate(const LogFormats& formats, const platform::LocalTime& time,
                            platform::Locale& locale);
std::string FormatLongTime(const LogFormats& formats, const platform::LocalTime& time);

// The text of a log file with every line break made CR LF.
std::string NormalizeLineBreaks(const std::string& bytes, platform::Locale& locale);

// Whether every line break of the text is already CR LF, so that
// NormalizeLineBreaks would give it back unchanged.
bool HasOnlyCrLfBreaks(const std::string& bytes, platform::Locale& locale);

class NotificationLog {
 public:
  // Reads the formats of the program's thread: the log is created at start.
  NotificationLog(platform::Files& files, platform::Clock& clock, platform::Locale& locale);

  // The formats of the program's thread, read at start.
  void ReadThreadFormats();
  // The formats of the user's default locale, after Windows announced a
  // change of settings.
  void ReadUserFormats();
  const LogFormats& Formats() const { return formats_; }

  // Adds one line for a disk left in `driveLetter` to the file `logFile`.
  // `logBuffer` is the check run's own copy of the file's text. Fails with
  // "Cannot create file <logFile>" or "Stream write error"; the file then
  // holds exactly what it held before.
  void AppendLogLine(std::string& logBuffer, const std::string& logFile, const std::string& label,
                     char driveLetter);

 private:
  std::string BuildLine(const std::string& label, char driveLetter);
  // `before` is the file's text as it was read, null for a new file.
  void WriteLog(const std::string& logFile, std::string_view text, const std::string_view* before);
  void WriteInPlace(const std::string& logFile, std::string_view text,
                    const std::string_view* before);
  static bool WriteWhole(platform::WritableFile& file, std::string_view text);

  platform::Files& files_;
  platform::Clock& clock_;
  platform::Locale& locale_;
  LogFormats formats_;
};
