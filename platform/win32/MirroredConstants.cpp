// The platform headers repeat Windows' numbers so that the program's logic
// and its fakes build without <windows.h>. Here each is compared with
// Windows' own: a wrong number stops the program's build.
#include <windows.h>
#include <htmlhelp.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "platform/Contrast.h"
#include "platform/Drives.h"
#include "platform/EventLog.h"
#include "platform/Files.h"
#include "platform/Help.h"
#include "platform/Registry.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Sounds.h"
#include "platform/UserInterface.h"

namespace platform {

static_assert(kRegNone == REG_NONE);
static_assert(kRegSz == REG_SZ);
static_assert(kRegExpandSz == REG_EXPAND_SZ);
static_assert(kRegBinary == REG_BINARY);
static_assert(kRegDword == REG_DWORD);
static_assert(kRegMultiSz == REG_MULTI_SZ);

static_assert(kErrorSuccess == ERROR_SUCCESS);
static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(kErrorMoreData == ERROR_MORE_DATA);
static_assert(kErrorNoMoreItems == ERROR_NO_MORE_ITEMS);

static_assert(kErrorProcNotFound == ERROR_PROC_NOT_FOUND);
static_assert(kRpcInvalidBinding == RPC_S_INVALID_BINDING);

static_assert(kEventlogErrorType == EVENTLOG_ERROR_TYPE);
static_assert(kEventlogWarningType == EVENTLOG_WARNING_TYPE);
static_assert(kEventlogInformationType == EVENTLOG_INFORMATION_TYPE);

static_assert(kMbOk == MB_OK);
static_assert(kMbYesNo == MB_YESNO);
static_assert(kMbIconError == MB_ICONERROR);
static_assert(kMbIconQuestion == MB_ICONQUESTION);
static_assert(kMbIconExclamation == MB_ICONEXCLAMATION);
static_assert(kMbSystemModal == MB_SYSTEMMODAL);
static_assert(kIdOk == IDOK);
static_assert(kIdYes == IDYES);
static_assert(kIdNo == IDNO);

static_assert(kBeepHand == MB_ICONHAND);
static_assert(kBeepQuestion == MB_ICONQUESTION);
static_assert(kBeepExclamation == MB_ICONEXCLAMATION);
static_assert(kBeepAsterisk == MB_ICONASTERISK);
static_assert(kSndAsync == SND_ASYNC);

static_assert(kHelpContext == HELP_CONTEXT);
static_assert(kHelpHelpOnHelp == HELP_HELPONHELP);
static_assert(kHelpFinder == HELP_FINDER);
static_assert(kHtmlHelpDisplayTopic == HH_DISPLAY_TOPIC);
static_assert(kHtmlHelpDisplayToc == HH_DISPLAY_TOC);
static_assert(kHtmlHelpCloseAll == HH_CLOSE_ALL);

static_assert(kEwxShutdown == EWX_SHUTDOWN);
static_assert(kEwxReboot == EWX_REBOOT);
static_assert(kEndSessionCloseApp == ENDSESSION_CLOSEAPP);
static_assert(kEndSessionCritical == ENDSESSION_CRITICAL);
static_assert(kEndSessionLogoff == ENDSESSION_LOGOFF);

static_assert(kNifMessage == NIF_MESSAGE);
static_assert(kNifIcon == NIF_ICON);
static_assert(kNifTip == NIF_TIP);
static_assert(kNimAdd == NIM_ADD);
static_assert(kNimModify == NIM_MODIFY);
static_assert(kNimDelete == NIM_DELETE);

static_assert(kLocaleSDate == LOCALE_SDATE);
static_assert(kLocaleSTime == LOCALE_STIME);
static_assert(kLocaleSShortDate == LOCALE_SSHORTDATE);
static_assert(kLocaleITime == LOCALE_ITIME);
static_assert(kLocaleITLZero == LOCALE_ITLZERO);
static_assert(kLocaleS1159 == LOCALE_S1159);
static_assert(kLocaleS2359 == LOCALE_S2359);
static_assert(kLocaleITimeMarkPosn == LOCALE_ITIMEMARKPOSN);
static_assert(kLocaleUserDefault == LOCALE_USER_DEFAULT);

static_assert(kDriveUnknown == DRIVE_UNKNOWN);
static_assert(kDriveNoRootDir == DRIVE_NO_ROOT_DIR);
static_assert(kDriveRemovable == DRIVE_REMOVABLE);
static_assert(kDriveFixed == DRIVE_FIXED);
static_assert(kDriveRemote == DRIVE_REMOTE);
static_assert(kDriveCdrom == DRIVE_CDROM);
static_assert(kDriveRamDisk == DRIVE_RAMDISK);

static_assert(kHcfHighContrastOn == HCF_HIGHCONTRASTON);
static_assert(kHcfAvailable == HCF_AVAILABLE);

}  // namespace platform
