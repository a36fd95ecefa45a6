#include "shell/LogFileWrite.h"

#include <cstdint>
#include <memory>

#include "resources/Texts.h"

platform::Failure CannotCreateLogFile(const std::string& logFile) {
  return TextFailure(TextNamed("Error.CreateFile"), logFile);
}

namespace {

platform::Failure StreamWriteError() { return TextFailure(TextNamed("Error.WriteFile")); }

// A name that ends in a separator (or is empty) names a folder, not a file;
// adding the temporary suffix to it would write into the folder itself.
bool NamesAFile(const std::string& logFile) {
  return !logFile.empty() && logFile.back() != '\\' && logFile.back() != '/';
}

// The whole text goes in one write; a text too large for one write counts
// as a medium that could not take it.
bool WriteWhole(platform::WritableFile& file, std::string_view text) {
  const auto size = static_cast<std::uint32_t>(text.size());
  return size == text.size() && file.Write(text.data(), size) == size;
}

// The file's old text is given back when the new one does not fit: the
// truncation freed the space it took, so it fits again. A log that did not
// exist before is not left behind half written.
void WriteInPlace(platform::Files& files, const std::string& logFile, std::string_view text,
                  const std::string_view* before) {
  {
    std::unique_ptr<platform::WritableFile> file = files.Create(logFile);
    if (!file) throw CannotCreateLogFile(logFile);
    if (WriteWhole(*file, text) && file->Flush()) return;
  }
  if (before == nullptr) {
    files.Delete(logFile);
  } else if (std::unique_ptr<platform::WritableFile> file = files.Create(logFile)) {
    WriteWhole(*file, *before);
    file->Flush();
  }
  throw StreamWriteError();
}

}  // namespace

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
void WriteLogFile(platform::Files& files, const std::string& logFile, std::string_view text,
                  const std::string_view* before) {
  // A read-only log must stay as it is. Windows refuses to rename over a
  // read-only file, but Wine does it, so the attribute is checked here
  // instead of being left to the replacement.
  if (!NamesAFile(logFile) || files.IsReadOnly(logFile)) throw CannotCreateLogFile(logFile);

  std::string temporary;
  std::unique_ptr<platform::WritableFile> file = files.CreateBeside(logFile, temporary);
  if (!file) return WriteInPlace(files, logFile, text, before);

  const bool complete = WriteWhole(*file, text) && file->Flush();
  file.reset();  // closed: an open file cannot be renamed or deleted
  if (!complete) {
    files.Delete(temporary);
    throw StreamWriteError();
  }
  if (!files.Replace(temporary, logFile)) {
    files.Delete(temporary);
    WriteInPlace(files, logFile, text, before);
  }
}
