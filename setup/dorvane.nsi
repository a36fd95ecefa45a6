; The setup of Dorvane 4.0: installs dorvane.exe with its help into
; "Program Files\Dorvane", starts it at logon, adds its Start-menu shortcuts
; and its entry in Add or Remove Programs; the uninstaller takes all of it
; away again. scripts/make-setup.sh runs makensis with these definitions:
;
;   DORVANE_EXE        the dorvane.exe to ship
;   DORVANE_HELP       the folder that holds dvn40.hlp, dvn40.cnt and dvn40.chm
;   DORVANE_GENERATED  the folder that holds ExitCommand.nsh and
;                      StoreDefaults.nsh (the host build makes them from the
;                      tray menu's table and the program's defaults),
;                      LanguageFiles.nsh (the program's language files) and
;                      wizard.bmp
;   DORVANE_UPGRADE_CODE  the Windows Installer package's upgrade code
;                      (setup/dorvane.wxs), by which the setup finds a copy
;                      that the package installed
;   DORVANE_OUTFILE    the setup program to write
;   DORVANE_TARGET     x86-unicode (the default, what ships) or
;                      amd64-unicode (for test machines that run no 32-bit
;                      code; it packs the 64-bit build of the same sources)
;
; Command line: /S installs silently; /RemovableDrives=1 or
; /RemovableDrives=0 ticks or clears "Also check USB sticks, memory cards
; and CDs" whatever the computer's default (ticked when it has no drive A:
; of removable type); /LOG=FILE adds what the setup does to FILE. The
; uninstaller takes /S and /LOG=FILE too.

!ifndef DORVANE_TARGET
  !define DORVANE_TARGET x86-unicode
!endif
Target ${DORVANE_TARGET}

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"
!include "WinVer.nsh"
!include "${DORVANE_GENERATED}/ExitCommand.nsh"
!include "${DORVANE_GENERATED}/StoreDefaults.nsh"
!include "${DORVANE_GENERATED}/LanguageFiles.nsh"

!define PRODUCT "Dorvane"
!define VERSION "4.0"
!define PUBLISHER "Kestrome"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dorvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where dorvane.exe keeps its settings (settings/SettingsStore.cpp).
!define SETTINGS_KEY "Software\Kestrome\Dorvane\4.0"
; The program's source in the Application event log: its events' texts are
; the message table inside dorvane.exe, which the Event Viewer finds here.
!define EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\Dorvane"
; How long a running Dorvane may take to end after its Exit command.
!define EXIT_WAIT_MS 10000

Name "${PRODUCT} ${VERSION}"
OutFile "${DORVANE_OUTFILE}"
SetCompressor /SOLID lzma
; The settings live under HKEY_LOCAL_MACHINE, and the program goes into
; Program Files for every user of the computer.
RequestExecutionLevel admin
; The program is 32-bit: its folder is the 32-bit Program Files, also on
; 64-bit Windows. A setup run again goes where the first one installed.
InstallDir "$PROGRAMFILES32\Dorvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
BrandingText "Kestrome Software"
ShowUninstDetails show

VIProductVersion "4.0.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) Kestrome Software. All rights reserved."

!define MUI_ICON "../resources/art/dorvane.ico"
!define MUI_UNICON "../resources/art/dorvane.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${DORVANE_GENERATED}/wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${DORVANE_GENERATED}/wizard.bmp"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom StartupPageShow StartupPageLeave
Page custom RemovableDrivesPageShow RemovableDrivesPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\dorvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNow)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The languages of the program's own texts, English first: NSIS shows
; the language of Windows where it is among them, English elsewhere.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "Polish"
!include "SetupTexts.nsh"

; --- The record of what was done: with /LOG=FILE the setup and the
; uninstaller add each step to FILE, their last line saying how they
; ended. A silent setup shows no details, and an administrator who
; deploys it needs to see why one failed; the uninstaller returns at once,
; handing its work and its command line to a copy of itself in the
; temporary folder, and the log's last line tells when that copy is done.
Var LogFile  ; the open log, or "" without /LOG=

!macro OpenLog
  StrCpy $LogFile ""
  ${GetParameters} $R9
  ClearErrors
  ${GetOptions} $R9 "/LOG=" $R9
  ${IfNot} ${Errors}
  ${AndIf} $R9 != ""
    ClearErrors
    FileOpen $LogFile $R9 a
    ${If} ${Errors}
      StrCpy $LogFile ""
    ${Else}
      FileSeek $LogFile 0 END
    ${EndIf}
  ${EndIf}
