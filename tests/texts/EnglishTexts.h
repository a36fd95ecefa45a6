#pragma once
// The program's texts with no language file laid over them, as the tests
// expect them in English. Header only: the host tests, the Windows-side
// tests and the end-to-end driver each build it into their own program.

#include "platform/Language.h"
#include "resources/Texts.h"

inline const platform::Texts& EnglishTexts() {
  static const platform::Texts english(TextTable(), kTextCount);
  return english;
}
