#pragma once
// The notification log: one dated line per notification, appended to a
// plain text file for the user to read.

#include <cstddef>
#include <string>

#include "platform/Files.h"
#include "shell/LogFormats.h"

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
  // What the file held when the append read it.
  struct LogRead {
    bool found = false;        // there was a file, and it could be read
    std::string bytes;         // its bytes, when the buffer holds a normalised copy
    std::size_t size = 0;      // how many bytes it held
    bool isLogBuffer = false;  // the bytes read became the buffer unchanged
  };

  LogRead ReadLog(std::string& logBuffer, const std::string& logFile);
  std::string BuildLine(const std::string& label, char driveLetter);

  platform::Files& files_;
  platform::Clock& clock_;
  platform::Locale& locale_;
  LogFormats formats_;
};