!macroend

; A line of the details, and of the log.
!macro Detail TEXT
  DetailPrint "${TEXT}"
  ${If} $LogFile != ""
    FileWrite $LogFile "${TEXT}$\r$\n"
  ${EndIf}
!macroend
!define Detail "!insertmacro Detail"

!macro CloseLog TEXT
  ${Detail} "${TEXT}"
  ${If} $LogFile != ""
    FileClose $LogFile
    StrCpy $LogFile ""
  ${EndIf}
!macroend
; --- end of the record

; ${BST_CHECKED} when dorvane.exe is to start at every logon.
Var StartAtLogon
Var StartAtLogonBox

; Writing HKEY_LOCAL_MACHINE needs an administrator. Windows XP has no
; elevation prompt, so a limited user would get a setup that fails half-way.
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "$(AdminOnly)" /SD IDOK
    !insertmacro CloseLog "Ended: only an administrator can install or remove ${PRODUCT} (exit code 740)."
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; A copy that Dorvane's Windows Installer package installed owns the same
; folder, shortcuts and logon start: a setup over it would leave two
; entries in Programs and Features, and removing either would take the
; other's files. The setup refuses, as the package refuses a setup's copy,
; and names the way to remove it. Windows Installer's own list of the
; products of an upgrade code finds it, whatever its version.
!macro RefuseOverThePackagesCopy
  System::Call 'msi::MsiEnumRelatedProductsW(w "${DORVANE_UPGRADE_CODE}", i 0, i 0, w .r1) i .r0'
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONSTOP "$(PackagesCopy)" /SD IDOK
    !insertmacro CloseLog "Ended: ${PRODUCT} is installed by its Windows Installer package; remove it first with msiexec /x $1 /qn (exit code 1638)."
    SetErrorLevel 1638 ; ERROR_PRODUCT_VERSION: another installation of the product
    Quit
  ${EndIf}
!macroend

; Ends every running Dorvane before its files are replaced or removed. The
; main window gets the tray menu's own Exit command, posted as the menu
; posts it: no disk check runs, so no warning box about a disk in drive A:
; holds the setup, and the program removes its tray icon. Closing the
; window instead would run the check.
!macro DefineEndRunningDorvane UN
Function ${UN}EndRunningDorvane
  ${Do}
    FindWindow $R0 "${DORVANE_WINDOW_CLASS}" ""
    ${If} $R0 = 0
      ${Break}
    ${EndIf}
    System::Call "user32::GetWindowThreadProcessId(p R0, *i .R1) i"
    ; SYNCHRONIZE: enough to wait for the process to end.
    System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i R1) p .R2"
    ${Detail} "Ending the running ${PRODUCT} (process $R1)..."
    System::Call "user32::PostMessage(p R0, i ${WM_COMMAND}, p ${DORVANE_EXIT_COMMAND}, p 0) i"
    ${If} $R2 P<> 0
      System::Call "kernel32::WaitForSingleObject(p R2, i ${EXIT_WAIT_MS}) i .R3"
      System::Call "kernel32::CloseHandle(p R2)"
    ${Else}
      ; Without a handle to the process, its window going is the sign.
      StrCpy $R3 1
      ${For} $R4 1 100
        IsWindow $R0 stillThere
        StrCpy $R3 0
        ${Break}
        stillThere:
        Sleep 100
      ${Next}
    ${EndIf}
    ${If} $R3 = 0
      ${Detail} "${PRODUCT} (process $R1) has ended."
    ${Else}
      ${Detail} "${PRODUCT} did not end within 10 seconds."
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY continue
      ${Detail} "Stopped: ${PRODUCT} is still running (exit code 3)."
      SetErrorLevel 3
      Abort "$(StillRunningShort)"
      continue:
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro DefineEndRunningDorvane ""
!insertmacro DefineEndRunningDorvane "un."

Function .onInit
  !insertmacro OpenLog
  ${Detail} "${PRODUCT} ${VERSION} Setup started: $CMDLINE"
  !insertmacro RequireAdministrator
  !insertmacro RefuseOverThePackagesCopy
  StrCpy $StartAtLogon ${BST_CHECKED}
  Call RemovableDrivesInit
