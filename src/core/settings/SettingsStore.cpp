// Loading and saving the settings file.
#include "settings/SettingsStore.h"

namespace kadeno {

std::string SettingsStore::SettingsFile() const { return files_.SettingsFolder() + "/Kadeno.ini"; }

bool SettingsStore::LoadSettings() {
  const std::string path = SettingsFile();
  if (!files_.FileExists(path)) return false;
  if (auto text = files_.ReadTextFile(path)) {
    const SettingsFileSeen seen = ParseSettingsFile(*text, settings_);
    if (seen.stereo) {
      boxes_.SetMenuCaption(MenuItem::mMidiStereo,
                            settings_.Stereo ? kStereoOnCaption : kStereoOffCaption);
    }
    if (seen.movementSound) {
      boxes_.SetMenuCaption(
          MenuItem::mnuMidiFallingNoteMovementSound,
          settings_.FallingNoteMovementSound ? kMovementPercussiveCaption : kMovementNoteCaption);
    }
  }
  return true;
}

void SettingsStore::SaveSettings() {
  // Written whole or not at all: a failed save leaves the previous file (and with it the
  // hall of fame) as it was.
  const std::string path = SettingsFile();
  if (!files_.WriteTextFile(path, FormatSettingsFile(settings_))) {
    log_.LogProblem("the settings could not be saved to " + path +
                    "; it keeps what it held before");
  }
  if (onSaved_) onSaved_();
}

}  // namespace kadeno
