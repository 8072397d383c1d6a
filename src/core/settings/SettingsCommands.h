// The menu commands that change settings: eighteen ask for one number in an input box,
// two flip a switch, one restores the factory sound.
#pragma once

#include <string_view>

#include "settings/SettingsStore.h"
#include "seams/WindowServices.h"
#include "sound/Voices.h"

namespace kadeno {

class SettingsCommands {
 public:
  SettingsCommands(WindowServices& window, SettingsStore& store, Voices& voices)
      : window_(window), store_(store), voices_(voices) {}

  // Asks for the value of the setting with that key (one of the settings table's keys
  // that has a command), in the box its row describes; a good answer is kept and saved.
  void AskValue(std::string_view key);
  void ToggleStereo();
  void ToggleMovementSound();
  void BackToDefault();

 private:
  WindowServices& window_;
  SettingsStore& store_;
  Voices& voices_;
};

}  // namespace kadeno
