#include "settings/SettingsUn.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/Failure.h"
#include "platform/win32/InputBox.h"
#include "resources/SettingsLayout.h"
#include "shell/Commands.h"
#include "shell/Services.h"

TfmSettings* fmSettings = nullptr;

namespace {

const char kLogFileName[] = "dvn.dvl";
const char kInsertFailed[] = "Unable to insert a line";
constexpr std::uintptr_t kSettingsHelpContext = 35;
constexpr int kExclusionItemHeight = 13;

// The list view's check box is its state image: 1 unchecked, 2 checked.
constexpr UINT kUncheckedImage = 1;
constexpr UINT kCheckedImage = 2;


bool IsChecked(HWND button) { return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool checked) {
  ::SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsPushButton(HWND hwnd) {
  const LONG type = platform::ButtonType(hwnd);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Sets a flag for the span of a scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;
  ~FlagScope() { flag_ = before_; }

 private:
  bool& flag_;
  bool before_;
};

// The letter after the single "&" of a caption, upper case; 0 for none.
char AccessKeyOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return '\0';
}

}  // namespace

const TfmSettings::NamedControl TfmSettings::kNamedControls[] = {
    {"pcSettings", &TfmSettings::pcSettings},
    {"buCancel", &TfmSettings::buCancel},
    {"buOK", &TfmSettings::buOK},
    {"buHelp", &TfmSettings::buHelp},
    {"tsDrives", &TfmSettings::tsDrives},
    {"tsSound", &TfmSettings::tsSound},
    {"tsLogging", &TfmSettings::tsLogging},
    {"tsOther", &TfmSettings::tsOther},
    {"imDrives", &TfmSettings::imDrives},
    {"lvDrives", &TfmSettings::lvDrives},
    {"laDrives", &TfmSettings::laDrives},
    {"imSound", &TfmSettings::imSound},
    {"rbNoSound", &TfmSettings::rbNoSound},
    {"rbSoundFile", &TfmSettings::rbSoundFile},
    {"paSoundFile", &TfmSettings::paSoundFile},
    {"edSound", &TfmSettings::edSound},
    {"buBrowse", &TfmSettings::buBrowse},
    {"buTest", &TfmSettings::buTest},
    {"rbSoundWindows", &TfmSettings::rbSoundWindows},
    {"paSoundWindows", &TfmSettings::paSoundWindows},
    {"rbDefaultExclamation", &TfmSettings::rbDefaultExclamation},
    {"rbDefaultQuestion", &TfmSettings::rbDefaultQuestion},
    {"rbDefaultError", &TfmSettings::rbDefaultError},
    {"rbDefaultInformation", &TfmSettings::rbDefaultInformation},
    {"imLogging", &TfmSettings::imLogging},
    {"chLogging", &TfmSettings::chLogging},
    {"paLogging", &TfmSettings::paLogging},
    {"edLogFile", &TfmSettings::edLogFile},
    {"buBrowseLogFile", &TfmSettings::buBrowseLogFile},
    {"imExclusion", &TfmSettings::imExclusion},
    {"laExclusion", &TfmSettings::laExclusion},
    {"paExclusion", &TfmSettings::paExclusion},
    {"lbExclusion", &TfmSettings::lbExclusion},
    {"buExclusionAdd", &TfmSettings::buExclusionAdd},
    {"buExclusionRemove", &TfmSettings::buExclusionRemove},
    {"chNoDialog", &TfmSettings::chNoDialog},
};

void LoadSettings() { fmSettings->LoadSettings(); }

TfmSettings::TfmSettings()
    : icon_(platform::LoadIconResource("MAINICON", 16)),
      font_(platform::CreateFontByName("MS Sans Serif", 11)),
      store_(Services.registry, Services.files.ApplicationDirectory() + kLogFileName),
      log_(Services.files, Services.clock, Services.locale),
      o_SoundFile(SoundFileChooser()),
      o_LogFile(LogFileChooser()) {
  const layout::Window& window = layout::kSettingsWindow;
  platform::RegisterFormClass(window.className, icon_.Get(), ::GetSysColorBrush(COLOR_BTNFACE));
  // A single fixed border and a caption with the system menu's close box
  // only: the dialog can be neither resized, minimised nor maximised, and
  // the system menu shows those commands greyed.
  CreateHandle(window.className, window.caption,
               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, window.clientWidth,
               window.clientHeight);
  ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));

  controls_.Create(Handle(), layout::kSettingsLayout, font_.Get());
  for (const NamedControl& control : kNamedControls) {
    this->*control.member = controls_[control.name];
  }

  for (const layout::ImagePicture& image : layout::kSettingsPictures) {
    pictures_.push_back(platform::LoadBitmapResource(image.picture));
    platform::SetImagePicture(controls_[image.image], pictures_.back().Get());
  }
  ::SendMessageA(lbExclusion, LB_SETITEMHEIGHT, 0, kExclusionItemHeight);

  // The push buttons report their focus, so that the one with the focus is
  // the one Enter presses, and OK is whenever no push button has it.
  for (HWND button : {buCancel, buOK, buHelp, buBrowse, buTest, buBrowseLogFile, buExclusionAdd,
                      buExclusionRemove}) {
    ::SetWindowLongA(button, GWL_STYLE, ::GetWindowLongA(button, GWL_STYLE) | BS_NOTIFY);
  }
  UpdateDefaultButton();

  // Before the first load the controls show the options' initial values.
  FillControls();
  activeControl_ = buOK;
}

