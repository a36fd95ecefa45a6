// Group Policy's options over the user's own, as Group Policy leaves them:
// values under SOFTWARE\Policies\Kestrome\Dorvane\4.0 of the computer and
// of the user, and WM_SETTINGCHANGE "Policy" broadcast once they are
// applied. A: holds MYDISK and E: (a floppy-type drive) STICK; the stored
// settings name drive A:.

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/SettingsLayout.h"
#include "tests/e2e/Driver.h"

namespace {

const char kPolicyKey[] = "SOFTWARE\\Policies\\Kestrome\\Dorvane\\4.0";

std::string Warning(const std::string& label, char letter) {
  return "There is still a disk with the label \"" + label + "\" in your " +
         std::string(1, letter) + "-drive!";
}

void SetPolicy(HKEY root, const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(root, kPolicyKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
  ::RegCloseKey(key);
}

void SetPolicyText(HKEY root, const char* name, const std::string& text) {
  SetPolicy(root, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void SetPolicyDword(HKEY root, const char* name, DWORD value) {
  SetPolicy(root, name, REG_DWORD, &value, sizeof value);
}

void DeletePolicies() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    ::SHDeleteKeyA(root, "SOFTWARE\\Policies\\Kestrome");
  }
}

// What Group Policy does once it has applied the policies; it returns when
// every top-level window has handled the message.
void BroadcastPolicyChange() {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 1,
                        reinterpret_cast<LPARAM>("Policy"), SMTO_NORMAL, 10000, &result);
}

class PolicyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeletePolicies();
    e2e::DeleteSettings();
    for (char letter : {'a', 'e'}) e2e::InsertMedium(letter);
    // The user's own settings: drive A:, the warning box.
    e2e::StoreWarningOnly("A");
  }
  void TearDown() override {
    program.Kill();
    DeletePolicies();
    e2e::DeleteSettings();
  }

  std::vector<std::string> EndOfSessionBoxes() {
    const e2e::SessionEndReply reply = e2e::AskEndOfSession(program, 120000);
    EXPECT_TRUE(reply.answered);
    EXPECT_EQ(reply.answer, 1);
    return reply.boxes;
  }

  HWND Control(const char* name) const {
    return e2e::FindControl(dialog, layout::ControlId(layout::kSettingsLayout, name));
  }

  // The drive list's check marks: "A-" for a drive unchecked, "E+" checked.
  std::string DriveChecks() const {
    HWND list = Control("lvDrives");
    std::string checks;
    for (int i = 0; i < e2e::ListViewCount(list); ++i) {
      const std::string caption = e2e::ListViewText(program.ProcessId(), list, i);
      if (caption == " A:\\" || caption == " E:\\") {
        checks += caption.substr(1, 1) + (e2e::ListViewChecked(list, i) ? "+" : "-");
      }
    }
    return checks;
  }

  // Which pages show the managed line, in the order of the tabs: its own
  // style, since the pages not in front are hidden with all they hold.
  std::string ManagedLines() const {
    std::string lines;
    for (const char* name : {"laManagedDrives", "laManagedSound", "laManagedLogging",
                             "laManagedOther"}) {
      lines += (::GetWindowLongA(Control(name), GWL_STYLE) & WS_VISIBLE) != 0 ? "1" : "0";
    }
    return lines;
  }

  e2e::Program program;
  HWND dialog = nullptr;
};

TEST_F(PolicyTest, TheComputersPolicyHoldsOverTheUsersChoiceUntilGroupPolicyTakesItAway) {
  SetPolicyText(HKEY_LOCAL_MACHINE, "Drives", "E");
  SetPolicyDword(HKEY_LOCAL_MACHINE, "RemovableDrives", 0);
  // The user's policy differs: the computer's wins.
  SetPolicyText(HKEY_CURRENT_USER, "Drives", "A");
  program.Start();
  EXPECT_EQ(EndOfSessionBoxes(), std::vector<std::string>{Warning("STICK", 'E')});

  dialog = e2e::ShowSettingsDialog(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(DriveChecks(), "A-E+");
  EXPECT_EQ(ManagedLines(), "1001");
  // For the README: painted before this returns.
  ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_TRUE(e2e::SaveScreenshot(dialog, "settings-managed"));
  EXPECT_EQ(e2e::WindowText(Control("laManagedDrives")),
            "Some settings are managed by your administrator.");
  for (const char* managed : {"lvDrives", "chRemovableDrives"}) {
    EXPECT_FALSE(::IsWindowEnabled(Control(managed))) << managed;
  }
  for (const char* own : {"chNoDialog", "chRemindWhenAway", "buExclusionAdd", "chLogging"}) {
    EXPECT_TRUE(::IsWindowEnabled(Control(own))) << own;
  }

  // OK stores what is the user's and leaves the managed values as stored.
  ASSERT_TRUE(e2e::ClickButton(dialog, layout::ControlId(layout::kSettingsLayout, "buOK")));
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindowVisible(dialog); }, 5000));
  EXPECT_EQ(e2e::SettingString("Drives"), "A");
  EXPECT_FALSE(e2e::SettingDword("RemovableDrives").has_value());
  EXPECT_EQ(e2e::SettingDword("RemindWhenAway"), 0u) << "the user's own options are saved";

  // Group Policy takes the policies away: the user's choice is in force
  // again, without a restart.
  DeletePolicies();
  BroadcastPolicyChange();
  dialog = e2e::ShowSettingsDialog(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(DriveChecks(), "A+E-");
  EXPECT_EQ(ManagedLines(), "0000");
  EXPECT_TRUE(::IsWindowEnabled(Control("lvDrives")));
  EXPECT_TRUE(::IsWindowEnabled(Control("chRemovableDrives")));
  EXPECT_EQ(EndOfSessionBoxes(), std::vector<std::string>{Warning("MYDISK", 'A')});
}

TEST_F(PolicyTest, APolicyAppliedWhileTheProgramRunsHoldsFromItsBroadcastOn) {
  program.Start();
  dialog = e2e::ShowSettingsDialog(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ManagedLines(), "0000");

  SetPolicyDword(HKEY_CURRENT_USER, "NoDialog", 1);
  SetPolicyDword(HKEY_CURRENT_USER, "Logging", 1);
  BroadcastPolicyChange();
  EXPECT_TRUE(::IsWindowVisible(dialog)) << "the open dialog stays open";
  EXPECT_EQ(ManagedLines(), "0011");
  EXPECT_EQ(::SendMessageA(Control("chNoDialog"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(::IsWindowEnabled(Control("chNoDialog")));
  EXPECT_FALSE(::IsWindowEnabled(Control("chLogging")));
  // The log file's box follows the policy's logging, and stays the user's.
  EXPECT_TRUE(::IsWindowEnabled(Control("edLogFile")));
  // No box at the end of the session: the policy switched it off.
  EXPECT_EQ(EndOfSessionBoxes(), std::vector<std::string>{});
}

}  // namespace
