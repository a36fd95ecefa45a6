#pragma once
// The language the program speaks to the user in, chosen once at the start
// before any window is made: the file of the setting "Language" where it
// names a language, else that of Windows' display language, each tried
// with and without its region; English, the program's own, where there is
// no file or the language is English.

#include <string>

#include "platform/Files.h"
#include "platform/Language.h"

// Windows' display language as a language tag ("de-DE"), from the ISO
// codes of its locale; empty where the locale gives none.
std::string DisplayLanguageTag(platform::Locale& locale);

// Lays the translations of the chosen language file, beside the program
// in lang\, over `texts`. A file that is missing, cannot be read or gives
// no text passes the choice on to the next. Answers, for the start event,
// the language in use and where its texts came from: "en", or "de from
// lang\de.txt" with the ids that stand in English where any do
// (", in English: Warning, About.OK").
std::string LoadUserLanguage(platform::Texts& texts, platform::Files& files,
                             platform::Locale& locale, const std::string& setting);