void TfmSettings::FormCreate() {
  ilDrives = BuildDriveList(Options, Services.drives, Services.shell);
  InsertDriveItems();
  LoadSettings();
}

void TfmSettings::LoadSettings() {
  try {
    store_.LoadSettings(Options);
  } catch (...) {
    FillControls();
    throw;
  }
  FillControls();
}

// ---------------------------------------------------------------------------
// The controls shown from the options

void TfmSettings::InsertDriveItems() {
  if (ilDrives != nullptr) {
    ::SendMessageA(lvDrives, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ilDrives));
  }
  FlagScope filling(filling_);
  for (std::size_t i = 0; i < Options.Drives.size(); ++i) {
    const TDriveEntry& entry = Options.Drives[i];
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(entry.Caption.c_str());
    item.iImage = entry.ImageIndex;
    ::SendMessageA(lvDrives, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  FillDriveChecks();
}

void TfmSettings::FillControls() {
  {
    FlagScope filling(filling_);
    FillDriveChecks();
    FillExclusions();
    platform::SetRadioChecked(Options.Sound == TSound::SoundFile      ? rbSoundFile
                              : Options.Sound == TSound::SoundWindows ? rbSoundWindows
                                                                      : rbNoSound);
    switch (Options.WindowsSound) {
      case TWindowsSound::Exclamation: platform::SetRadioChecked(rbDefaultExclamation); break;
      case TWindowsSound::Question: platform::SetRadioChecked(rbDefaultQuestion); break;
      case TWindowsSound::Error: platform::SetRadioChecked(rbDefaultError); break;
      case TWindowsSound::Information: platform::SetRadioChecked(rbDefaultInformation); break;
    }
    ::SetWindowTextA(edSound, Options.SoundFile.c_str());
    ::SetWindowTextA(edLogFile, Options.LogFile.c_str());
    SetChecked(chLogging, Options.Logging);
    SetChecked(chNoDialog, Options.NoDialog);
  }
  ApplyEnabling();
}

void TfmSettings::FillDriveChecks() {
  FlagScope filling(filling_);
  for (std::size_t i = 0; i < Options.Drives.size(); ++i) {
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(Options.Drives[i].Checked ? kCheckedImage : kUncheckedImage);
    ::SendMessageA(lvDrives, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
  }
}

void TfmSettings::FillExclusions() {
  ::SendMessageA(lbExclusion, LB_RESETCONTENT, 0, 0);
  for (const std::string& label : Options.Exclusions) AddListLabel(label);
  ExclusionsFromList();
}

void TfmSettings::AddListLabel(const std::string& label) {
  const LRESULT index =
      ::SendMessageA(lbExclusion, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
  if (index == LB_ERR || index == LB_ERRSPACE) throw platform::Failure(kInsertFailed);
}

// The list box holds the labels: the options take them in its order.
void TfmSettings::ExclusionsFromList() {
  std::vector<std::string> labels;
  const LRESULT count = ::SendMessageA(lbExclusion, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageA(lbExclusion, LB_GETTEXTLEN, i, 0);
    std::string label(length + 1, '\0');
    const LRESULT copied =
        ::SendMessageA(lbExclusion, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&label[0]));
    label.resize(copied < 0 ? 0 : copied);
    labels.push_back(label);
  }
  Options.Exclusions = labels;
}

void TfmSettings::ApplyEnabling() {
  const SettingsEnabling enabling = EnablingFor(Options);
  for (HWND control : {edSound, buBrowse, buTest}) ::EnableWindow(control, enabling.soundFile);
  for (HWND control :
       {rbDefaultExclamation, rbDefaultQuestion, rbDefaultError, rbDefaultInformation}) {
    ::EnableWindow(control, enabling.windowsSounds);
  }
  for (HWND control : {edLogFile, buBrowseLogFile}) ::EnableWindow(control, enabling.logFile);
}

// ---------------------------------------------------------------------------
// Messages

LRESULT TfmSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      // Esc reaches the window as IDCANCEL, and Enter as IDOK when no
      // default button answers.
      if (id == IDCANCEL) {
        buCancelClick();
      } else if (id == IDOK) {
        buOKClick();
      } else if (lParam != 0) {
        ControlCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      }
      return 0;
    }
    case WM_NOTIFY:
      ControlNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case DM_GETDEFID:
      return MAKELONG(controls_.IdOf("buOK"), DC_HASDEFID);
    case WM_WININICHANGE:
      // The user changed the regional settings: the log's dates and times
      // follow them from now on.
      log_.ReadUserFormats();
      break;
    default:
      break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

void TfmSettings::ControlCommand(HWND sender, int code) {
  if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
    if (IsPushButton(sender)) UpdateDefaultButton();
    return;
  }
  if (sender == edSound || sender == edLogFile) {
    if (code == EN_CHANGE && !filling_) {
      (sender == edSound ? Options.SoundFile : Options.LogFile) = platform::WindowTextOf(sender);
    } else if (code == EN_KILLFOCUS && FocusMovesWithinDialog()) {
      if (sender == edSound) {
        edSoundExit();
      } else {
        edLogFileExit();
      }
    }
    return;
  }
  if (code != BN_CLICKED) return;

  if (sender == rbNoSound || sender == rbSoundFile || sender == rbSoundWindows) {
    SoundChoiceClicked(sender);
  } else if (sender == rbDefaultExclamation || sender == rbDefaultQuestion ||
             sender == rbDefaultError || sender == rbDefaultInformation) {
    WindowsSoundClicked(sender);
  } else if (sender == chLogging) {
    if (filling_) return;
    Options.Logging = IsChecked(chLogging);
    chLoggingClick();
  } else if (sender == chNoDialog) {
    if (!filling_) Options.NoDialog = IsChecked(chNoDialog);
  } else if (sender == buOK) {
    buOKClick();
  } else if (sender == buCancel) {
    buCancelClick();
  } else if (sender == buHelp) {
    buHelpClick();
  } else if (sender == buBrowse) {
    buBrowseClick();
  } else if (sender == buBrowseLogFile) {
    buBrowseLogFileClick();
  } else if (sender == buTest) {
    buTestClick();
  } else if (sender == buExclusionAdd) {
    buExclusionAddClick();
  } else if (sender == buExclusionRemove) {
    buExclusionRemoveClick();
  }
}

