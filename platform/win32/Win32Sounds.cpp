// Sounds: a wave file through winmm, and Windows' system sounds.
#include <windows.h>

#include <string>

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"

namespace platform {

bool Win32Sounds::PlayWave(const std::string& fileName, unsigned flags) {
  using SndPlaySound = BOOL(WINAPI*)(LPCSTR, UINT);
  static const auto play = SystemFunction<SndPlaySound>("winmm.dll", "sndPlaySoundA");
  return play != nullptr && play(fileName.c_str(), flags) != FALSE;
}

bool Win32Sounds::Beep(unsigned type) { return ::MessageBeep(type) != FALSE; }

}  // namespace platform
