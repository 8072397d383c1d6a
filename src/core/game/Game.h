// The game: the driver that runs rounds inside the Start Game command, the scan that
// sweeps the field, the keys that steer the falling note, and the scoring of a landing.
//
// Every wait of a game serves pending key presses and menu commands, so they run nested
// inside the game's own operations. Never hold a reference, pointer or iterator into the
// state across a call that can yield (a wait, an effect note, a modal box): read it again.
#pragma once

#include <array>
#include <cstdint>

#include "game/EffectNotes.h"
#include "game/Field.h"
#include "game/GameState.h"
#include "seams/Boxes.h"
#include "seams/Clock.h"
#include "settings/HallOfFame.h"
#include "settings/Settings.h"
#include "sound/Voices.h"

namespace kadeno {

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

class Game {
 public:
  // The settings are read, never written: the difficulty and the movement sound.
  Game(Boxes& boxes, EventClock& clock, Voices& voices, const Settings& settings,
       HallOfFame& hallOfFame);

  // Start Game: asks whether the player is ready, plays rounds until the game ends, then
  // offers the hall of fame. Refused while a game runs.
  void StartGame();
  // The S key: says the score.
  void SayScore();
  // The keys that steer the falling note: Space, the arrows, P (game/Keyboard.cpp).
  void SteerKey(int32_t keyCode);
  // A settings save: its time must not count in the step being measured.
  void ForgetScanStamp() { state_.ScanStampMs = 0; }
  // Settings were loaded: the first pause is measured as one millisecond.
  void AssumeShortStep() { state_.StepMs = 1; }

  const GameState& State() const { return state_; }

 private:
  friend class GameTestAccess;

  // ---- The driver (game/GameDriver.cpp) ----
  void PlayGame();
  void PlayRound();
  void StartRound();

  // ---- The scan (game/ScanCycle.cpp) ----
  void Scan();
  void SpeedUp();
  void HalfStepWait();
  void PlayColumn(int32_t column);

  // ---- Landing and scoring (game/Scoring.cpp, game/Awards.cpp) ----
  void LandNote(int32_t column);
  void ScoreLanding();
  void ScaleFanfare(const TopClasses& topClasses, int32_t keyNote);

  void BuildScaleTable();
  void NewFallingNote();
  void ScanPause();
  void ScanColumn(int32_t column);
  // The Down key: the falling note one scale degree lower, an octave down.
  void LowerFallingNote();
  bool TestChord(int32_t column);
  void ComputeTopClasses();
  bool TestScale();
  void AddChordPoints();
  void AddScalePoints();
  void ChordFanfare(int32_t a, int32_t b, int32_t c, int32_t root);

  Boxes& boxes_;
  EventClock& clock_;
  Voices& voices_;
  const Settings& settings_;
  HallOfFame& hallOfFame_;
  EffectNotes effects_;
  GameState state_;
  Field field_;
  bool running_ = false;
};

}  // namespace kadeno
