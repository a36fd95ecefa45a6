#pragma once
// The settings dialog. It owns the one set of options in force: its
// controls edit them in place, and the disk check reads them live. Every
// close reloads them from the store, which is what throws away edits not
// saved with OK. An option that a policy sets shows the policy's value,
// disabled, and OK leaves its stored value alone.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/CommonDialogs.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/Help.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/Sounds.h"
#include "platform/win32/Controls.h"
#include "platform/win32/Forms.h"
#include "resources/SettingsLayout.h"
#include "settings/CheckOptions.h"
#include "settings/Policies.h"
#include "settings/SettingsRules.h"
#include "settings/SettingsStore.h"

// The platform services the dialog works with, given by the program body.
struct TSettingsServices {
  platform::Registry& registry;      // HKEY_LOCAL_MACHINE: the settings and the computer's policies
  platform::Registry& userRegistry;  // HKEY_CURRENT_USER: the user's policies
  platform::Drives& drives;
  platform::Shell& shell;
  platform::Files& files;
  platform::Sounds& sounds;
  platform::CommonDialogs& dialogs;
  platform::Help& help;
  platform::EventLog& events;
  const platform::Texts& texts;  // in the user's language
};

class TfmSettings : public platform::TForm {
 public:
  explicit TfmSettings(const TSettingsServices& services);

  TCheckOptions Options;
  // The system's small-icon list, shared: never destroyed.
  platform::ImageListHandle ilDrives = nullptr;

  // Fills the options from the store, then every control from the options
  // with the enabling rules applied, once the controls exist. When the store refuses the load's
  // repair, the controls still show what the options hold, and the failure
  // passes on.
  void LoadSettings();

  // Reads the policies again: Group Policy has applied them, or a check is
  // about to read the options. The controls follow.
  void ApplyPolicies();
  // The options that a policy sets.
  TOptionSet ManagedOptions() const { return policies_.Managed(); }

 protected:
  void FormCreate() override;
  void FormFirstShow() override;
  void FormClose(platform::TCloseAction& action) override;
  void FormDpiChanged() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreviewDialogKey(MSG& msg) override { return keys_.PreviewDialogKey(msg); }

 private:
  // The handlers.
  void buOKClick();
  void buCancelClick();
  void buHelpClick();
  void rbNoSoundClick();
  void rbSoundFileClick();
  void rbSoundWindowsClick();
  void DisableAllSound();
  void chLoggingClick();
  void edSoundExit();
  void edLogFileExit();
  void buBrowseClick();
  void buBrowseLogFileClick();
  void buTestClick();
  void buExclusionAddClick();
  void buExclusionRemoveClick();

  // Messages from the controls, routed by their identifiers.
  using Handler = void (TfmSettings::*)();
  void ControlCommand(HWND sender, int id, int code);
  void ControlNotify(const NMHDR& header);
  void EditCommand(HWND edit, int code, std::string& option, Handler exitHandler);
  void SoundChoiceClicked(HWND radio, TSound choice, Handler handler);
  void WindowsSoundClicked(HWND radio, TWindowsSound choice);
  // `handler` null: the box only holds its option.
  void CheckBoxClicked(HWND box, bool& option, Handler handler);
  void DriveItemChanged(const NMLISTVIEW& change);

  // Which control shows which option, by the tables in SettingsUn.cpp.
  struct SoundChoice {
    platform::TControl TfmSettings::*control;
    TSound choice;
  };
  struct WindowsSoundChoice {
    platform::TControl TfmSettings::*control;
    TWindowsSound choice;
  };
  struct CheckBoxOption {
    platform::TControl TfmSettings::*control;
    bool TCheckOptions::*option;
  };
  struct EditOption {
    platform::TControl TfmSettings::*control;
    std::string TCheckOptions::*option;
  };
  // A control disabled, or a page's line shown, while a policy sets one of
  // the options.
  struct ManagedControl {
    platform::TControl TfmSettings::*control;
    TOptionSet options;
  };
  static const SoundChoice kSoundChoices[];
  static const WindowsSoundChoice kWindowsSoundChoices[];
  static const CheckBoxOption kCheckBoxOptions[];
  static const EditOption kEditOptions[];
  static const ManagedControl kManagedControls[];
  static const ManagedControl kManagedLines[];

  // The pages' pictures drawn for the dialog's DPI.
  void ShowPictures();

  // The controls shown from the options.
  void InsertDriveItems();
  void FillControls();
  void FillDriveChecks();
  void FillExclusions();
  void ApplyEnabling();
  void AddListLabel(const std::string& label);
  void ExclusionsFromList();

  // An emptied box is filled only when the focus moves on within the dialog.
  bool FocusMovesWithinDialog() const;

