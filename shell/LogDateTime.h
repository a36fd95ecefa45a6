#pragma once
// The date and the time of a log line, as text by the locale's formats.

#include <string>

#include "platform/Files.h"
#include "shell/LogFormats.h"

// The date by the short date pattern. `locale` tells the lead bytes of the
// ANSI code page, so that the second byte of a double-byte character in the
// pattern is never read as a pattern letter.
std::string FormatShortDate(const LogFormats& formats, const platform::LocalTime& time,
                            platform::Locale& locale);
std::string FormatLongTime(const LogFormats& formats, const platform::LocalTime& time);
