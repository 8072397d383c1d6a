// The menu commands that change settings: eighteen ask for one number in an input box,
// two flip a switch, one restores the factory sound.
#pragma once

#include <functional>
#include <string_view>

#include "seams/Boxes.h"
#include "settings/SettingsStore.h"

namespace kadeno {

// What the sound does around a value command: no pitched voice may hang on while the box
// holds the game still, and a new stereo shape reaches the stereo table at once.
struct SoundFollows {
  std::function<void()> silence;
  std::function<void()> stereoShapeChanged;
};

class SettingsCommands {
 public:
  SettingsCommands(Boxes& boxes, SettingsStore& store, SoundFollows sound)
      : boxes_(boxes), store_(store), sound_(std::move(sound)) {}

  // Asks for the value of the setting with that key (one of the settings table's keys
  // that has a command), in the box its row describes; a good answer is kept and saved.
  void AskValue(std::string_view key);
  void ToggleStereo();
  void ToggleMovementSound();
  void BackToDefault();

 private:
  Boxes& boxes_;
  SettingsStore& store_;
  SoundFollows sound_;
};

}  // namespace kadeno
