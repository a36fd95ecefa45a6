#pragma once
// The locale's formats of the log line's date and time.

#include <cstdint>
#include <string>

#include "platform/Files.h"

// The date and time formats of the log line, taken from the locale.
struct LogFormats {
  std::string shortDate = "m/d/yy";
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  bool hourLeadingZero = false;  // LOCALE_ITLZERO
  bool twentyFourHour = false;   // LOCALE_ITIME
  bool markBeforeTime = false;   // LOCALE_ITIMEMARKPOSN
  std::string morning = "am";    // LOCALE_S1159
  std::string afternoon = "pm";  // LOCALE_S2359
};

// Reads the formats of `locale`, with the fallbacks for values it lacks.
LogFormats ReadLogFormats(platform::Locale& locale, std::uint32_t localeId);
