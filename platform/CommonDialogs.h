#pragma once
// Common dialogs: the platform's open-file dialog.

#include <string>

#include "platform/Types.h"

namespace platform {

// The title and the filter are shown texts (UTF-8); the names are data, in
// the system's ANSI code page, as the settings keep them.
struct OpenFileRequest {
  WindowHandle owner = nullptr;
  std::string title;
  std::string filter;            // "Description|*.ext" pairs, as the program writes them
  std::string defaultExtension;  // without the dot
  std::string fileName;          // the name the file-name field starts with
};

// The filter in the platform's form: each "|" becomes a zero byte and the
// whole ends with two zero bytes.
std::string PlatformFilter(const std::string& filter);

class CommonDialogs {
 public:
  virtual ~CommonDialogs() = default;
  // GetOpenFileNameW with a 260-character buffer. True and the full path in
  // `chosen` when the user confirms.
  virtual bool OpenFileName(const OpenFileRequest& request, std::string& chosen) = 0;
};

}  // namespace platform
