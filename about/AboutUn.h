#pragma once
// The About dialog: the product's logo, name and version, the maker's logo
// and links to the maker's web site and support address.

#include "platform/Shell.h"
#include "platform/win32/Controls.h"
#include "platform/win32/Forms.h"
#include "resources/AboutLayout.h"

class TfmAbout : public platform::TForm {
 public:
  // `logo` and `kestrome` are the main window's two pictures; the dialog's
  // creation takes copies of its own. `texts` are in the user's language.
  TfmAbout(platform::Shell& shell, const platform::Texts& texts, HBITMAP logo, HBITMAP kestrome);

 protected:
  void FormCreate() override;
  void FormFirstShow() override;
  void FormDpiChanged() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The fonts made for the dialog's DPI, and given with the pictures to
  // the controls.
  void MakeFonts();
  void ShowFontsAndPictures();
  void laWebSiteMouseDown();
  void laWebSiteMouseUp();
  void laWebSiteClick();
  void laEMailMouseDown();
  void laEMailMouseUp();
  void laEMailClick();
  void buOKClick();

  // Opens `target` as the shell opens documents and links.
  void OpenLink(const std::string& target);

  platform::Shell& shell_;
  const platform::Texts& texts_;
  HBITMAP mainLogo_;
  HBITMAP mainKestrome_;
  platform::Font font_;
  platform::Font nameFont_;
  platform::Font linkFont_;
  // The dialog's own copies of the main window's pictures.
  platform::Bitmap logo_;
  platform::Bitmap kestrome_;
  platform::ControlSet controls_{layout::kAboutLayout};
  platform::TControl imLogo{controls_, layout::AboutRow("imLogo")};
  platform::TControl imKestrome{controls_, layout::AboutRow("imKestrome")};
  platform::TControl laName{controls_, layout::AboutRow("laName")};
  platform::TControl laVersion{controls_, layout::AboutRow("laVersion")};
  platform::TControl beSeparator{controls_, layout::AboutRow("beSeparator")};
  platform::TControl laWebSite{controls_, layout::AboutRow("laWebSite")};
  platform::TControl laEMail{controls_, layout::AboutRow("laEMail")};
  platform::TControl beSep2{controls_, layout::AboutRow("beSep2")};
  platform::TControl buOK{controls_, layout::AboutRow("buOK")};
};

extern TfmAbout* fmAbout;