void TfmSettings::ControlNotify(const NMHDR& header) {
  if (header.hwndFrom == pcSettings && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
    SelectPage(platform::ActivePageIndex(pcSettings));
  } else if (header.hwndFrom == lvDrives && header.code == static_cast<UINT>(LVN_ITEMCHANGED)) {
    DriveItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
  }
}

void TfmSettings::DriveItemChanged(const NMLISTVIEW& change) {
  if (filling_ || (change.uChanged & LVIF_STATE) == 0) return;
  if (((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) == 0) return;
  if (change.iItem < 0 || static_cast<std::size_t>(change.iItem) >= Options.Drives.size()) return;
  Options.Drives[change.iItem].Checked =
      ((change.uNewState & LVIS_STATEIMAGEMASK) >> 12) == kCheckedImage;
}

// A radio button's handler runs when the button becomes checked, whether
// by the mouse, the keyboard or its access key; a click on the button that
// is checked already changes nothing.
void TfmSettings::SoundChoiceClicked(HWND radio) {
  if (filling_ || !IsChecked(radio)) return;
  platform::SetRadioChecked(radio);
  const TSound chosen = radio == rbSoundFile      ? TSound::SoundFile
                        : radio == rbSoundWindows ? TSound::SoundWindows
                                                  : TSound::NoSound;
  if (chosen == Options.Sound) return;
  Options.Sound = chosen;
  switch (chosen) {
    case TSound::NoSound: rbNoSoundClick(); break;
    case TSound::SoundFile: rbSoundFileClick(); break;
    case TSound::SoundWindows: rbSoundWindowsClick(); break;
  }
}

void TfmSettings::WindowsSoundClicked(HWND radio) {
  if (filling_ || !IsChecked(radio)) return;
  platform::SetRadioChecked(radio);
  if (radio == rbDefaultQuestion) {
    Options.WindowsSound = TWindowsSound::Question;
  } else if (radio == rbDefaultError) {
    Options.WindowsSound = TWindowsSound::Error;
  } else if (radio == rbDefaultInformation) {
    Options.WindowsSound = TWindowsSound::Information;
  } else {
    Options.WindowsSound = TWindowsSound::Exclamation;
  }
}

// ---------------------------------------------------------------------------
// The handlers

void TfmSettings::buOKClick() {
  // A refused write ends here with its message: the dialog stays open
  // with every edit in place.
  store_.Save(Options);
  Close();
}

void TfmSettings::buCancelClick() { Close(); }

void TfmSettings::FormClose(platform::TCloseAction& action) {
  FlagScope closing(closing_);
  const std::vector<TDriveEntry> chosenDrives = Options.Drives;
  UncheckAllDrives(Options);
  try {
    LoadSettings();
  } catch (...) {
    // The dialog stays open with the drives still checked as the user sees
    // them, so that a check that runs meanwhile checks those drives.
    Options.Drives = chosenDrives;
    FillDriveChecks();
    throw;
  }
  action = platform::TCloseAction::caHide;
  SelectPage(0);
  activeControl_ = buOK;
  if (::GetActiveWindow() == Handle()) ::SetFocus(buOK);
}

void TfmSettings::buHelpClick() {
  Services.help.ShowHelp(Handle(), HelpFilePath(Services.files.ApplicationDirectory()),
                         platform::kHelpContext, kSettingsHelpContext);
}

void TfmSettings::rbNoSoundClick() { DisableAllSound(); }

void TfmSettings::rbSoundFileClick() {
  DisableAllSound();
  for (HWND control : {edSound, buBrowse, buTest}) ::EnableWindow(control, TRUE);
}

void TfmSettings::rbSoundWindowsClick() {
  DisableAllSound();
  for (HWND control :
       {rbDefaultExclamation, rbDefaultQuestion, rbDefaultError, rbDefaultInformation}) {
    ::EnableWindow(control, TRUE);
  }
}

void TfmSettings::DisableAllSound() {
  for (HWND control : {edSound, buBrowse, buTest, rbDefaultExclamation, rbDefaultQuestion,
                       rbDefaultError, rbDefaultInformation}) {
    ::EnableWindow(control, FALSE);
  }
}

void TfmSettings::chLoggingClick() {
  const BOOL enabled = IsChecked(chLogging) ? TRUE : FALSE;
  ::EnableWindow(edLogFile, enabled);
  ::EnableWindow(buBrowseLogFile, enabled);
}

void TfmSettings::edSoundExit() {
  const std::string text = platform::WindowTextOf(edSound);
  const std::string filled = FilledOnExit(text, kNoSoundFile);
  if (filled != text) ::SetWindowTextA(edSound, filled.c_str());
}

void TfmSettings::edLogFileExit() {
  const std::string text = platform::WindowTextOf(edLogFile);
  const std::string filled = FilledOnExit(text, store_.DefaultLogFile());
  if (filled != text) ::SetWindowTextA(edLogFile, filled.c_str());
}

void TfmSettings::buBrowseClick() {
  if (o_SoundFile.Execute(Services.dialogs, Handle())) {
    ::SetWindowTextA(edSound, o_SoundFile.FileName.c_str());
  }
}

void TfmSettings::buBrowseLogFileClick() {
  if (o_LogFile.Execute(Services.dialogs, Handle())) {
    ::SetWindowTextA(edLogFile, o_LogFile.FileName.c_str());
  }
}

void TfmSettings::buTestClick() {
  // The same call and flags as the notification: the test sounds like it,
  // and holds the program until the sound has ended.
  Services.sounds.PlayWave(platform::WindowTextOf(edSound), 0);
}

void TfmSettings::buExclusionAddClick() {
  const std::string label =
      platform::InputBox(Handle(), kAddLabelCaption, kAddLabelPrompt, "", kLabelMaxLength);
  if (label.empty()) return;
  AddListLabel(label);
  ExclusionsFromList();
}

void TfmSettings::buExclusionRemoveClick() {
  // The current item is the one with the list's focus mark: the selected
  // item when there is one.
  const LRESULT index = ::SendMessageA(lbExclusion, LB_GETCARETINDEX, 0, 0);
  const LRESULT count = ::SendMessageA(lbExclusion, LB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) return;
  ::SendMessageA(lbExclusion, LB_DELETESTRING, index, 0);
  ExclusionsFromList();
}

// ---------------------------------------------------------------------------
// Keyboard and focus

// An emptied box is filled when the user moves on to another control of
// the dialog, not when another window takes the focus or a close moves it.
bool TfmSettings::FocusMovesWithinDialog() const {
  HWND focus = ::GetFocus();
  return !closing_ && focus != nullptr && ::IsChild(Handle(), focus);
}

void TfmSettings::UpdateDefaultButton() {
  HWND focus = ::GetFocus();
  const bool buttonFocused = focus != nullptr && ::IsChild(Handle(), focus) && IsPushButton(focus);
  for (HWND button : {buCancel, buOK, buHelp, buBrowse, buTest, buBrowseLogFile, buExclusionAdd,
                      buExclusionRemove}) {
    const bool isDefault = buttonFocused ? button == focus : button == buOK;
    // The style message replaces the low word of the style, BS_NOTIFY too.
    ::SendMessageA(button, BM_SETSTYLE, (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_NOTIFY,
                   TRUE);
  }
}

bool TfmSettings::PreviewDialogKey(MSG& msg) {
  if (msg.hwnd != Handle() && !::IsChild(Handle(), msg.hwnd)) return false;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && ::GetKeyState(VK_MENU) >= 0) {
    const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
    if (control) {
      // Ctrl+Tab turns the pages while the focus is on the tabs or a page.
      HWND focus = ::GetFocus();
      if (focus == pcSettings || ::IsChild(pcSettings, focus)) {
        const int count = platform::PageCount(pcSettings);
        const int active = platform::ActivePageIndex(pcSettings);
        SelectPage((active + (backwards ? count - 1 : 1)) % count);
      }
    } else {
      // The dialog keys would pass over the tabs, which hold the pages;
      // here they take the focus between the buttons and the page.
      FocusNextControl(!backwards);
    }
    return true;
  }
  const bool accelerator =
      msg.message == WM_SYSCHAR ||
      (msg.message == WM_CHAR && !control &&
       (::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
        (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) == 0);
  if (accelerator) {
    // The tabs' access keys come first, as the page control is the first
    // control of the window.
    const int page = PageWithAccessKey(static_cast<char>(msg.wParam));
    if (page >= 0) {
      SelectPage(page);
      return true;
    }
  }
  return false;
}

std::vector<HWND> TfmSettings::TabStops() const {
  std::vector<HWND> stops;
  CollectTabStops(Handle(), stops);
  return stops;
}

void TfmSettings::CollectTabStops(HWND parent, std::vector<HWND>& stops) const {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0) continue;
    if (child == pcSettings) {
      stops.push_back(child);
      CollectTabStops(child, stops);
    } else if (::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
      CollectTabStops(child, stops);
    } else if (style & WS_TABSTOP) {
      stops.push_back(child);
    }
  }
}

