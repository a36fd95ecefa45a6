#include "shell/NotificationLog.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/Failure.h"
#include "platform/Text.h"

namespace {

const char kLineBreak[] = "\r\n";
const char kPartSeparator[] = "   -   ";

platform::Failure CannotCreate(const std::string& logFile) {
  return platform::Failure(platform::FormatFailure("Cannot create file %s", logFile));
}

platform::Failure StreamWriteError() { return platform::Failure("Stream write error"); }

// Locale numbers come as decimal text; anything else counts as 0, which
// is also what a locale that gives no value means.
int LocaleNumber(const std::string& text) {
  if (text.empty()) return 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' ? static_cast<int>(value) : 0;
}

// The parts of a date and a time are never negative.
std::string Digits(int value, std::size_t width) {
  std::string text;
  unsigned rest = value < 0 ? 0u : static_cast<unsigned>(value);
  do {
    text.insert(text.begin(), static_cast<char>('0' + rest % 10));
    rest /= 10;
  } while (rest != 0);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

bool EndsWithLineBreak(const std::string& text) {
  return text.size() >= 2 && text.compare(text.size() - 2, 2, kLineBreak) == 0;
}

// A name that ends in a separator (or is empty) names a folder, not a file;
// adding the temporary suffix to it would write into the folder itself.
bool NamesAFile(const std::string& logFile) {
  return !logFile.empty() && logFile.back() != '\\' && logFile.back() != '/';
}

}  // namespace

LogFormats ReadLogFormats(platform::Locale& locale, std::uint32_t localeId) {
  LogFormats formats;  // its defaults stand in for values the locale lacks
  auto text = [&](std::uint32_t type, std::string& field) {
    std::string value = locale.Info(localeId, type);
    if (!value.empty()) field = std::move(value);
  };
  auto flag = [&](std::uint32_t type) { return LocaleNumber(locale.Info(localeId, type)) != 0; };

  text(platform::kLocaleSShortDate, formats.shortDate);
  text(platform::kLocaleSDate, formats.dateSeparator);
  text(platform::kLocaleSTime, formats.timeSeparator);
  formats.hourLeadingZero = flag(platform::kLocaleITLZero);
  formats.twentyFourHour = flag(platform::kLocaleITime);
  formats.markBeforeTime = flag(platform::kLocaleITimeMarkPosn);
  text(platform::kLocaleS1159, formats.morning);
  text(platform::kLocaleS2359, formats.afternoon);
  return formats;
}

// The pattern letters are d (day), m (month) and y (year), in either case,
// as Windows writes "M" and older patterns "m". A run of one letter gives
// the number without a leading zero, a longer run gives it with two digits;
// the log has no names of days or months, so "ddd" or "MMMM" read as "dd"
// and "MM". The year has two digits for "y" and "yy", four for three or
// more. Text in single or double quotes is copied without its quotes, as
// Windows patterns quote literal words; "/" is the locale's separator, and
// every other byte, the two bytes of a double-byte character included, is
// copied as it is.
std::string FormatShortDate(const LogFormats& formats, const platform::LocalTime& time,
                            platform::Locale& locale) {
  const std::string& pattern = formats.shortDate;
  std::string date;
  std::size_t i = 0;
  auto copyCharacter = [&] {
    const bool pair = locale.IsLeadByte(static_cast<unsigned char>(pattern[i])) &&
                      i + 1 < pattern.size();
    date.append(pattern, i, pair ? 2 : 1);
    i += pair ? 2 : 1;
  };

  while (i < pattern.size()) {
    const char c = pattern[i];
    const char letter = platform::AsciiLower(c);
    if (c == '\'' || c == '"') {
      ++i;
      while (i < pattern.size() && pattern[i] != c) copyCharacter();
      ++i;  // the closing quote; an unclosed quote runs to the end
    } else if (letter == 'd' || letter == 'm' || letter == 'y') {
      std::size_t run = 1;
      while (i + run < pattern.size() && platform::AsciiLower(pattern[i + run]) == letter) ++run;
      i += run;
      if (letter == 'y') {
        date += run <= 2 ? Digits(time.year % 100, 2) : Digits(time.year, 4);
      } else {
        date += Digits(letter == 'd' ? time.day : time.month, run == 1 ? 1 : 2);
      }
    } else if (c == '/') {
      date += formats.dateSeparator;
      ++i;
    } else {
      copyCharacter();
    }
  }
  return date;
}

std::string FormatLongTime(const LogFormats& formats, const platform::LocalTime& time) {
  int hour = time.hour;
  if (!formats.twentyFourHour) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  const std::string clock = Digits(hour, formats.hourLeadingZero ? 2 : 1) + formats.timeSeparator +
                            Digits(time.minute, 2) + formats.timeSeparator +
                            Digits(time.second, 2);
  if (formats.twentyFourHour) return clock;
  const std::string& mark = time.hour < 12 ? formats.morning : formats.afternoon;
  return formats.markBeforeTime ? mark + " " + clock : clock + " " + mark;
}

namespace {

// Which bytes start a two-byte character of the ANSI code page, asked of
// the locale once per text and then looked up by value.
class LeadBytes {
 public:
  explicit LeadBytes(platform::Locale& locale) {
    for (const platform::Locale::LeadByteRange& range : locale.LeadByteRanges()) {
      for (int byte = range.first; byte <= range.last; ++byte) table_[byte] = true;
      any_ = any_ || range.first <= range.last;
    }
  }
  bool Any() const { return any_; }
  bool operator()(unsigned char byte) const { return table_[byte]; }

