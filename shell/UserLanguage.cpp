#include "shell/UserLanguage.h"

#include "resources/Texts.h"

std::string DisplayLanguageTag(platform::Locale& locale) {
  const std::uint32_t language = locale.UserInterfaceLanguage();
  std::string tag = locale.Info(language, platform::kLocaleSIso639LangName);
  const std::string country = locale.Info(language, platform::kLocaleSIso3166CtryName);
  if (!tag.empty() && !country.empty()) tag += "-" + country;
  return tag;
}

std::string LoadUserLanguage(platform::Texts& texts, platform::Files& files,
                             platform::Locale& locale, const std::string& setting) {
  for (std::string tag = platform::ChosenLanguage(setting, DisplayLanguageTag(locale));
       !tag.empty(); tag = platform::LanguageWithoutRegion(tag)) {
    std::string said = kLanguageFolder + tag + kLanguageFileEnding;
    std::string bytes;
    if (files.ReadSmall(files.ApplicationDirectory() + said, platform::kMaxLanguageFile, bytes) ==
        platform::ReadResult::Ok) {
      texts.Translate(bytes);
    }
    if (!texts.AnyTranslated()) continue;
    // What the administrator reads of a computer whose texts are in part
    // English although another language was asked for.
    said.insert(0, tag + " from ");
    const std::string fellBack = texts.FellBack();
    if (!fellBack.empty()) said += ", in English: " + fellBack;
    return said;
  }
  return "en";
}
