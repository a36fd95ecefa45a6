#include "about/AboutUn.h"

TfmAbout* fmAbout = nullptr;

namespace {
const char kClassName[] = "TfmAbout";
}

TfmAbout::TfmAbout() {
  platform::RegisterFormClass(kClassName, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
  CreateHandle(kClassName, "About Dorvane", WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, 456, 248);
}
