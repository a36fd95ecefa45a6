#pragma once
// Help: the program's help file in the viewer that the running Windows has.
//
// Windows before Vista show the WinHelp file. Windows Vista and later ship
// no WinHelp viewer: WinHelpA reaches a stub that says the feature is not
// included (a download exists for Vista to 8.1 only, none for Windows 10
// and 11). All of them have HTML Help, so there the same requests open the
// HTML Help file when it lies beside the WinHelp file, and go to WinHelp
// as before when it is missing or HTML Help cannot be loaded.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "platform/Types.h"

namespace platform {

// WinHelp's commands.
constexpr unsigned kHelpContext = 1;
constexpr unsigned kHelpHelpOnHelp = 4;
constexpr unsigned kHelpFinder = 11;

// HTML Help's commands.
constexpr unsigned kHtmlHelpDisplayTopic = 0;
constexpr unsigned kHtmlHelpDisplayToc = 1;
constexpr unsigned kHtmlHelpCloseAll = 0x12;

class Help {
 public:
  virtual ~Help() = default;

  // A WinHelp request: WinHelpA(owner, the help file, command, data), or
  // its HTML Help counterpart. The service knows where the help file is,
  // so no window needs to.
  virtual bool ShowHelp(WindowHandle owner, unsigned command, std::uintptr_t data) = 0;
};

// What of the system the choice of the viewer needs, and the two viewers.
class HelpSystem {
 public:
  virtual ~HelpSystem() = default;

  // Windows Vista (6.0) or later.
  virtual bool VistaOrLater() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // WinHelpA(owner, file, command, data).
  virtual bool WinHelp(WindowHandle owner, const std::string& file, unsigned command,
                       std::uintptr_t data) = 0;
  // Loads HTML Help at its first use; false when it cannot be loaded.
  virtual bool LoadHtmlHelp() = 0;
  // HtmlHelpA(owner, file, command, 0), where file may name a page inside
  // the .chm ("X:\dir\help.chm::/page.htm"); whether a help window opened.
  virtual bool HtmlHelp(WindowHandle owner, const std::string& file, unsigned command) = 0;
};

// The page of the HTML Help file that a context number opens.
struct HelpContextPage {
  std::uintptr_t context;
  const char* page;
};

// The help files beside the program, and what the requests open in the
// HTML Help file, which knows no context numbers of its own.
struct HelpFiles {
  const char* winHelpName;
  const char* htmlHelpName;
  // The page that explains how to use this help (HELP_HELPONHELP).
  const char* helpOnHelpPage;
  const HelpContextPage* contextPages;
  std::size_t contextPageCount;
};

class ViewerChoosingHelp final : public Help {
 public:
  // `directory` gives the folder of the help files, with its trailing
  // backslash, asked anew for every request.
  ViewerChoosingHelp(HelpSystem& system, std::function<std::string()> directory,
                     const HelpFiles& files)
      : system_(system), directory_(std::move(directory)), files_(files) {}

  bool ShowHelp(WindowHandle owner, unsigned command, std::uintptr_t data) override;

 private:
  // The page of the HTML Help file that answers a WinHelp request: empty
  // for the contents, null when the file has none.
  const char* HtmlHelpPage(unsigned command, std::uintptr_t data) const;

  HelpSystem& system_;
  std::function<std::string()> directory_;
  HelpFiles files_;
};

}  // namespace platform
