// MainForm: the main window's façade. Its event handlers (start-up, the close box, keys
// and every menu command) are what the window calls; each hands the work to the component
// that owns it:
//
//   SettingsStore     the settings record and its file
//   Voices            the MIDI output, channel tables, stereo table, effect notes
//   HallOfFame        the offer of a place and the listing
//   Game              driver, scan, steering keys, scoring; it owns the Field
//   SettingsCommands  the Midi menu's value boxes and switches
//
// The game runs inside the Start Game command and every wait yields to pending window
// events, so handlers run nested inside a game: never hold a reference into a component's
// state across a call that can yield.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/Game.h"
#include "registry/CleanUpCommand.h"
#include "seams/AudioDevice.h"
#include "seams/WindowServices.h"
#include "settings/HallOfFame.h"
#include "settings/SettingsCommands.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"
#include "sound/Voices.h"

namespace kadeno {

class MainForm {
 public:
  MainForm(WindowServices& window, AudioDevice& audio);
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // The registry the Uninstall command cleans (none where there is no registry), and how
  // the player then removes the program on this platform.
  void SetRegistry(RegistryAccess* registry, Removal removal) {
    registry_ = registry;
    removal_ = removal;
  }

  // ---- Start-up and the ways out ----
  void Form_Load();
  void Form_Unload();
  void Form_Terminate();
  void Form_KeyDown(int32_t keyCode, int32_t shift);

  // ---- File, Program and Help menus ----
  void mnuFileStartGame_Click();
  void mnuFilePractice_Click();
  void mnuFileHallOfFame_Click();
  void mnuFileExit_Click();  // ends the program
  void mnuProgramUninstallKadeno_Click();
  void mnuHelpInstructions_Click();
  void mnuHelpHearTheField_Click();
  void mnuHelpAbout_Click();

  // ---- Midi menu (and Set Difficulty) ----
  // A value command: the row of the settings table it asks for. The menu table names each
  // item's row by its key (mnuMidiDrumVolume asks for "DrumVolume"), checked while compiling.
  template <std::size_t row>
  void ValueCommand_Click() {
    commands_.AskValue(kSettingRows[row]);
  }
  void mMidiStereo_Click();
  void mnuMidiFallingNoteMovementSound_Click();
  void mnuMidiBackToDefault_Click();

  // The components, for the window's own needs, the tests and the benchmarks.
  WindowServices& window() { return window_; }
  SettingsStore& store() { return store_; }
  const Settings& settings() const { return store_.Values(); }
  Voices& voices() { return voices_; }
  Game& game() { return game_; }
  HallOfFame& hallOfFame() { return hallOfFame_; }

 private:
  // What closing the window does: save the settings, close the device, stop all sound.
  // Only the first call acts.
  void CloseDown();

  WindowServices& window_;
  SettingsStore store_;
  Voices voices_;
  HallOfFame hallOfFame_;
  Game game_;
  SettingsCommands commands_;
  RegistryAccess* registry_ = nullptr;
  Removal removal_ = Removal::PackageManager;
  bool closedDown_ = false;
};

}  // namespace kadeno
