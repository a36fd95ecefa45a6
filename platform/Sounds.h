#pragma once
// Sounds: a wave file through winmm, or one of the system sounds.

#include <string>

namespace platform {

// The MessageBeep values of the four system sounds.
constexpr unsigned kBeepHand = 0x10;
constexpr unsigned kBeepQuestion = 0x20;
constexpr unsigned kBeepExclamation = 0x30;
constexpr unsigned kBeepAsterisk = 0x40;

// sndPlaySoundA's flag to return at once while the sound plays.
constexpr unsigned kSndAsync = 0x0001;

class Sounds {
 public:
  virtual ~Sounds() = default;

  // sndPlaySoundA. With flags 0 the call plays synchronously and falls back
  // to the default sound when the file cannot be played.
  virtual bool PlayWave(const std::string& fileName, unsigned flags) = 0;

  // MessageBeep: returns at once while the sound plays.
  virtual bool Beep(unsigned type) = 0;
};

}  // namespace platform
