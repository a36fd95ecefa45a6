#pragma once
// The settings dialog. It owns the one set of options: its controls edit
// them in place, and the disk check reads them live. Every close reloads
// them from the store, which is what throws away edits not saved with OK.

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
#include "settings/CheckOptions.h"
#include "settings/SettingsRules.h"
#include "settings/SettingsStore.h"

// The platform services the dialog works with, given by the program body.
struct TSettingsServices {
  platform::Registry& registry;
  platform::Drives& drives;
  platform::Shell& shell;
  platform::Files& files;
  platform::Sounds& sounds;
  platform::CommonDialogs& dialogs;
  platform::Help& help;
  platform::EventLog& events;
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
  static const SoundChoice kSoundChoices[];
  static const WindowsSoundChoice kWindowsSoundChoices[];
  static const CheckBoxOption kCheckBoxOptions[];
  static const EditOption kEditOptions[];

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

  platform::Sounds& sounds_;
  platform::CommonDialogs& dialogs_;
  platform::Help& help_;
  platform::Drives& drives_;
  platform::Shell& shell_;
  platform::Icon icon_;
  platform::Font font_;
  std::vector<platform::Bitmap> pictures_;
  SettingsStore store_;
  platform::PageDialogKeys keys_;
  // Set while the controls are filled from the options, so that their
  // change notifications do not write back; set while a close runs, so that
  // moving the focus to OK fills no emptied box after the reload.
  bool filling_ = false;
  bool closing_ = false;

  TOpenDialog o_SoundFile;
  TOpenDialog o_LogFile;

  // The controls, each bound by its name in the layout table.
  platform::ControlSet controls_;
  platform::TControl pcSettings{controls_, "pcSettings"};
  platform::TControl buCancel{controls_, "buCancel"};
  platform::TControl buOK{controls_, "buOK"};
  platform::TControl buHelp{controls_, "buHelp"};
  platform::TControl tsDrives{controls_, "tsDrives"};
  platform::TControl tsSound{controls_, "tsSound"};
  platform::TControl tsLogging{controls_, "tsLogging"};
  platform::TControl tsOther{controls_, "tsOther"};
  platform::TControl imDrives{controls_, "imDrives"};
  platform::TControl lvDrives{controls_, "lvDrives"};
  platform::TControl laDrives{controls_, "laDrives"};
  platform::TControl imSound{controls_, "imSound"};
  platform::TControl rbNoSound{controls_, "rbNoSound"};
  platform::TControl rbSoundFile{controls_, "rbSoundFile"};
  platform::TControl paSoundFile{controls_, "paSoundFile"};
  platform::TControl edSound{controls_, "edSound"};
  platform::TControl buBrowse{controls_, "buBrowse"};
  platform::TControl buTest{controls_, "buTest"};
  platform::TControl rbSoundWindows{controls_, "rbSoundWindows"};
  platform::TControl paSoundWindows{controls_, "paSoundWindows"};
  platform::TControl rbDefaultExclamation{controls_, "rbDefaultExclamation"};
  platform::TControl rbDefaultQuestion{controls_, "rbDefaultQuestion"};
  platform::TControl rbDefaultError{controls_, "rbDefaultError"};
  platform::TControl rbDefaultInformation{controls_, "rbDefaultInformation"};
  platform::TControl imLogging{controls_, "imLogging"};
  platform::TControl chLogging{controls_, "chLogging"};
  platform::TControl paLogging{controls_, "paLogging"};
  platform::TControl edLogFile{controls_, "edLogFile"};
  platform::TControl buBrowseLogFile{controls_, "buBrowseLogFile"};
  platform::TControl imExclusion{controls_, "imExclusion"};
  platform::TControl laExclusion{controls_, "laExclusion"};
  platform::TControl paExclusion{controls_, "paExclusion"};
  platform::TControl lbExclusion{controls_, "lbExclusion"};
  platform::TControl buExclusionAdd{controls_, "buExclusionAdd"};
  platform::TControl buExclusionRemove{controls_, "buExclusionRemove"};
  platform::TControl chNoDialog{controls_, "chNoDialog"};
  platform::TControl chRemovableDrives{controls_, "chRemovableDrives"};
  platform::TControl chRemindWhenAway{controls_, "chRemindWhenAway"};
};

extern TfmSettings* fmSettings;
