#include "platform/Help.h"

namespace platform {

const char* ViewerChoosingHelp::HtmlHelpPage(unsigned command, std::uintptr_t data) const {
  if (command == kHelpFinder) return "";
  if (command == kHelpHelpOnHelp) return files_.helpOnHelpPage;
  if (command == kHelpContext) {
    for (std::size_t i = 0; i < files_.contextPageCount; ++i) {
      if (files_.contextPages[i].context == data) return files_.contextPages[i].page;
    }
  }
  return nullptr;
}

bool ViewerChoosingHelp::ShowHelp(WindowHandle owner, unsigned command, std::uintptr_t data) {
  const std::string directory = directory_();
  std::string htmlHelpFile = directory + files_.htmlHelpName;
  if (system_.VistaOrLater() && system_.FileExists(htmlHelpFile)) {
    // A request that the HTML Help file cannot answer, HTML Help missing
    // from the system, or a viewer that opens no window: WinHelp's answer,
    // whatever it is, is still better than nothing at all.
    if (const char* page = HtmlHelpPage(command, data)) {
      unsigned htmlCommand = kHtmlHelpDisplayToc;
      if (*page != '\0') {
        htmlHelpFile.append("::/").append(page);
        htmlCommand = kHtmlHelpDisplayTopic;
      }
      if (system_.LoadHtmlHelp() && system_.HtmlHelp(owner, htmlHelpFile, htmlCommand)) {
        return true;
      }
    }
  }
  return system_.WinHelp(owner, directory + files_.winHelpName, command, data);
}

}  // namespace platform