  const platform::Texts& texts_;
  platform::Sounds& sounds_;
  platform::CommonDialogs& dialogs_;
  platform::Help& help_;
  platform::Drives& drives_;
  platform::Shell& shell_;
  platform::Icon icon_;
  platform::Font font_;
  std::vector<platform::Bitmap> pictures_;
  SettingsStore store_;
  PolicyOverlay policies_;
  platform::PageDialogKeys keys_;
  // Set while the controls are filled from the options, so that their
  // change notifications do not write back; set while a close runs, so that
  // moving the focus to OK fills no emptied box after the reload.
  bool filling_ = false;
  bool closing_ = false;

  TOpenDialog o_SoundFile;
  TOpenDialog o_LogFile;

  // The controls, each bound to its row of the layout table.
  platform::ControlSet controls_{layout::kSettingsLayout, layout::kSettingsNames};
  platform::TControl pcSettings{controls_, layout::SettingsRow("pcSettings")};
  platform::TControl buCancel{controls_, layout::SettingsRow("buCancel")};
  platform::TControl buOK{controls_, layout::SettingsRow("buOK")};
  platform::TControl buHelp{controls_, layout::SettingsRow("buHelp")};
  platform::TControl tsDrives{controls_, layout::SettingsRow("tsDrives")};
  platform::TControl tsSound{controls_, layout::SettingsRow("tsSound")};
  platform::TControl tsLogging{controls_, layout::SettingsRow("tsLogging")};
  platform::TControl tsOther{controls_, layout::SettingsRow("tsOther")};
  platform::TControl imDrives{controls_, layout::SettingsRow("imDrives")};
  platform::TControl lvDrives{controls_, layout::SettingsRow("lvDrives")};
  platform::TControl laDrives{controls_, layout::SettingsRow("laDrives")};
  platform::TControl imSound{controls_, layout::SettingsRow("imSound")};
  platform::TControl rbNoSound{controls_, layout::SettingsRow("rbNoSound")};
  platform::TControl rbSoundFile{controls_, layout::SettingsRow("rbSoundFile")};
  platform::TControl paSoundFile{controls_, layout::SettingsRow("paSoundFile")};
  platform::TControl edSound{controls_, layout::SettingsRow("edSound")};
  platform::TControl buBrowse{controls_, layout::SettingsRow("buBrowse")};
  platform::TControl buTest{controls_, layout::SettingsRow("buTest")};
  platform::TControl rbSoundWindows{controls_, layout::SettingsRow("rbSoundWindows")};
  platform::TControl paSoundWindows{controls_, layout::SettingsRow("paSoundWindows")};
  platform::TControl rbDefaultExclamation{controls_, layout::SettingsRow("rbDefaultExclamation")};
  platform::TControl rbDefaultQuestion{controls_, layout::SettingsRow("rbDefaultQuestion")};
  platform::TControl rbDefaultError{controls_, layout::SettingsRow("rbDefaultError")};
  platform::TControl rbDefaultInformation{controls_, layout::SettingsRow("rbDefaultInformation")};
  platform::TControl imLogging{controls_, layout::SettingsRow("imLogging")};
  platform::TControl chLogging{controls_, layout::SettingsRow("chLogging")};
  platform::TControl paLogging{controls_, layout::SettingsRow("paLogging")};
  platform::TControl edLogFile{controls_, layout::SettingsRow("edLogFile")};
  platform::TControl buBrowseLogFile{controls_, layout::SettingsRow("buBrowseLogFile")};
  platform::TControl imExclusion{controls_, layout::SettingsRow("imExclusion")};
  platform::TControl laExclusion{controls_, layout::SettingsRow("laExclusion")};
  platform::TControl paExclusion{controls_, layout::SettingsRow("paExclusion")};
  platform::TControl lbExclusion{controls_, layout::SettingsRow("lbExclusion")};
  platform::TControl buExclusionAdd{controls_, layout::SettingsRow("buExclusionAdd")};
  platform::TControl buExclusionRemove{controls_, layout::SettingsRow("buExclusionRemove")};
  platform::TControl chNoDialog{controls_, layout::SettingsRow("chNoDialog")};
  platform::TControl chRemovableDrives{controls_, layout::SettingsRow("chRemovableDrives")};
  platform::TControl chRemindWhenAway{controls_, layout::SettingsRow("chRemindWhenAway")};
  platform::TControl laManagedDrives{controls_, layout::SettingsRow("laManagedDrives")};
  platform::TControl laManagedSound{controls_, layout::SettingsRow("laManagedSound")};
  platform::TControl laManagedLogging{controls_, layout::SettingsRow("laManagedLogging")};
  platform::TControl laManagedOther{controls_, layout::SettingsRow("laManagedOther")};
};

extern TfmSettings* fmSettings;
