#include "settings/SettingsUn.h"

#include <cstdint>
#include <vector>

#include "platform/Failure.h"
#include "platform/win32/InputBox.h"
#include "resources/Fonts.h"
#include "resources/HelpFiles.h"
#include "resources/SettingsLayout.h"
#include "settings/StoreValues.h"

TfmSettings* fmSettings = nullptr;

namespace {

// What Group Policy's WM_SETTINGCHANGE carries once it has applied the
// policies.
const wchar_t kPolicyChanged[] = L"Policy";
constexpr int kExclusionItemHeight = 13;

// The list view's check box is its state image: 1 unchecked, 2 checked.
constexpr UINT kUncheckedImage = 1;
constexpr UINT kCheckedImage = 2;

// The identifier of the dialog's control of that name, always worked out
// while compiling: a name that the layout lacks fails the build.
consteval int ControlId(const char* name) {
  return layout::ControlId(layout::kSettingsLayout, name);
}

bool IsChecked(HWND button) { return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool checked) {
  ::SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

template <std::size_t N>
void EnableAll(HWND const (&controls)[N], bool enabled) {
  for (HWND control : controls) ::EnableWindow(control, enabled ? TRUE : FALSE);
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

}  // namespace

// ---------------------------------------------------------------------------
// Which control shows which option

const TfmSettings::SoundChoice TfmSettings::kSoundChoices[] = {
    {&TfmSettings::rbNoSound, TSound::NoSound},
    {&TfmSettings::rbSoundFile, TSound::SoundFile},
    {&TfmSettings::rbSoundWindows, TSound::SoundWindows},
};

const TfmSettings::WindowsSoundChoice TfmSettings::kWindowsSoundChoices[] = {
    {&TfmSettings::rbDefaultExclamation, TWindowsSound::Exclamation},
    {&TfmSettings::rbDefaultQuestion, TWindowsSound::Question},
    {&TfmSettings::rbDefaultError, TWindowsSound::Error},
    {&TfmSettings::rbDefaultInformation, TWindowsSound::Information},
};

const TfmSettings::CheckBoxOption TfmSettings::kCheckBoxOptions[] = {
    {&TfmSettings::chLogging, &TCheckOptions::Logging},
    {&TfmSettings::chNoDialog, &TCheckOptions::NoDialog},
    {&TfmSettings::chRemovableDrives, &TCheckOptions::RemovableDrives},
    {&TfmSettings::chRemindWhenAway, &TCheckOptions::RemindWhenAway},
};

const TfmSettings::EditOption TfmSettings::kEditOptions[] = {
    {&TfmSettings::edSound, &TCheckOptions::SoundFile},
    {&TfmSettings::edLogFile, &TCheckOptions::LogFile},
};

const TfmSettings::ManagedControl TfmSettings::kManagedControls[] = {
    {&TfmSettings::lvDrives, kOptionDrives},
    {&TfmSettings::rbNoSound, kOptionSound},
    {&TfmSettings::rbSoundFile, kOptionSound},
    {&TfmSettings::rbSoundWindows, kOptionSound},
    {&TfmSettings::chLogging, kOptionLogging},
    {&TfmSettings::lbExclusion, kOptionExclusions},
    {&TfmSettings::buExclusionAdd, kOptionExclusions},
    {&TfmSettings::buExclusionRemove, kOptionExclusions},
    {&TfmSettings::chNoDialog, kOptionNoDialog},
    {&TfmSettings::chRemovableDrives, kOptionRemovableDrives},
    {&TfmSettings::chRemindWhenAway, kOptionRemindWhenAway},
};

const TfmSettings::ManagedControl TfmSettings::kManagedLines[] = {
    {&TfmSettings::laManagedDrives, kOptionDrives},
    {&TfmSettings::laManagedSound, kOptionSound | kOptionSoundFile | kOptionWindowsSound},
    {&TfmSettings::laManagedLogging, kOptionLogging | kOptionLogFile},
    {&TfmSettings::laManagedOther,
     kOptionExclusions | kOptionNoDialog | kOptionRemovableDrives | kOptionRemindWhenAway},
};

// ---------------------------------------------------------------------------
// Creation and the load

TfmSettings::TfmSettings(const TSettingsServices& services)
    : texts_(services.texts),
      sounds_(services.sounds),
      dialogs_(services.dialogs),
      help_(services.help),
      drives_(services.drives),
      shell_(services.shell),
      icon_(platform::LoadSmallIcon("MAINICON")),
      store_(services.registry, services.files.ApplicationDirectory() + kLogFileName,
             services.events),
      policies_(services.registry, services.userRegistry, services.events,
                store_.DefaultLogFile()),
      o_SoundFile(SoundFileChooser(services.texts)),
      o_LogFile(LogFileChooser(services.texts)) {
  const layout::Window& window = layout::kSettingsWindow;
  platform::RegisterFormClass(window.className, icon_.Get(), ::GetSysColorBrush(COLOR_BTNFACE));
  // A single fixed border and a caption with the system menu's close box
  // only: the dialog can be neither resized, minimised nor maximised, and
  // the system menu shows those commands greyed.
  CreateHandle(window.className, window.caption.In(texts_),
               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, window.clientWidth,
               window.clientHeight);
  ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));
  font_ = platform::CreateLayoutFont(layout::ShownFont(layout::kDialogFont, texts_), Dpi());
}

