#pragma once
// The fonts that more than one window uses, as designed at 96 DPI.

#include "platform/Layout.h"

namespace layout {

// The windows' own font, 8 points at 96 DPI: the splash's, the settings
// dialog's and the About dialog's, and so their controls' unless a table
// names another.
constexpr Font kDialogFont = {"MS Sans Serif", 11, false, false};

}  // namespace layout
