#include "platform/CommonDialogs.h"

namespace platform {

std::string PlatformFilter(const std::string& filter) {
  std::string result = filter;
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  result.push_back('\0');
  result.push_back('\0');
  return result;
}

}  // namespace platform
