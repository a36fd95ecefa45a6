#pragma once
// The About dialog: the product's logo, name and version, the maker's logo
// and links to the maker's web site and support address.

#include "platform/win32/Controls.h"
#include "platform/win32/Forms.h"

class TfmAbout : public platform::TForm {
 public:
  TfmAbout();

 protected:
  void FormCreate() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void laWebSiteMouseDown();
  void laWebSiteMouseUp();
  void laWebSiteClick();
  void laEMailMouseDown();
  void laEMailMouseUp();
  void laEMailClick();
  void buOKClick();

  // Opens `target` as the shell opens documents and links.
  void OpenLink(const std::string& target);

  platform::Font font_;
  platform::Font nameFont_;
  platform::Font linkFont_;
  // The dialog's own copies of the main window's pictures.
  platform::Bitmap logo_;
  platform::Bitmap kestrome_;
  platform::ControlSet controls_;
};

extern TfmAbout* fmAbout;
