#pragma once
// Writing the log file's whole text so that a failure never leaves the
// file truncated.

#include <string>
#include <string_view>

#include "platform/Failure.h"
#include "platform/Files.h"

// Gives `logFile` the text `text`. `before` is the file's text as it was
// read, null when there was no file. Fails with "Cannot create file
// <logFile>" or "Stream write error"; the file then holds exactly what it
// held before.
void WriteLogFile(platform::Files& files, const std::string& logFile, std::string_view text,
                  const std::string_view* before);

// "Cannot create file <logFile>".
platform::Failure CannotCreateLogFile(const std::string& logFile);
