// Loading and saving the settings file.
#include "settings/SettingsStore.h"

#include "seams/Translate.h"

namespace kadeno {

std::string SettingsStore::SettingsFile() const { return window_.SettingsFolder() + "/Kadeno.ini"; }

bool SettingsStore::LoadSettings() {
  const std::string path = SettingsFile();
  if (!window_.FileExists(path)) return false;
  if (auto text = window_.ReadTextFile(path)) {
    const SettingsFileSeen seen = ParseSettingsFile(*text, settings_);
    if (seen.stereo) {
      window_.SetMenuCaption(MenuItem::mMidiStereo,
                             Tr(settings_.Stereo ? kStereoOnCaption : kStereoOffCaption));
    }
    if (seen.movementSound) {
      window_.SetMenuCaption(MenuItem::mnuMidiFallingNoteMovementSound,
                             Tr(settings_.FallingNoteMovementSound ? kMovementPercussiveCaption
                                                                   : kMovementNoteCaption));
    }
  }
  return true;
}

void SettingsStore::SaveSettings() {
  // Written whole or not at all: a failed save leaves the previous file (and with it the
  // hall of fame) as it was.
  const std::string path = SettingsFile();
  if (!window_.WriteTextFile(path, FormatSettingsFile(settings_))) {
    window_.LogProblem("the settings could not be saved to " + path +
                       "; it keeps what it held before");
  }
  if (onSaved_) onSaved_();
}

}  // namespace kadeno