void TfmSettings::FocusNextControl(bool forward) {
  const std::vector<HWND> stops = TabStops();
  if (stops.empty()) return;
  const auto current = std::find(stops.begin(), stops.end(), ::GetFocus());
  std::size_t next = 0;
  if (current == stops.end()) {
    next = forward ? 0 : stops.size() - 1;
  } else {
    const std::size_t at = static_cast<std::size_t>(current - stops.begin());
    next = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
  }
  // An edit box reached by Tab has its text selected, as in every dialog.
  if (::SendMessageA(stops[next], WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    ::SendMessageA(stops[next], EM_SETSEL, 0, -1);
  }
  ::SetFocus(stops[next]);
}

HWND TfmSettings::VisiblePage() const {
  for (int i = 0; i < platform::PageCount(pcSettings); ++i) {
    HWND page = platform::PageAt(pcSettings, i);
    if (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) return page;
  }
  return nullptr;
}

// Shows a page. When the focus was on the page that goes, it moves to the
// first control of the new one (or the tabs, when the page has none).
void TfmSettings::SelectPage(int index) {
  HWND old = VisiblePage();
  HWND focus = ::GetFocus();
  const bool focusOnOldPage = old != nullptr && focus != nullptr && ::IsChild(old, focus);
  platform::ShowPage(pcSettings, index);
  if (!focusOnOldPage) return;
  std::vector<HWND> onPage;
  CollectTabStops(platform::PageAt(pcSettings, index), onPage);
  ::SetFocus(onPage.empty() ? pcSettings : onPage.front());
}

int TfmSettings::PageWithAccessKey(char key) const {
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  if (wanted == '\0') return -1;
  for (int i = 0; i < platform::PageCount(pcSettings); ++i) {
    char caption[64] = {};
    ::GetWindowTextA(platform::PageAt(pcSettings, i), caption, sizeof caption);
    if (AccessKeyOf(caption) == wanted) return i;
  }
  return -1;
}
