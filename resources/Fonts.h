#pragma once
// The fonts that more than one window uses, as designed at 96 DPI.

#include <string_view>

#include "platform/Language.h"
#include "platform/Layout.h"

namespace layout {

// The windows' own font, 8 points at 96 DPI: the splash's, the settings
// dialog's and the About dialog's, and so their controls' unless a table
// names another.
constexpr Font kDialogFont = {"MS Sans Serif", 11, false, false};

// MS Sans Serif, the designed face, is a bitmap font that holds the letters
// of the system's code page alone: on an English Windows it has no "ą" or
// "ł", which Windows would draw as "a" and "l". Its TrueType twin, from
// Windows 2000 on, has the same widths and the letters of every European
// language: the windows draw in it whenever a language file is in use.
constexpr char kTranslatedDialogFace[] = "Microsoft Sans Serif";

// `font` as the windows draw it in the language of `texts`.
inline Font ShownFont(Font font, const platform::Texts& texts) {
  if (texts.AnyTranslated() && std::string_view(font.face) == kDialogFont.face) {
    font.face = kTranslatedDialogFace;
  }
  return font;
}

}  // namespace layout
