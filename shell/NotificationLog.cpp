#include "shell/NotificationLog.h"

#include "platform/Failure.h"

// Placeholder until the log is written: the settings keep logging off.
NotificationLog::NotificationLog(platform::Files& files, platform::Clock& clock,
                                 platform::Locale& locale)
    : files_(files), clock_(clock), locale_(locale) {}

void NotificationLog::ReadThreadFormats() {}
void NotificationLog::ReadUserFormats() {}

void NotificationLog::AppendLogLine(std::string&, const std::string& logFile, const std::string&,
                                    char) {
  throw platform::Failure(platform::FormatFailure("Cannot create file %s", logFile));
}
