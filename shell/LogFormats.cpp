#include "shell/LogFormats.h"

#include <cstdlib>
#include <utility>

namespace {

// Locale numbers come as decimal text; anything else counts as 0, which
// is also what a locale that gives no value means.
int LocaleNumber(const std::string& text) {
  if (text.empty()) return 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' ? static_cast<int>(value) : 0;
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
