#include "shell/NotificationLog.h"

#include <utility>

#include "platform/Failure.h"
#include "shell/LineBreaks.h"
#include "shell/LogDateTime.h"
#include "shell/LogFileWrite.h"

namespace {

const char kPartSeparator[] = "   -   ";

// Room for the line that the log adds after the file's text, so that
// adding it takes no second buffer.
constexpr std::size_t kRoomForLine = 512;

// A last line without a break is left as the user wrote it: the new line
// goes after a break of its own and the file again ends without one.
void AddLine(std::string& text, const std::string& line) {
  if (text.empty() || EndsWithLineBreak(text)) {
    text.append(line).append(kLineBreak);
  } else {
    text.append(kLineBreak).append(line);
  }
}

}  // namespace

NotificationLog::NotificationLog(platform::Files& files, platform::Clock& clock,
                                 platform::Locale& locale)
    : files_(files), clock_(clock), locale_(locale) {
  ReadThreadFormats();
}

void NotificationLog::ReadThreadFormats() {
  formats_ = ReadLogFormats(locale_, locale_.ThreadLocale());
}

void NotificationLog::ReadUserFormats() {
  formats_ = ReadLogFormats(locale_, platform::kLocaleUserDefault);
}

std::string NotificationLog::BuildLine(const std::string& label, char driveLetter) {
  // The log's rule for a line: its date from one reading of the clock, its
  // time from a second taken right after it. Hence a line written at
  // midnight may carry the old day's date with the new day's time.
  const platform::LocalTime dateReading = clock_.Now();
  const platform::LocalTime timeReading = clock_.Now();
  return FormatShortDate(formats_, dateReading, locale_) + kPartSeparator +
         FormatLongTime(formats_, timeReading) + kPartSeparator + "Left a disk with the label \"" +
         label + "\" in the " + std::string(1, driveLetter) + "-drive.";
}

// A log grows for years, so its text is held at most twice: the file's
// bytes, and their normalised copy only when some break is not CR LF. The
// log that the program wrote itself is taken as it was read.
NotificationLog::LogRead NotificationLog::ReadLog(std::string& logBuffer,
                                                  const std::string& logFile) {
  LogRead read;
  switch (files_.ReadAll(logFile, read.bytes)) {
    case platform::ReadResult::Ok:
      break;
    case platform::ReadResult::NotFound:
      // The file is made from this run's text: empty at the first
      // notification, else what this run wrote last.
      return read;
    case platform::ReadResult::Failed:
      // The file exists but cannot be read, typically because another
      // program holds it open for writing. Writing this run's text over it
      // would lose what the file holds, so the append fails as a file that
      // cannot be written does: the user sees the error, the session does
      // not end, and the log is untouched.
      throw CannotCreateLogFile(logFile);
  }
  // The file's text takes the place of what this run held before.
  std::string().swap(logBuffer);
  read.found = true;
  read.size = read.bytes.size();
  read.isLogBuffer = !NormalizeLineBreaksInto(logBuffer, read.bytes, locale_, kRoomForLine);
  if (read.isLogBuffer) logBuffer.swap(read.bytes);
  return read;
}

void NotificationLog::AppendLogLine(std::string& logBuffer, const std::string& logFile,
                                    const std::string& label, char driveLetter) {
  const LogRead read = ReadLog(logBuffer, logFile);
  AddLine(logBuffer, BuildLine(label, driveLetter));
  if (!read.found) return WriteLogFile(files_, logFile, logBuffer, nullptr);

  // What the file held, for a write in place that must give it back: the
  // start of the buffer when the bytes read became the buffer.
  const std::string_view before = read.isLogBuffer ? std::string_view(logBuffer.data(), read.size)
                                                   : std::string_view(read.bytes);
  // A log that could be read gets a second write when the first fails,
  // at once and with the same text, so the line stands in it once. Nothing
  // waits in between: only a hold on the file that has already ended is
  // outlasted, and a failure of the second write is the one the user sees.
  try {
    WriteLogFile(files_, logFile, logBuffer, &before);
  } catch (const platform::Failure&) {
    WriteLogFile(files_, logFile, logBuffer, &before);
  }
}
