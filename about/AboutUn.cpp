#include "about/AboutUn.h"

#include <string>
#include <utility>

#include "platform/Dpi.h"
#include "resources/AboutLayout.h"

TfmAbout* fmAbout = nullptr;

namespace {

using platform::kLinkColour;
// A link turns red while a mouse button is held on it.
const COLORREF kLinkPressed = RGB(255, 0, 0);

// A picture of the dialog's own: a copy in the same format, so the logo's
// background colour is still its bottom-left pixel.
platform::Bitmap CopyPicture(HBITMAP source) {
  if (source == nullptr) return platform::Bitmap();
  return platform::Bitmap(
      static_cast<HBITMAP>(::CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

}  // namespace

TfmAbout::TfmAbout(platform::Shell& shell, const platform::Texts& texts, HBITMAP logo,
                   HBITMAP kestrome)
    : shell_(shell),
      texts_(texts),
      mainLogo_(logo),
      mainKestrome_(kestrome) {
  const layout::Window& window = layout::kAboutWindow;
  platform::RegisterFormClass(window.className, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
  // A caption without a system menu has no caption buttons at all: the
  // dialog closes only through OK.
  CreateHandle(window.className, window.caption.In(texts_), WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
               WS_EX_DLGMODALFRAME, window.clientWidth, window.clientHeight);
  MakeFonts();
}

void TfmAbout::MakeFonts() {
  font_ = platform::CreateLayoutFont(layout::ShownFont(layout::kAboutDialogFont, texts_), Dpi());
  nameFont_ = platform::CreateLayoutFont(layout::ShownFont(layout::kAboutNameFont, texts_), Dpi());
  linkFont_ = platform::CreateLayoutFont(layout::ShownFont(layout::kAboutLinkFont, texts_), Dpi());
}

void TfmAbout::ShowFontsAndPictures() {
  platform::SetControlFont(laName, nameFont_.Get());
  platform::SetControlFont(laWebSite, linkFont_.Get());
  platform::SetControlFont(laEMail, linkFont_.Get());
  platform::SetImagePicture(imLogo, logo_.Get());
  platform::SetImagePicture(imKestrome, kestrome_.Get());
}

void TfmAbout::FormDpiChanged() {
  platform::Font font = std::move(font_);
  platform::Font nameFont = std::move(nameFont_);
  platform::Font linkFont = std::move(linkFont_);
  platform::Bitmap logo = std::move(logo_);
  platform::Bitmap kestrome = std::move(kestrome_);
  MakeFonts();
  // At a DPI of its own the dialog draws its own pictures, as the main
  // window draws them.
  logo_ = platform::LoadPictureForDpi("LOGO", Dpi());
  kestrome_ = platform::LoadPictureForDpi("KESTROME", Dpi());
  if (!controls_.Created()) return;
  controls_.Place(Dpi(), font_.Get());
  ShowFontsAndPictures();
}

void TfmAbout::FormCreate() {
  logo_ = CopyPicture(mainLogo_);
  kestrome_ = CopyPicture(mainKestrome_);
}

// As in the settings dialog, the controls are made when the dialog is
// first shown, and kept from then on.
void TfmAbout::FormFirstShow() {
  controls_.Create(Handle(), font_.Get(), Dpi(), texts_);
  ShowFontsAndPictures();

  platform::SetLabelMouse(
      laWebSite,
      [this](UINT message) { IsButtonDown(message) ? laWebSiteMouseDown() : laWebSiteMouseUp(); },
      [this] { laWebSiteClick(); });
  platform::SetLabelMouse(
      laEMail,
      [this](UINT message) { IsButtonDown(message) ? laEMailMouseDown() : laEMailMouseUp(); },
      [this] { laEMailClick(); });
  platform::SetLinkAction(laWebSite, texts_[TextNamed("About.LinkAction")]);
  platform::SetLinkAction(laEMail, texts_[TextNamed("About.LinkAction")]);

  // The framework gives the focus back to this control whenever the dialog
  // is activated, so OK has it from the first show on.
  activeControl_ = buOK;
}

void TfmAbout::laWebSiteMouseDown() { platform::SetLabelColour(laWebSite, kLinkPressed); }

void TfmAbout::laWebSiteMouseUp() { platform::SetLabelColour(laWebSite, kLinkColour); }

void TfmAbout::laWebSiteClick() { OpenLink(platform::WindowTextOf(laWebSite)); }

void TfmAbout::laEMailMouseDown() { platform::SetLabelColour(laEMail, kLinkPressed); }

void TfmAbout::laEMailMouseUp() { platform::SetLabelColour(laEMail, kLinkColour); }

void TfmAbout::laEMailClick() { OpenLink("mailto:" + platform::WindowTextOf(laEMail)); }

void TfmAbout::OpenLink(const std::string& target) {
  // The browser or mail program that the shell starts shows itself; when
  // none is registered nothing happens, and the dialog stays as it is.
  shell_.Execute(Handle(), "open", target, "", "", SW_HIDE);
}

void TfmAbout::buOKClick() { Close(); }

LRESULT TfmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // The keyboard interface turns Esc into IDCANCEL, and Enter into IDOK
      // when no button answers for it below: the dialog has neither a
      // cancel nor a default button, so both do nothing.
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == buOK.Id()) buOKClick();
      return 0;
    case DM_GETDEFID:
      // Enter presses the push button that has the focus, as in any dialog.
      // Answering here only routes the key: OK keeps its plain push-button
      // style and is never made the default button.
      if (::GetFocus() == buOK) {
        return MAKELRESULT(buOK.Id(), DC_HASDEFID);
      }
      return 0;
    default:
      return TForm::HandleMessage(message, wParam, lParam);
  }
}