 private:
  std::array<bool, 256> table_{};
  bool any_ = false;
};

// Hands each line break of the text to `onBreak(position, length)`: length
// 2 for CR LF, 1 for a lone CR or LF. `onBreak` answers whether to go on.
// In a single-byte code page (every Western one) no byte is a lead byte,
// and the breaks are found with memchr, a block at a time; only a
// double-byte code page needs the bytes one by one, so that the second
// byte of a character is never taken for a break.
template <typename OnBreak>
void ForEachLineBreak(const char* data, std::size_t size, const LeadBytes& lead,
                      OnBreak onBreak) {
  const char* const end = data + size;
  auto breakLength = [&](const char* at) -> std::size_t {
    return at[0] == '\r' && at + 1 < end && at[1] == '\n' ? 2 : 1;
  };
  if (!lead.Any()) {
    auto next = [end](const char* from, char byte) {
      const void* found = std::memchr(from, byte, static_cast<std::size_t>(end - from));
      return found != nullptr ? static_cast<const char*>(found) : end;
    };
    const char* nextCr = next(data, '\r');
    const char* nextLf = next(data, '\n');
    for (const char* at = data;;) {
      if (nextCr < at) nextCr = next(at, '\r');
      if (nextLf < at) nextLf = next(at, '\n');
      const char* found = std::min(nextCr, nextLf);
      if (found == end) return;
      const std::size_t length = breakLength(found);
      if (!onBreak(static_cast<std::size_t>(found - data), length)) return;
      at = found + length;
    }
  }
  for (const char* at = data; at < end;) {
    if (*at == '\r' || *at == '\n') {
      const std::size_t length = breakLength(at);
      if (!onBreak(static_cast<std::size_t>(at - data), length)) return;
      at += length;
    } else {
      // A lead byte takes the next byte into its character, unless a CR LF
      // follows it: that is a break even there (see NormalizeLineBreaks).
      const bool crLfFollows = at + 2 < end && at[1] == '\r' && at[2] == '\n';
      at += lead(static_cast<unsigned char>(*at)) && at + 1 < end && !crLfFollows ? 2 : 1;
    }
  }
}

std::size_t CountLoneBreaks(const std::string& bytes, const LeadBytes& lead) {
  std::size_t lone = 0;
  ForEachLineBreak(bytes.data(), bytes.size(), lead, [&](std::size_t, std::size_t length) {
    lone += length == 1 ? 1 : 0;
    return true;
  });
  return lone;
}

// `text` becomes `bytes` with every break CR LF, in a buffer of its exact
// size and `room` bytes more, copied a stretch between two breaks at a time.
void NormalizeInto(std::string& text, const std::string& bytes, const LeadBytes& lead,
                   std::size_t room) {
  std::string normalized;
  normalized.reserve(bytes.size() + CountLoneBreaks(bytes, lead) + room);
  std::size_t copied = 0;
  ForEachLineBreak(bytes.data(), bytes.size(), lead, [&](std::size_t at, std::size_t length) {
    normalized.append(bytes, copied, at - copied);
    normalized += kLineBreak;
    copied = at + length;
    return true;
  });
  normalized.append(bytes, copied, std::string::npos);
  text.swap(normalized);
}

// Room for the line that the log adds after the file's text, so that
// adding it takes no second buffer.
constexpr std::size_t kRoomForLine = 512;

}  // namespace

// Editors on other systems leave LF or CR alone as line breaks; the log
// is for Windows readers, so every break becomes CR LF. In a double-byte
// code page the second byte of a character may have any value, and it is
// copied with its lead byte so that it is never taken for a break.
//
// A CR LF pair is the one exception: it is a break even after a lead
// byte. A file cut short inside a character ends in a lone lead byte, the
// program writes its break right after it, and the next run must find
// that break again rather than take its CR into the character and add a
// CR of its own. No code page has CR as the second byte of a character.
std::string NormalizeLineBreaks(const std::string& bytes, platform::Locale& locale) {
  std::string text;
  NormalizeInto(text, bytes, LeadBytes(locale), 0);
  return text;
}

bool HasOnlyCrLfBreaks(const std::string& bytes, platform::Locale& locale) {
  bool clean = true;
  ForEachLineBreak(bytes.data(), bytes.size(), LeadBytes(locale),
                   [&](std::size_t, std::size_t length) {
                     clean = length == 2;
                     return clean;
                   });
  return clean;
}

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
  // Two readings, the date first: a line written at midnight may carry the
  // old day's date with the new day's time.
  const platform::LocalTime dateReading = clock_.Now();
  const platform::LocalTime timeReading = clock_.Now();
  return FormatShortDate(formats_, dateReading, locale_) + kPartSeparator +
         FormatLongTime(formats_, timeReading) + kPartSeparator +
         "Left a disk with the label \"" + label + "\" in the " + std::string(1, driveLetter) +
         "-drive.";
}

