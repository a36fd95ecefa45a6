#pragma once
// Whether the user has asked for high contrast, from what the system
// answers and, where it does not know the setting, from where Windows
// keeps it.

namespace platform {

// SPI_GETHIGHCONTRAST's flags, as Windows numbers them.
constexpr unsigned kHcfHighContrastOn = 0x1;
constexpr unsigned kHcfAvailable = 0x2;

// `systemFlags` are the flags the system answers. Windows sets
// kHcfAvailable wherever it has the feature; a system that answers without
// it does not know the setting at all (Wine answers no flag, whatever the
// user chose). There `storedFlags` decides: the flags that Windows keeps in
// the user's profile as decimal text ("Flags" of the key
// HKCU\Control Panel\Accessibility\HighContrast: "126" off, "127" on),
// null when there are none.
bool HighContrastOn(unsigned systemFlags, const char* storedFlags);

}  // namespace platform
