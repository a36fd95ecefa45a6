// What the settings dialog decides without a window: the enabling rules,
// the filling of emptied path boxes and the two file choosers.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/CommonDialogs.h"
#include "settings/SettingsRules.h"
#include "tests/texts/EnglishTexts.h"

namespace {

struct EnablingCase {
  const char* name;
  TSound sound;
  bool logging;
  TOptionSet managed;
  bool soundFile;
  bool soundTest;
  bool windowsSounds;
  bool logFile;
};

const EnablingCase kEnablingCases[] = {
    {"no sound, no log", TSound::NoSound, false, 0, false, false, false, false},
    {"a sound file", TSound::SoundFile, false, 0, true, true, false, false},
    {"a system sound", TSound::SoundWindows, false, 0, false, false, true, false},
    {"no sound, logging", TSound::NoSound, true, 0, false, false, false, true},
    {"a sound file and logging", TSound::SoundFile, true, 0, true, true, false, true},
    {"a system sound and logging", TSound::SoundWindows, true, 0, false, false, true, true},
    // A policy's value shows disabled; the test of a sound is no setting.
    {"a sound file set by policy", TSound::SoundFile, false, kOptionSoundFile, false, true, false,
     false},
    {"a system sound set by policy", TSound::SoundWindows, false, kOptionWindowsSound, false,
     false, false, false},
    {"a log file set by policy", TSound::NoSound, true, kOptionLogFile, false, false, false,
     false},
    // The mode alone set by policy leaves its own boxes to the user.
    {"the sound mode set by policy", TSound::SoundFile, true, kOptionSound | kOptionLogging, true,
     true, false, true},
};

TEST(SettingsEnablingTest, EachModeEnablesItsOwnControlsUnlessAPolicySetsThem) {
  for (const EnablingCase& c : kEnablingCases) {
    SCOPED_TRACE(c.name);
    TCheckOptions options;
    options.Sound = c.sound;
    options.Logging = c.logging;
    // The other choices and the paths play no part.
    options.WindowsSound = TWindowsSound::Error;
    options.SoundFile.clear();
    options.NoDialog = true;
    const SettingsEnabling enabling = EnablingFor(options, c.managed);
    EXPECT_EQ(enabling.soundFile, c.soundFile);
    EXPECT_EQ(enabling.soundTest, c.soundTest);
    EXPECT_EQ(enabling.windowsSounds, c.windowsSounds);
    EXPECT_EQ(enabling.logFile, c.logFile);
  }
}

TEST(FilledOnExitTest, OnlyAnEmptyTextIsFilled) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"", "(None)"},
      {" ", " "},
      {"   ", "   "},
      {"C:\\Sounds\\ding.wav", "C:\\Sounds\\ding.wav"},
      {"(None)", "(None)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilledOnExit(c.text, kNoSoundFile), c.expected) << "[" << c.text << "]";
  }
  EXPECT_EQ(FilledOnExit("", "C:\\Program\\dvn.dvl"), "C:\\Program\\dvn.dvl");
}

// The open-file dialog as the user answers it.
class FakeCommonDialogs : public platform::CommonDialogs {
 public:
  std::vector<platform::OpenFileRequest> requests;
  std::vector<std::string> answers;  // "" cancels

  bool OpenFileName(const platform::OpenFileRequest& request, std::string& chosen) override {
    requests.push_back(request);
    const std::string answer = answers.empty() ? "" : answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    if (answer.empty()) return false;
    chosen = answer;
    return true;
  }
};

const platform::WindowHandle kOwner = reinterpret_cast<platform::WindowHandle>(0x5E7);

TEST(FileChooserTest, EachChooserAsksWithItsOwnTitleFilterAndExtension) {
  const struct {
    TOpenDialog chooser;
    const char* title;
    const char* filter;
    const char* platformFilter;
    const char* extension;
  } cases[] = {
      {SoundFileChooser(EnglishTexts()), "Select a wave file", "Wave Files (*.wav)|*.wav",
       "Wave Files (*.wav)\0*.wav\0", "wav"},
      {LogFileChooser(EnglishTexts()), "Select a log file", "Dorvane Log Files (*.dvl)|*.dvl",
       "Dorvane Log Files (*.dvl)\0*.dvl\0", "dvl"},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.title);
    FakeCommonDialogs dialogs;
    EXPECT_FALSE(c.chooser.Execute(dialogs, kOwner));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const platform::OpenFileRequest& request = dialogs.requests[0];
    EXPECT_EQ(request.owner, kOwner);
    EXPECT_EQ(request.title, c.title);
    EXPECT_EQ(request.filter, c.filter);
    EXPECT_EQ(request.defaultExtension, c.extension);
    EXPECT_EQ(request.fileName, "") << "the first run starts with an empty name";
    // The platform's form: a zero byte for the bar, two at the end (the
    // literal's own terminator is the second).
    const std::string wanted(c.platformFilter, std::strlen(c.filter) + 2);
    EXPECT_EQ(platform::PlatformFilter(request.filter), wanted);
  }
}

TEST(FileChooserTest, TheNextRunStartsWithTheLastConfirmedChoiceAndCancelKeepsIt) {
  FakeCommonDialogs dialogs;
  TOpenDialog chooser = LogFileChooser(EnglishTexts());
  dialogs.answers = {"C:\\Logs\\first.dvl", "", "C:\\Logs\\second.dvl", ""};

  EXPECT_TRUE(chooser.Execute(dialogs, kOwner));
  EXPECT_EQ(chooser.FileName, "C:\\Logs\\first.dvl");
  EXPECT_FALSE(chooser.Execute(dialogs, kOwner));
  EXPECT_EQ(chooser.FileName, "C:\\Logs\\first.dvl") << "a cancelled run changes nothing";
  EXPECT_TRUE(chooser.Execute(dialogs, kOwner));
  EXPECT_FALSE(chooser.Execute(dialogs, kOwner));

  ASSERT_EQ(dialogs.requests.size(), 4u);
  EXPECT_EQ(dialogs.requests[0].fileName, "");
  EXPECT_EQ(dialogs.requests[1].fileName, "C:\\Logs\\first.dvl");
  EXPECT_EQ(dialogs.requests[2].fileName, "C:\\Logs\\first.dvl");
  EXPECT_EQ(dialogs.requests[3].fileName, "C:\\Logs\\second.dvl");
}

TEST(FileChooserTest, TheTwoChoosersRememberTheirOwnChoices) {
  FakeCommonDialogs dialogs;
  TOpenDialog sound = SoundFileChooser(EnglishTexts());
  TOpenDialog log = LogFileChooser(EnglishTexts());
  dialogs.answers = {"C:\\ding.wav", ""};
  EXPECT_TRUE(sound.Execute(dialogs, kOwner));
  EXPECT_FALSE(log.Execute(dialogs, kOwner));
  EXPECT_EQ(dialogs.requests[1].fileName, "") << "the log chooser has no choice of its own yet";
  EXPECT_EQ(log.FileName, "");
}

}  // namespace