// The log is the user's record and must never be lost: a full medium or a
// failure halfway through must not leave it truncated. So the whole text
// goes to a new file beside it, which replaces the log only when every byte
// has been written and flushed; on a failure it is removed and the log keeps
// exactly what it held. The new file's name is one that no file of the
// folder has, so no file of the user's is ever overwritten.
//
// Administrators often let users write the log but not make files in its
// folder. There the new file cannot be made, or cannot take the log's
// place, and the log is written in place instead, as a plain program
// writes its file: the line is logged, at the price of the safety above.
void NotificationLog::WriteLog(const std::string& logFile, std::string_view text,
                               const std::string_view* before) {
  // A read-only log must stay as it is. Windows refuses to rename over a
  // read-only file, but Wine does it, so the attribute is checked here
  // instead of being left to the replacement.
  if (!NamesAFile(logFile) || files_.IsReadOnly(logFile)) throw CannotCreate(logFile);

  std::string temporary;
  std::unique_ptr<platform::WritableFile> file = files_.CreateBeside(logFile, temporary);
  if (!file) return WriteInPlace(logFile, text, before);

  const bool complete = WriteWhole(*file, text) && file->Flush();
  file.reset();  // closed: an open file cannot be renamed or deleted
  if (!complete) {
    files_.Delete(temporary);
    throw StreamWriteError();
  }
  if (!files_.Replace(temporary, logFile)) {
    files_.Delete(temporary);
    WriteInPlace(logFile, text, before);
  }
}