!if ${DORVANE_TARGET} == amd64-unicode
  ; The 64-bit test build goes where the shipped 32-bit setup goes on 64-bit
  ; Windows, into the 32-bit Program Files; in a 64-bit setup NSIS's
  ; $PROGRAMFILES32 names the 64-bit one. Only the default is changed: an
  ; earlier install's folder or a /D= stays.
  ${If} $INSTDIR == "$PROGRAMFILES32\Dorvane"
    ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion" "ProgramFilesDir (x86)"
    ${If} $0 != ""
      StrCpy $INSTDIR "$0\Dorvane"
    ${EndIf}
  ${EndIf}
!endif
FunctionEnd

Function .onInstSuccess
  !insertmacro CloseLog "Setup ended: ${PRODUCT} is installed in $INSTDIR."
FunctionEnd

Function .onInstFailed
  !insertmacro CloseLog "Setup ended without installing."
FunctionEnd

Function un.onInit
  !insertmacro OpenLog
  ${Detail} "${PRODUCT} ${VERSION} uninstaller started: $CMDLINE"
  !insertmacro RequireAdministrator
FunctionEnd

Function un.onUninstSuccess
  !insertmacro CloseLog "Uninstaller ended: ${PRODUCT} is removed."
FunctionEnd

Function un.onUninstFailed
  !insertmacro CloseLog "Uninstaller ended without removing ${PRODUCT}."
FunctionEnd

Function StartupPageShow
  !insertmacro MUI_HEADER_TEXT "$(StartupTitle)" "$(StartupSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "$(StartupText)"
  Pop $0
  ${NSD_CreateCheckbox} 0 48u 100% 12u "$(StartupBox)"
  Pop $StartAtLogonBox
  ${NSD_SetState} $StartAtLogonBox $StartAtLogon
  nsDialogs::Show
FunctionEnd

Function StartupPageLeave
  ${NSD_GetState} $StartAtLogonBox $StartAtLogon
FunctionEnd

; --- Removable drives. The program's own defaults check drive A: alone,
; which on a computer without a floppy drive checks nothing; the disks
; left in such a computer are USB sticks, memory cards and CDs. On a fresh
; install with the box ticked the setup writes the program's settings: the
; program's defaults together with "RemovableDrives" = 1. All of them,
; since a store that lacks one of the program's own values is reset at
; the program's first start, which would take the option away again.
; Settings that are there already (an upgrade, or a copy run before) are
; the user's, and stay exactly as they are.

; ${BST_CHECKED} when the option is to be on.
Var RemovableDrives
Var RemovableDrivesBox
; 1 when the settings key holds values already: they are kept.
Var SettingsKept

Function RemovableDrivesInit
  StrCpy $SettingsKept 0
  ClearErrors
  EnumRegValue $0 HKLM "${SETTINGS_KEY}" 0
  ${IfNot} ${Errors}
    StrCpy $SettingsKept 1
  ${EndIf}

  ; Ticked unless drive A: is a removable drive: GetDriveType answers
  ; DRIVE_REMOVABLE (2) for a floppy drive, and DRIVE_NO_ROOT_DIR (1) when
  ; there is no drive A: at all.
  System::Call "kernel32::GetDriveType(t 'A:\') i .r0"
  ${If} $0 = 2
    StrCpy $RemovableDrives ${BST_UNCHECKED}
  ${Else}
    StrCpy $RemovableDrives ${BST_CHECKED}
  ${EndIf}

  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/RemovableDrives=" $2
  ${IfNot} ${Errors}
    ${If} $2 == "1"
      StrCpy $RemovableDrives ${BST_CHECKED}
    ${ElseIf} $2 == "0"
      StrCpy $RemovableDrives ${BST_UNCHECKED}
    ${EndIf}
  ${EndIf}

  ; Kept settings: the box shows the stored choice.
  ${If} $SettingsKept = 1
    ReadRegDWORD $0 HKLM "${SETTINGS_KEY}" "RemovableDrives"
    ${If} $0 <> 0
      StrCpy $RemovableDrives ${BST_CHECKED}
    ${Else}
      StrCpy $RemovableDrives ${BST_UNCHECKED}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function RemovableDrivesPageShow
  !insertmacro MUI_HEADER_TEXT "$(DrivesTitle)" "$(DrivesSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "$(DrivesText)"
  Pop $0
  ${NSD_CreateCheckbox} 0 48u 100% 12u "$(DrivesBox)"
  Pop $RemovableDrivesBox
  ${NSD_SetState} $RemovableDrivesBox $RemovableDrives
  ${If} $SettingsKept = 1
    EnableWindow $RemovableDrivesBox 0
    ${NSD_CreateLabel} 0 68u 100% 30u "$(DrivesKept)"
    Pop $0
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function RemovableDrivesPageLeave
  ${NSD_GetState} $RemovableDrivesBox $RemovableDrives