void TfmSettings::FormCreate() {
  // The drive entries and the options are made now, before the message
  // loop, since the first message can be the end of the session; the
  // check needs nothing else of the dialog.
  BuildDriveEntries(Options, drives_);
  LoadSettings();
}

// The controls wait until the dialog is first shown: most users never
// open it, and making its forty controls would hold up the splash at every
// start and keep their memory for the whole run. From then on they exist
// until the end, as the window does.
void TfmSettings::FormFirstShow() {
  controls_.Create(Handle(), font_.Get(), Dpi(), texts_);
  ShowPictures();
  keys_.Attach(Handle(), pcSettings, buOK);

  // Asking the shell for its icon list makes it load its icons in every
  // size, up to 256 x 256 pixels, which under Wine costs about 3.8 MB.
  ilDrives = AssignDriveIcons(Options, shell_);
  if (ilDrives != nullptr) {
    ::SendMessageA(lvDrives, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ilDrives));
  }
  InsertDriveItems();
  FillControls();
  activeControl_ = buOK;
}

void TfmSettings::ShowPictures() {
  std::vector<platform::Bitmap> before = std::move(pictures_);
  pictures_.clear();
  for (const layout::ImagePicture& image : layout::kSettingsPictures) {
    pictures_.push_back(platform::LoadPictureForDpi(image.picture, Dpi()));
    platform::SetImagePicture(controls_.At(image.image), pictures_.back().Get());
  }
  ::SendMessageA(lbExclusion, LB_SETITEMHEIGHT, 0, Scaled(kExclusionItemHeight));
}

void TfmSettings::FormDpiChanged() {
  platform::Font before = std::move(font_);
  font_ = platform::CreateLayoutFont(layout::ShownFont(layout::kDialogFont, texts_), Dpi());
  // The controls exist from the first show on.
  if (!controls_.Created()) return;
  controls_.Place(Dpi(), font_.Get());
  ShowPictures();
}

void TfmSettings::LoadSettings() {
  // The store loads, repairs and saves the user's own values: the policies'
  // go over them afterwards, and never into a repair.
  policies_.Withdraw(Options);
  try {
    store_.Load(Options);
  } catch (...) {
    policies_.Loaded(Options);
    if (controls_.Created()) FillControls();
    throw;
  }
  policies_.Loaded(Options);
  if (controls_.Created()) FillControls();
}

void TfmSettings::ApplyPolicies() {
  // Without a policy before or now nothing changes, not even the controls.
  if (policies_.Refresh(Options) != 0 && controls_.Created()) FillControls();
}

// ---------------------------------------------------------------------------
// The controls shown from the options

void TfmSettings::InsertDriveItems() {
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
}

