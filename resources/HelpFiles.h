#pragma once
// The help files beside the program, and what the help requests open in
// the HTML Help file. resources/help/make_help.py names each topic's page
// after its context string ("settings" -> "settings.htm"); the help tests
// read these lines back against the built dvn40.chm.

#include <cstdint>
#include <iterator>

#include "platform/Help.h"
#include "resources/Texts.h"

// The settings dialog's Help button asks for this context number, the
// topic with "@map 35" in the help's source.
constexpr std::uintptr_t kSettingsHelpContext = 35;

constexpr char kHtmlHelpFileName[] = "dvn40.chm";

// The topic "How to use this help" (context string using_help).
constexpr char kHelpOnHelpPage[] = "using_help.htm";

constexpr platform::HelpContextPage kHelpContextPages[] = {
    {35, "settings.htm"},
};
static_assert(kHelpContextPages[0].context == kSettingsHelpContext,
              "the settings dialog's context number opens the settings topic");

constexpr platform::HelpFiles kHelpFiles = {kHelpFileName, kHtmlHelpFileName, kHelpOnHelpPage,
                                            kHelpContextPages, std::size(kHelpContextPages)};
