// The menu commands that change settings: eighteen ask for one number in an input box,
// two flip a switch, one restores the factory sound.
#pragma once

#include <functional>
#include <string_view>

#include "seams/Boxes.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

namespace kadeno {

// What the sound does around a value command: no pitched voice may hang on while the box
// holds the game still, and a new stereo shape reaches the stereo table at once.
struct SoundFollows {
  std::function<void()> silence;
  std::function<void()> stereoShapeChanged;
  // A setting was stored (its key; empty when Back to Default restored the whole sound):
  // the player may hear what it sounds like now.
  std::function<void(std::string_view key)> stored = nullptr;
};

class SettingsCommands {
 public:
  SettingsCommands(Boxes& boxes, SettingsStore& store, SoundFollows sound)
      : boxes_(boxes), store_(store), sound_(std::move(sound)) {}

  // Asks for the value of a row of the settings table that has a command, in the box the
  // row describes; a good answer is kept and saved.
  void AskValue(const SettingRow& row);
  void ToggleStereo();
  void ToggleMovementSound();
  void BackToDefault();

 private:
  void Stored(std::string_view key);

  Boxes& boxes_;
  SettingsStore& store_;
  SoundFollows sound_;
};

}  // namespace kadeno