void TfmSettings::FillControls() {
  {
    FlagScope filling(filling_);
    FillDriveChecks();
    FillExclusions();
    for (const SoundChoice& shown : kSoundChoices) {
      if (shown.choice == Options.Sound) platform::SetRadioChecked(this->*shown.control);
    }
    for (const WindowsSoundChoice& shown : kWindowsSoundChoices) {
      if (shown.choice == Options.WindowsSound) platform::SetRadioChecked(this->*shown.control);
    }
    for (const EditOption& shown : kEditOptions) {
      ::SetWindowTextA(this->*shown.control, (Options.*shown.option).c_str());
    }
    for (const CheckBoxOption& shown : kCheckBoxOptions) {
      SetChecked(this->*shown.control, Options.*shown.option);
    }
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
  if (index == LB_ERR || index == LB_ERRSPACE) throw TextFailure(TextNamed("Error.InsertLine"));
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

// The one place where the enabling rules and the policies become the
// controls' states.
void TfmSettings::ApplyEnabling() {
  const TOptionSet managed = policies_.Managed();
  const SettingsEnabling enabling = EnablingFor(Options, managed);
  EnableAll({edSound, buBrowse}, enabling.soundFile);
  EnableAll({buTest}, enabling.soundTest);
  EnableAll({rbDefaultExclamation, rbDefaultQuestion, rbDefaultError, rbDefaultInformation},
            enabling.windowsSounds);
  EnableAll({edLogFile, buBrowseLogFile}, enabling.logFile);
  for (const ManagedControl& shown : kManagedControls) {
    ::EnableWindow(this->*shown.control, (managed & shown.options) == 0 ? TRUE : FALSE);
  }
  for (const ManagedControl& line : kManagedLines) {
    ::ShowWindow(this->*line.control, (managed & line.options) != 0 ? SW_SHOWNA : SW_HIDE);
  }
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
        ControlCommand(reinterpret_cast<HWND>(lParam), id, HIWORD(wParam));
      }
      return 0;
    }
    case WM_NOTIFY:
      ControlNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case DM_GETDEFID:
      return MAKELONG(buOK.Id(), DC_HASDEFID);
    case WM_SETTINGCHANGE:
      // Group Policy tells every window once it has applied the policies,
      // in the text of the window's kind: wide, as the windows are.
      if (lParam != 0 &&
          ::lstrcmpiW(reinterpret_cast<const wchar_t*>(lParam), kPolicyChanged) == 0) {
        ApplyPolicies();
      }
      break;
    default:
      break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

void TfmSettings::ControlCommand(HWND sender, int id, int code) {
  if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
    if (platform::IsPushButton(sender)) keys_.UpdateDefaultButton();
    return;
  }
  switch (id) {
    case ControlId("edSound"):
      return EditCommand(sender, code, Options.SoundFile, &TfmSettings::edSoundExit);
    case ControlId("edLogFile"):
      return EditCommand(sender, code, Options.LogFile, &TfmSettings::edLogFileExit);
    default: break;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case ControlId("rbNoSound"):
      return SoundChoiceClicked(sender, TSound::NoSound, &TfmSettings::rbNoSoundClick);
    case ControlId("rbSoundFile"):
      return SoundChoiceClicked(sender, TSound::SoundFile, &TfmSettings::rbSoundFileClick);
    case ControlId("rbSoundWindows"):
      return SoundChoiceClicked(sender, TSound::SoundWindows, &TfmSettings::rbSoundWindowsClick);
    case ControlId("rbDefaultExclamation"):
      return WindowsSoundClicked(sender, TWindowsSound::Exclamation);
    case ControlId("rbDefaultQuestion"):
      return WindowsSoundClicked(sender, TWindowsSound::Question);
    case ControlId("rbDefaultError"):
      return WindowsSoundClicked(sender, TWindowsSound::Error);
    case ControlId("rbDefaultInformation"):
      return WindowsSoundClicked(sender, TWindowsSound::Information);
    case ControlId("chLogging"):
      return CheckBoxClicked(sender, Options.Logging, &TfmSettings::chLoggingClick);
    case ControlId("chNoDialog"):
      return CheckBoxClicked(sender, Options.NoDialog, nullptr);
    case ControlId("chRemovableDrives"):
      return CheckBoxClicked(sender, Options.RemovableDrives, nullptr);
    case ControlId("chRemindWhenAway"):
      return CheckBoxClicked(sender, Options.RemindWhenAway, nullptr);
    case ControlId("buOK"): return buOKClick();
    case ControlId("buCancel"): return buCancelClick();
    case ControlId("buHelp"): return buHelpClick();
    case ControlId("buBrowse"): return buBrowseClick();
    case ControlId("buBrowseLogFile"): return buBrowseLogFileClick();
    case ControlId("buTest"): return buTestClick();
    case ControlId("buExclusionAdd"): return buExclusionAddClick();
    case ControlId("buExclusionRemove"): return buExclusionRemoveClick();
    default: break;
  }
}

void TfmSettings::ControlNotify(const NMHDR& header) {
  if (header.hwndFrom == pcSettings && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
    keys_.SelectPage(platform::ActivePageIndex(pcSettings));
  } else if (header.hwndFrom == lvDrives && header.code == static_cast<UINT>(LVN_ITEMCHANGED)) {
    DriveItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
  }
}

