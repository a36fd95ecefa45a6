#pragma once
// The settings dialog. It owns the one set of options: its controls edit
// them in place, and the disk check reads them live. Every close reloads
// them from the store, which is what throws away edits not saved with OK.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/Controls.h"
#include "platform/win32/Forms.h"
#include "settings/CheckOptions.h"
#include "settings/SettingsRules.h"
#include "settings/SettingsStore.h"
#include "shell/NotificationLog.h"

class TfmSettings : public platform::TForm {
 public:
  TfmSettings();

  TCheckOptions Options;
  // The system's small-icon list, shared: never destroyed.
  platform::ImageListHandle ilDrives = nullptr;

  NotificationLog& Log() { return log_; }
  SettingsStore& Store() { return store_; }

  // Fills the options from the store, then every control from the options
  // with the enabling rules applied. When the store refuses the load's
  // repair, the controls still show what the options hold, and the failure
  // passes on.
  void LoadSettings();

 protected:
  void FormCreate() override;
  void FormClose(platform::TCloseAction& action) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreviewDialogKey(MSG& msg) override;

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

  // Messages from the controls.
  void ControlCommand(HWND sender, int code);
  void ControlNotify(const NMHDR& header);
  void SoundChoiceClicked(HWND radio);
  void WindowsSoundClicked(HWND radio);
  void DriveItemChanged(const NMLISTVIEW& change);

  // The controls shown from the options.
  void InsertDriveItems();
  void FillControls();
  void FillDriveChecks();
  void FillExclusions();
  void ApplyEnabling();
  void AddListLabel(const std::string& label);
  void ExclusionsFromList();

  // Keyboard and focus.
  bool FocusMovesWithinDialog() const;
  void UpdateDefaultButton();
  std::vector<HWND> TabStops() const;
  void CollectTabStops(HWND parent, std::vector<HWND>& stops) const;
  void FocusNextControl(bool forward);
  HWND VisiblePage() const;
  void SelectPage(int index);
  int PageWithAccessKey(char key) const;

  platform::Icon icon_;
  platform::Font font_;
  std::vector<platform::Bitmap> pictures_;
  platform::ControlSet controls_;
  SettingsStore store_;
  NotificationLog log_;
  // Set while the controls are filled from the options, so that their
  // change notifications do not write back; set while a close runs, so that
  // moving the focus to OK fills no emptied box after the reload.
  bool filling_ = false;
  bool closing_ = false;

  TOpenDialog o_SoundFile;
  TOpenDialog o_LogFile;

  // The controls, named as the layout table names them.
  HWND pcSettings = nullptr;
  HWND buCancel = nullptr;
  HWND buOK = nullptr;
  HWND buHelp = nullptr;
  HWND tsDrives = nullptr;
  HWND tsSound = nullptr;
  HWND tsLogging = nullptr;
  HWND tsOther = nullptr;
  HWND imDrives = nullptr;
  HWND lvDrives = nullptr;
  HWND laDrives = nullptr;
  HWND imSound = nullptr;
  HWND rbNoSound = nullptr;
  HWND rbSoundFile = nullptr;
  HWND paSoundFile = nullptr;
  HWND edSound = nullptr;
  HWND buBrowse = nullptr;
  HWND buTest = nullptr;
  HWND rbSoundWindows = nullptr;
  HWND paSoundWindows = nullptr;
  HWND rbDefaultExclamation = nullptr;
  HWND rbDefaultQuestion = nullptr;
  HWND rbDefaultError = nullptr;
  HWND rbDefaultInformation = nullptr;
  HWND imLogging = nullptr;
  HWND chLogging = nullptr;
  HWND paLogging = nullptr;
  HWND edLogFile = nullptr;
  HWND buBrowseLogFile = nullptr;
  HWND imExclusion = nullptr;
  HWND laExclusion = nullptr;
  HWND paExclusion = nullptr;
  HWND lbExclusion = nullptr;
  HWND buExclusionAdd = nullptr;
  HWND buExclusionRemove = nullptr;
  HWND chNoDialog = nullptr;

  struct NamedControl {
    const char* name;
    HWND TfmSettings::*member;
  };
  static const NamedControl kNamedControls[];
};

extern TfmSettings* fmSettings;

// The load of the one settings dialog.
void LoadSettings();
