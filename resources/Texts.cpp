#include "resources/Texts.h"

const platform::TextEntry* TextTable() { return kTexts; }

platform::Failure TextFailure(platform::TextId id, std::string value) {
  return platform::Failure(id, EnglishText(id), std::move(value));
}