void TfmSettings::DriveItemChanged(const NMLISTVIEW& change) {
  if (filling_ || (change.uChanged & LVIF_STATE) == 0) return;
  if (((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) == 0) return;
  if (change.iItem < 0 || static_cast<std::size_t>(change.iItem) >= Options.Drives.size()) return;
  Options.Drives[change.iItem].Checked =
      (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(kCheckedImage);
}

// An edit box's text goes to its option as the user types; its exit
// handler runs when the focus leaves it for another control of the dialog.
void TfmSettings::EditCommand(HWND edit, int code, std::string& option, Handler exitHandler) {
  if (code == EN_CHANGE && !filling_) {
    option = platform::WindowTextOf(edit);
  } else if (code == EN_KILLFOCUS && FocusMovesWithinDialog()) {
    (this->*exitHandler)();
  }
}

// A radio button's handler runs when the button becomes checked, whether
// by the mouse, the keyboard or its access key; a click on the button that
// is checked already changes nothing.
void TfmSettings::SoundChoiceClicked(HWND radio, TSound choice, Handler handler) {
  if (filling_ || !IsChecked(radio)) return;
  platform::SetRadioChecked(radio);
  if (choice == Options.Sound) return;
  Options.Sound = choice;
  (this->*handler)();
}

void TfmSettings::WindowsSoundClicked(HWND radio, TWindowsSound choice) {
  if (filling_ || !IsChecked(radio)) return;
  platform::SetRadioChecked(radio);
  Options.WindowsSound = choice;
}

void TfmSettings::CheckBoxClicked(HWND box, bool& option, Handler handler) {
  if (filling_) return;
  option = IsChecked(box);
  if (handler != nullptr) (this->*handler)();
}

// ---------------------------------------------------------------------------
// The handlers

void TfmSettings::buOKClick() {
  // A refused write ends here with its message: the dialog stays open
  // with every edit in place.
  store_.Save(Options, policies_.Managed());
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
  keys_.SelectPage(0);
  activeControl_ = buOK;
  if (::GetActiveWindow() == Handle()) ::SetFocus(buOK);
}

void TfmSettings::buHelpClick() {
  help_.ShowHelp(Handle(), platform::kHelpContext, kSettingsHelpContext);
}

// The sound-mode handlers run after the new mode is in the options: each
// takes every sound control away, and the enabling rules give back what
// the mode uses.
void TfmSettings::rbNoSoundClick() {
  DisableAllSound();
  ApplyEnabling();
}

void TfmSettings::rbSoundFileClick() {
  DisableAllSound();
  ApplyEnabling();
}

void TfmSettings::rbSoundWindowsClick() {
  DisableAllSound();
  ApplyEnabling();
}

void TfmSettings::DisableAllSound() {
  EnableAll({edSound, buBrowse, buTest, rbDefaultExclamation, rbDefaultQuestion, rbDefaultError,
             rbDefaultInformation},
            false);
}

void TfmSettings::chLoggingClick() { ApplyEnabling(); }

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
  if (o_SoundFile.Execute(dialogs_, Handle())) {
    ::SetWindowTextA(edSound, o_SoundFile.FileName.c_str());
  }
}

void TfmSettings::buBrowseLogFileClick() {
  if (o_LogFile.Execute(dialogs_, Handle())) {
    ::SetWindowTextA(edLogFile, o_LogFile.FileName.c_str());
  }
}

void TfmSettings::buTestClick() {
  // The same call and flags as the notification: the test sounds like it,
  // and holds the program until the sound has ended.
  sounds_.PlayWave(platform::WindowTextOf(edSound), 0);
}

void TfmSettings::buExclusionAddClick() {
  const platform::InputBoxTexts box{texts_[TextNamed("AddLabel.Caption")],
                                    texts_[TextNamed("AddLabel.Prompt")], texts_[TextNamed("AddLabel.OK")],
                                    texts_[TextNamed("AddLabel.Cancel")], texts_.AnyTranslated()};
  const std::string label = platform::InputBox(Handle(), box, "", kLabelMaxLength);
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
// Focus

// An emptied box is filled when the user moves on to another control of
// the dialog, not when another window takes the focus or a close moves it.
bool TfmSettings::FocusMovesWithinDialog() const {
  HWND focus = ::GetFocus();
  return !closing_ && focus != nullptr && ::IsChild(Handle(), focus);
}
