// MainForm: the one owner of all state for the whole run (game fields, settings, the
// MIDI channel tables and the stereo table) and of every operation of the program.
// Its operations are spread over the subsystem folders; each .cpp says which it holds.
//
// The game runs inside the Start Game command and every wait yields to pending window
// events, so key handlers, menu commands and boxes run nested inside a wait. Never hold
// a reference, pointer or iterator into these fields across a call that can yield (a
// wait, an effect note, a modal box): read the field again after it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "game/GameState.h"
#include "settings/Settings.h"
#include "shell/WindowServices.h"
#include "sound/AudioDevice.h"
#include "sound/MidiOut.h"

namespace kadeno {

class RegistryAccess;

// Virtual-key codes the key handler acts on.
namespace Key {
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int P = 80;
inline constexpr int S = 83;
inline constexpr int F1 = 112;
inline constexpr int F4 = 115;
inline constexpr int AltMask = 4;  // shift state while Alt is held
}  // namespace Key

class MainForm {
 public:
  MainForm(WindowServices& window, AudioDevice& audio);

  WindowServices& window;
  AudioDevice& audio;
  RegistryAccess* registry = nullptr;  // set by the executable; null where there is none

  GameState game;
  Settings settings;
  MidiOutState midi;

  // ---- Start-up, shut-down and menus (shell/MainForm.cpp) ----
  void Form_Load();
  void Form_Unload();
  void Form_Terminate();
  void mnuFileStartGame_Click();
  void mnuFileSetDifficulty_Click();
  void mnuFileHallOfFame_Click();
  void mnuFileExit_Click();  // ends the program
  void mnuProgramUninstallKadeno_Click();
  void mnuHelpInstructions_Click();
  void mnuHelpAbout_Click();

  // ---- Help and about pages (shell/HelpPages.cpp) ----
  void ShowInstructions();
  void ShowAbout();

  // ---- Hall of fame (shell/HallOfFame.cpp) ----
  void RecordAndShowHallOfFame();

  // ---- Game driver (game/GameDriver.cpp) ----
  void PlayGame();
  void PlayRound();
  void StartRound();
  void BuildScaleTable();
  void NewFallingNote();
  void SayScore();

  // ---- Scan cycle (game/ScanCycle.cpp) ----
  void Scan();
  void SpeedUp();
  void ScanPause();
  void HalfStepWait();
  void ScanColumn(int32_t column);
  void PlayColumn(int32_t column);

  // ---- Keyboard (game/Keyboard.cpp) ----
  void Form_KeyDown(int32_t keyCode, int32_t shift);

  // ---- Column stacks and landing (game/ColumnStacks.cpp) ----
  void PushNote(int32_t column, int32_t note);
  int32_t PopNote(int32_t column);
  void DepositNote(int32_t column);
  void LowerGround(int32_t column);
  void LandNote(int32_t column);

  // ---- Chord and scale scoring, awards (game/Scoring.cpp, game/Awards.cpp) ----
  void ScoreLanding();
  bool TestChord(int32_t column);
  void RemoveChord(int32_t column);
  void ComputeTopClasses();
  bool TestScale();
  void RemoveScale();
  void AddChordPoints();
  void AddScalePoints();
  void ChordFanfare(int32_t a, int32_t b, int32_t c, int32_t root);
  void ScaleFanfare(const std::array<int32_t, 7>& topClasses, int32_t keyNote);

  // ---- MIDI output and voices (sound/Voices.cpp) ----
  void OpenMidiOut();
  void CloseMidiOut();
  void StopAllSound();
  void SoundChannel(int32_t channel);
  void EndChannelNote(int32_t channel);
  void AllNotesOff();
  void SoundVoices(int32_t drumKey, int32_t baseNote, int32_t row1Note, int32_t row2Note,
                   int32_t row3Note, int32_t fallingNote);

  // ---- Stereo placement (sound/Stereo.cpp) ----
  int32_t MapPan(int32_t nominal) const;
  void BuildPanTable();
  void SendPan(int32_t value, int32_t channel);

  // ---- Effect notes, waits and waves (sound/Effects.cpp) ----
  void LandingEffectNote(int32_t note);
  void DropEffectNote(int32_t note);
  void PercussionEffect(int32_t key);
  void FallingNoteEcho();
  void AwardEffectNote(int32_t note);
  void PlayWave(const std::string& name);
  void Delay(int32_t& units);

  // ---- Settings file (settings/SettingsStore.cpp) ----
  std::string SettingsFile();
  void LoadSettings();
  void SaveSettings();

  // ---- Settings commands (settings/SettingsCommands.cpp) ----
  void mnuMidiStereoWide_Click();
  void mnuMidiCurve_Click();
  void mnuMidiStereoBalance_Click();
  void mnuMidiDrumVolume_Click();
  void mnuMidiBaseLineVolume_Click();
  void mnuMidiBaseLineInstrument_Click();
  void mnuMidiRow1Volume_Click();
  void mnuMidiRow1Instrument_Click();
  void mnuMidiRow2Volume_Click();
  void mnuMidiRow2Instrument_Click();
  void mnuMidiRow3Volume_Click();
  void mnuMidiRow3Instrument_Click();
  void mnuMidiFallingVolume_Click();
  void mnuMidiFallingInstrument_Click();
  void mnuMidiEffectVolume_Click();
  void mnuMidiEffectInstrument_Click();
  void mnuMidiKeyboardScaling_Click();
  void mMidiStereo_Click();
  void mnuMidiFallingNoteMovementSound_Click();
  void mnuMidiBackToDefault_Click();

  // ---- Program state beyond the original fields ----
  bool GameRunning = false;        // Start Game is refused while a game runs
  bool HallOfFameOffered = false;  // the score has had (or, in mid-game, will get) its chance

 private:
  // Sends one packed word to the device.
  void Send(uint32_t word);
  // One effect note: sound it on a channel, hold it through Delay, end it.
  void EffectNote(int32_t channel, int32_t note, int32_t velocity, int32_t& hold);

  // game helpers
  // The Down key: the falling note one scale degree lower, an octave down.
  void LowerFallingNote();
  // Steps 1 to 3 of the hall of fame: a name and a place for a good enough score.
  void OfferHallOfFamePlace();
  // What closing the window does: save the settings, close the device, stop all sound.
  // Only the first call acts.
  void CloseDown();
  bool closedDown_ = false;
};

}  // namespace kadeno
