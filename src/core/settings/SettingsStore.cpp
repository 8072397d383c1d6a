// Loading and saving the settings file.
#include "settings/SettingsStore.h"

#include "seams/Translate.h"

namespace kadeno {

std::string SettingsStore::SettingsFile() const { return files_.SettingsFolder() + "/Kadeno.ini"; }

std::string SettingsStore::ShippedSettingsFile() const {
  return files_.ProgramFolder() + "/" + kShippedSettingsName;
}

bool SettingsStore::LoadSettings() {
  // The player's own file wins however it got there, and alone: nothing of the shipped file
  // is mixed into it, so a file with a few lines leaves the rest at their creation values.
  const std::string own = SettingsFile();
  if (files_.FileExists(own)) {
    if (auto text = files_.ReadTextFile(own)) LoadFrom(*text);
    return true;
  }
  // A new player: without the shipped defaults every volume would be 0 and the first game
  // silent. The first save writes the player's own file; the shipped one is only read.
  const std::string shipped = ShippedSettingsFile();
  if (!files_.FileExists(shipped)) return false;
  const auto text = files_.ReadTextFile(shipped);
  if (!text) return false;  // unreadable: as if there were none
  LoadFrom(*text);
  return true;
}

void SettingsStore::LoadFrom(const std::string& text) {
  const SettingsFileSeen seen = ParseSettingsFile(text, settings_);
  if (seen.stereo) {
    boxes_.SetMenuCaption(MenuItem::mMidiStereo,
                          Tr(settings_.Stereo ? kStereoOnCaption : kStereoOffCaption));
  }
  if (seen.movementSound) {
    boxes_.SetMenuCaption(
        MenuItem::mnuMidiFallingNoteMovementSound,
        Tr(settings_.FallingNoteMovementSound ? kMovementPercussiveCaption : kMovementNoteCaption));
  }
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
