// A computer whose settings an administrator stored and a standard user
// may only read: the program runs on them without a word at start, warns
// as they say, and its OK stores nothing and tells the user why.

#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/Events.h"
#include "resources/SettingsLayout.h"
#include "tests/e2e/Driver.h"

namespace {

const char kKey[] = "SOFTWARE\\Kestrome\\Dorvane\\4.0";
const char kLabels[] = "SOFTWARE\\Kestrome\\Dorvane\\4.0\\Exclusions";

// Gives Everyone exactly `access` to the key, as an administrator's tool
// does. Wine checks a key's DACL at each open, as Windows does, but keeps
// it only while its server runs: this driver keeps the server running.
bool SetKeyAccess(HKEY key, DWORD access) {
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  if (!::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
    return false;
  }
  EXPLICIT_ACCESS_A entry = {};
  entry.grfAccessPermissions = access;
  entry.grfAccessMode = SET_ACCESS;
  entry.grfInheritance = NO_INHERITANCE;
  entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  entry.Trustee.ptstrName = static_cast<LPSTR>(everyone);
  PACL acl = nullptr;
  DWORD result = ::SetEntriesInAclA(1, &entry, nullptr, &acl);
  if (result == ERROR_SUCCESS) {
    result = ::SetSecurityInfo(key, SE_REGISTRY_KEY,
                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, acl, nullptr);
    ::LocalFree(acl);
  }
  ::FreeSid(everyone);
  return result == ERROR_SUCCESS;
}

class ManagedPcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
    e2e::InsertMedium('e');
    // The administrator's choice: drives A and E, no sound, no log.
    e2e::SetSettingString("Sound", "NoSound");
    e2e::SetSettingString("SoundFile", "(None)");
    e2e::SetSettingString("WindowsSound", "Exclamation");
    e2e::SetSettingDword("Logging", 0);
    e2e::SetSettingString("LogFile", "C:\\Dorvane\\dvn.dvl");
    e2e::SetSettingDword("NoDialog", 0);
    e2e::SetSettingString("Drives", "AE");
    HKEY labels = nullptr;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kLabels, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &labels,
                      nullptr);
    ::RegCloseKey(labels);
    // Handles that may change the DACLs, kept to give the access back.
    for (const char* path : {kKey, kLabels}) {
      HKEY key = nullptr;
      ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL | WRITE_DAC, &key),
                ERROR_SUCCESS);
      keys_.push_back(key);
      ASSERT_TRUE(SetKeyAccess(key, KEY_READ));
    }
    HKEY probe = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &probe, nullptr),
              ERROR_ACCESS_DENIED)
        << "the key must refuse a full-access open, as for a standard user";
  }
  void TearDown() override {
    program.Kill();
    for (HKEY key : keys_) {
      SetKeyAccess(key, KEY_ALL_ACCESS);
      ::RegCloseKey(key);
    }
    e2e::DeleteSettings();
  }

  e2e::Program program;
  std::vector<HKEY> keys_;
};

TEST_F(ManagedPcTest, AStandardUserRunsOnTheAdministratorsSettingsAndCannotChangeThem) {
  program.Start();
  // A box of the start would be up by the time the start-up has handled a
  // sent message; one that came later would be among the boxes below.
  ASSERT_TRUE(e2e::Handled(program.MainWindow()));
  EXPECT_FALSE(e2e::FindMessageBox(program.ProcessId()).has_value()) << "no box at start";

  // Both of the administrator's drives are checked: the defaults would
  // check A: alone.
  const e2e::SessionEndReply reply = e2e::AskEndOfSession(program);
  ASSERT_TRUE(reply.answered);
  EXPECT_EQ(reply.answer, 1);
  EXPECT_EQ(reply.boxes,
            (std::vector<std::string>{
                "There is still a disk with the label \"MYDISK\" in your A-drive!",
                "There is still a disk with the label \"STICK\" in your E-drive!"}));

  // OK in the settings dialog: one box that sends the user to an
  // administrator, the dialog still open, the store as it was.
  HWND dialog = e2e::ShowSettingsDialog(program);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(e2e::ClickButton(dialog, layout::ControlId(layout::kSettingsLayout, "buOK")));
  auto box = e2e::WaitForMessageBox(program.ProcessId(), 10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "Dorvane");
  EXPECT_NE(box->text.find("administrator"), std::string::npos) << box->text;
  EXPECT_NE(box->text.find("\"Run as administrator\""), std::string::npos) << box->text;
  e2e::PressBoxButton(box->hwnd, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box->hwnd); }, 5000));
  EXPECT_TRUE(e2e::HoldsOnceHandled(dialog, [&] {
    return !e2e::FindMessageBox(program.ProcessId()) && ::IsWindowVisible(dialog);
  })) << "one box, and the dialog stays open";
  EXPECT_EQ(e2e::SettingString("Drives"), "AE");
  EXPECT_EQ(e2e::SettingDword("NoDialog"), 0u);
  EXPECT_FALSE(e2e::SettingDword("RemovableDrives").has_value());
}

// The Event Viewer reads each event's sentence from the message table in
// dorvane.exe, by the number the program reports and with its strings put
// in: a number the table lacks would show no sentence at all.
TEST(EventMessagesTest, TheProgramCarriesTheSentenceOfEachEvent) {
  HMODULE program = ::LoadLibraryExA(e2e::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  struct Case {
    DWORD id;
    std::vector<const char*> strings;
    const char* sentence;
  };
  const Case cases[] = {
      {kEventDiskLeft, {"A", "MYDISK"},
       "Drive A: still held the disk \"MYDISK\" when the session was to end."},
      {kEventLogNotWritten, {"C:\\x.dvl", "Cannot create file C:\\x.dvl"},
       "The warning could not be written to the log file C:\\x.dvl: Cannot create file "
       "C:\\x.dvl"},
      {kEventSettingOrServiceDamaged, {"Failed to get data for 'NoDialog'", "They were reset."},
       "A setting of Dorvane, or a service of Windows that it uses, was missing or damaged "
       "(Failed to get data for 'NoDialog'). They were reset."},
      {kEventStarted, {"A:, C:", "", "en"},
       "Dorvane started. Drives it checks: A:, C:. Language of its texts: en."},
      {kEventStarted, {"E:", " Options set by policy: Drives, RemovableDrives.", "de, set by policy"},
       "Dorvane started. Drives it checks: E:. Options set by policy: Drives, RemovableDrives. "
       "Language of its texts: de, set by policy."},
  };
  for (const Case& c : cases) {
    char text[512] = {};
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, program, c.id, 0, text,
        sizeof text, reinterpret_cast<va_list*>(const_cast<char**>(c.strings.data())));
    std::string sentence(text, length);
    while (!sentence.empty() && (sentence.back() == '\n' || sentence.back() == '\r')) {
      sentence.pop_back();
    }
    EXPECT_EQ(sentence, c.sentence) << "event " << c.id;
  }
  ::FreeLibrary(program);
}

}  // namespace
