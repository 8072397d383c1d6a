// MainForm: loading and saving the settings file.
#include "shell/MainForm.h"

namespace kadeno {

std::string MainForm::SettingsFile() { return window.SettingsFolder() + "/Kadeno.ini"; }

void MainForm::LoadSettings() {
  const std::string path = SettingsFile();
  if (!window.FileExists(path)) return;
  if (auto text = window.ReadTextFile(path)) {
    const SettingsFileSeen seen = ParseSettingsFile(*text, settings);
    if (seen.stereo) {
      window.SetMenuCaption(MenuItem::mMidiStereo,
                            settings.Stereo ? kStereoOnCaption : kStereoOffCaption);
    }
    if (seen.movementSound) {
      window.SetMenuCaption(
          MenuItem::mnuMidiFallingNoteMovementSound,
          settings.FallingNoteMovementSound ? kMovementPercussiveCaption : kMovementNoteCaption);
    }
  }
  game.StepMs = 1;
}

void MainForm::SaveSettings() {
  // Written whole or not at all: a failed save leaves the previous file (and with it the
  // hall of fame) as it was.
  const std::string path = SettingsFile();
  if (!window.WriteTextFile(path, FormatSettingsFile(settings))) {
    window.LogProblem("the settings could not be saved to " + path +
                      "; it keeps what it held before");
  }
  // The time spent saving must not count in the scan's step measurement.
  game.ScanStampMs = 0;
}

}  // namespace kadeno
