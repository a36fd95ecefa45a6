#include "platform/Contrast.h"

namespace platform {

bool HighContrastOn(unsigned systemFlags, const char* storedFlags) {
  if ((systemFlags & kHcfAvailable) != 0) return (systemFlags & kHcfHighContrastOn) != 0;
  if (storedFlags == nullptr || *storedFlags == '\0') return false;
  unsigned long flags = 0;
  for (const char* digit = storedFlags; *digit != '\0'; ++digit) {
    // Anything but a plain number is not a setting Windows wrote.
    if (*digit < '0' || *digit > '9' || flags > 0xFFFFFFFFul / 10) return false;
    flags = flags * 10 + static_cast<unsigned long>(*digit - '0');
  }
  return (flags & kHcfHighContrastOn) != 0;
}

}  // namespace platform