// The file's old text is given back when the new one does not fit: the
// truncation freed the space it took, so it fits again. A log that did not
// exist before is not left behind half written.
void NotificationLog::WriteInPlace(const std::string& logFile, std::string_view text,
                                   const std::string_view* before) {
  {
    std::unique_ptr<platform::WritableFile> file = files_.Create(logFile);
    if (!file) throw CannotCreate(logFile);
    if (WriteWhole(*file, text) && file->Flush()) return;
  }
  if (before == nullptr) {
    files_.Delete(logFile);
  } else if (std::unique_ptr<platform::WritableFile> file = files_.Create(logFile)) {
    WriteWhole(*file, *before);
    file->Flush();
  }
  throw StreamWriteError();
}

// The whole text goes in one write; a text too large for one write counts
// as a medium that could not take it.
bool NotificationLog::WriteWhole(platform::WritableFile& file, std::string_view text) {
  const auto size = static_cast<std::uint32_t>(text.size());
  return size == text.size() && file.Write(text.data(), size) == size;
}

void NotificationLog::AppendLogLine(std::string& logBuffer, const std::string& logFile,
                                    const std::string& label, char driveLetter) {
  // A log grows for years, so its text is held at most twice: the file's
  // bytes, and their normalised copy only when some break is not CR LF.
  // The log that the program wrote itself is taken as it was read.
  std::string bytes;
  std::size_t readSize = 0;
  bool readIsLogBuffer = false;  // the bytes read became the buffer unchanged
  const platform::ReadResult read = files_.ReadAll(logFile, bytes);
  switch (read) {
    case platform::ReadResult::Ok: {
      // The file's text takes the place of what this run held before.
      std::string().swap(logBuffer);
      readSize = bytes.size();
      const LeadBytes lead(locale_);
      readIsLogBuffer = CountLoneBreaks(bytes, lead) == 0;
      if (readIsLogBuffer) {
        logBuffer.swap(bytes);
      } else {
        NormalizeInto(logBuffer, bytes, lead, kRoomForLine);
      }
      break;
    }
    case platform::ReadResult::NotFound:
      // The file is made from this run's text: empty at the first
      // notification, else what this run wrote last.
      break;
    case platform::ReadResult::Failed:
      // The file exists but cannot be read, typically because another
      // program holds it open for writing. Writing this run's text over it
      // would lose what the file holds, so the append fails as a file that
      // cannot be written does: the user sees the error, the session does
      // not end, and the log is untouched.
      throw CannotCreate(logFile);
  }

  const std::string line = BuildLine(label, driveLetter);
  // A last line without a break is left as the user wrote it: the new line
  // goes after a break of its own and the file again ends without one.
  if (logBuffer.empty() || EndsWithLineBreak(logBuffer)) {
    logBuffer.append(line).append(kLineBreak);
  } else {
    logBuffer.append(kLineBreak).append(line);
  }

  if (read == platform::ReadResult::NotFound) {
    WriteLog(logFile, logBuffer, nullptr);
    return;
  }
  // What the file held, for a write in place that must give it back: the
  // start of the buffer when the bytes read became the buffer.
  const std::string_view before =
      readIsLogBuffer ? std::string_view(logBuffer.data(), readSize) : std::string_view(bytes);
  // A file that could just be read is most likely briefly held by another
  // program (a viewer, a virus scanner): one more attempt is worth it.
  try {
    WriteLog(logFile, logBuffer, &before);
  } catch (const platform::Failure&) {
    WriteLog(logFile, logBuffer, &before);
  }
}
