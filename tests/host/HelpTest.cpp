// Which viewer each help request reaches: WinHelp as designed before
// Vista, HTML Help from Vista on when the .chm is beside the program, and
// WinHelp again whenever HTML Help cannot answer.

#include <gtest/gtest.h>

#include <string>

#include "platform/Help.h"
#include "platform/fake/Fakes.h"
#include "resources/HelpFiles.h"

namespace {

using platform::Journal;

const std::string kFolder = "C:\\Program Files\\Dorvane\\";
const std::string kHlp = kFolder + "dvn40.hlp";
const std::string kChm = kFolder + "dvn40.chm";

struct Request {
  unsigned command;
  std::uintptr_t data;
};
constexpr Request kHelpTopics = {platform::kHelpFinder, 0};
constexpr Request kHowToUseHelp = {platform::kHelpHelpOnHelp, 0};
constexpr Request kSettingsHelp = {platform::kHelpContext, kSettingsHelpContext};

std::string WinHelpLine(const Request& request) {
  return "winhelp " + kHlp + " " + std::to_string(request.command) + " " +
         std::to_string(request.data);
}

struct ViewerCase {
  const char* name;
  bool vistaOrLater;
  bool chmBeside;
  bool htmlHelpLoads;
  bool htmlHelpOpens;
  Request request;
  Journal expected;
};

class HelpViewerTest : public ::testing::TestWithParam<ViewerCase> {};

TEST_P(HelpViewerTest, RequestReachesItsViewer) {
  const ViewerCase& c = GetParam();
  Journal journal;
  platform::FakeHelpSystem system(journal);
  system.vistaOrLater = c.vistaOrLater;
  system.htmlHelpLoads = c.htmlHelpLoads;
  system.htmlHelpOpens = c.htmlHelpOpens;
  system.files = {kHlp};
  if (c.chmBeside) system.files.insert(kChm);
  platform::ViewerChoosingHelp help(system, [] { return kFolder; }, kHelpFiles);

  const auto owner = reinterpret_cast<platform::WindowHandle>(0x1234);
  EXPECT_TRUE(help.ShowHelp(owner, c.request.command, c.request.data));
  EXPECT_EQ(journal, c.expected);
  for (platform::WindowHandle asked : system.owners) EXPECT_EQ(asked, owner);
}

const ViewerCase kViewerCases[] = {
    // Before Vista nothing changes, .chm or not, and HTML Help is not loaded.
    {"XpHelpTopics", false, true, true, true, kHelpTopics, {WinHelpLine(kHelpTopics)}},
    {"XpHowToUseHelp", false, true, true, true, kHowToUseHelp, {WinHelpLine(kHowToUseHelp)}},
    {"XpSettingsHelp", false, true, true, true, kSettingsHelp, {WinHelpLine(kSettingsHelp)}},
    // Vista and later with the .chm: the contents, the page on using the
    // help, and the settings page for context 35.
    {"VistaHelpTopics", true, true, true, true, kHelpTopics,
     {"load html help", "htmlhelp " + kChm + " 1"}},
    {"VistaHowToUseHelp", true, true, true, true, kHowToUseHelp,
     {"load html help", "htmlhelp " + kChm + "::/using_help.htm 0"}},
    {"VistaSettingsHelp", true, true, true, true, kSettingsHelp,
     {"load html help", "htmlhelp " + kChm + "::/settings.htm 0"}},
    // Vista and later without the .chm: the designed request, HTML Help
    // left unloaded.
    {"NoChmHelpTopics", true, false, true, true, kHelpTopics, {WinHelpLine(kHelpTopics)}},
    {"NoChmSettingsHelp", true, false, true, true, kSettingsHelp, {WinHelpLine(kSettingsHelp)}},
    // HTML Help missing from the system, or opening no window.
    {"NoHtmlHelpHelpTopics", true, true, false, true, kHelpTopics,
     {"load html help", WinHelpLine(kHelpTopics)}},
    {"NoHtmlHelpSettingsHelp", true, true, false, true, kSettingsHelp,
     {"load html help", WinHelpLine(kSettingsHelp)}},
    {"NoWindowHowToUseHelp", true, true, true, false, kHowToUseHelp,
     {"load html help", "htmlhelp " + kChm + "::/using_help.htm 0", WinHelpLine(kHowToUseHelp)}},
    // A context number that the .chm has no page for goes to WinHelp,
    // which has the number's own map.
    {"UnmappedContext", true, true, true, true, {platform::kHelpContext, 36},
     {WinHelpLine({platform::kHelpContext, 36})}},
};

INSTANTIATE_TEST_SUITE_P(Requests, HelpViewerTest, ::testing::ValuesIn(kViewerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HelpFolderTest, EveryRequestAsksForTheFolderAnew) {
  // The disk check changes the current directory; the files are found
  // beside the program, wherever it has been moved to between requests.
  Journal journal;
  platform::FakeHelpSystem system(journal);
  std::string folder = "C:\\One\\";
  system.files = {"C:\\Two\\dvn40.chm"};
  platform::ViewerChoosingHelp help(system, [&folder] { return folder; }, kHelpFiles);

  help.ShowHelp(nullptr, platform::kHelpFinder, 0);
  folder = "C:\\Two\\";
  help.ShowHelp(nullptr, platform::kHelpFinder, 0);
  EXPECT_EQ(journal, (Journal{"winhelp C:\\One\\dvn40.hlp 11 0", "load html help",
                              "htmlhelp C:\\Two\\dvn40.chm 1"}));
}

}  // namespace
