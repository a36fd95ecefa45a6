#pragma once
// The About dialog: the product's logo, name and version, the maker's logo
// and links to the maker's web site and support address.

#include "platform/win32/Forms.h"

class TfmAbout : public platform::TForm {
 public:
  TfmAbout();
};

extern TfmAbout* fmAbout;