FunctionEnd

Function WriteFirstSettings
  ${If} $SettingsKept = 1
  ${OrIf} $RemovableDrives != ${BST_CHECKED}
    Return
  ${EndIf}
  ; The program's defaults, as its first start would write them; the log
  ; beside the program.
  StrCpy $0 $INSTDIR 1 -1
  StrCpy $1 "${DEFAULT_LOG_FILE_NAME}"
  ${If} $0 == "\"
    StrCpy $0 "$INSTDIR$1"  ; a drive's root: "C:\"
  ${Else}
    StrCpy $0 "$INSTDIR\$1"
  ${EndIf}
  !insertmacro WriteStoreDefaults $0
  WriteRegDWORD HKLM "${SETTINGS_KEY}" "RemovableDrives" 1
  ${Detail} "${PRODUCT} will also check USB sticks, memory cards and CDs."
FunctionEnd
; --- end of the removable drives

Section "-Dorvane"
  SetShellVarContext all
  Call EndRunningDorvane

  SetOutPath "$INSTDIR"
  File "${DORVANE_EXE}"
  File "${DORVANE_HELP}/dvn40.hlp"
  File "${DORVANE_HELP}/dvn40.cnt"
  File "${DORVANE_HELP}/dvn40.chm"
  !insertmacro InstallLanguageFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\dorvane.exe"
  ; Windows Vista and later cannot open the WinHelp file without an extra
  ; viewer; all of them open the HTML Help file.
  ${If} ${AtLeastWinVista}
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\dvn40.chm"
  ${Else}
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\dvn40.hlp"
  ${EndIf}
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  ${If} $StartAtLogon == ${BST_CHECKED}
    WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\dorvane.exe"'
  ${Else}
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dorvane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  Call WriteFirstSettings

  WriteRegExpandStr HKLM "${EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\dorvane.exe"
  ; Error, warning and information.
  WriteRegDWORD HKLM "${EVENT_SOURCE_KEY}" "TypesSupported" 7

  ; The finish page offers the start; a silent setup, which shows no page,
  ; starts the program itself.
  ${If} ${Silent}
    ${Detail} "Starting $INSTDIR\dorvane.exe."
    Exec '"$INSTDIR\dorvane.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Call un.EndRunningDorvane

  Delete "$INSTDIR\dorvane.exe"
  Delete "$INSTDIR\dvn40.hlp"
  Delete "$INSTDIR\dvn40.cnt"
  Delete "$INSTDIR\dvn40.chm"
  !insertmacro RemoveLanguageFiles
  ; Windows' help viewer leaves its index of the help beside it.
  Delete "$INSTDIR\dvn40.gid"
  Delete "$INSTDIR\uninstall.exe"
  ; The log is the user's record of the disks found: kept unless the user
  ; says otherwise, and with it the folder.
  ${If} ${FileExists} "$INSTDIR\dvn.dvl"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(DeleteLog)" /SD IDNO IDNO keepLog
    Delete "$INSTDIR\dvn.dvl"
    keepLog:
  ${EndIf}
  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\*.*"
    ${Detail} "Kept the folder $INSTDIR: it still holds files."
  ${Else}
    ${Detail} "Removed the folder $INSTDIR."
  ${EndIf}

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The events already in the log lose their texts with the program.
  DeleteRegKey HKLM "${EVENT_SOURCE_KEY}"
  ${Detail} "Removed the shortcuts, the start at logon and the entry in Add or Remove Programs."

  ; Kept by default: a later install finds the drives, labels and log
  ; settings as the user left them.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDNO keepSettings
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Kestrome\Dorvane"
    DeleteRegKey /ifempty HKLM "Software\Kestrome"
    ${Detail} "Removed ${PRODUCT}'s settings."
    keepSettings:
SectionEnd
