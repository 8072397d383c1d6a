// The game: the driver that runs rounds inside the Start Game command, the scan that
// sweeps the field, the keys that steer the falling note, and the scoring of a landing.
//
// Every wait of a game serves pending key presses and menu commands, so they run nested
// inside the game's own operations. Never hold a reference, pointer or iterator into the
// state across a call that can yield (a wait, an effect note, a modal box): read it again.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

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
inline constexpr int C = 67;  // practice only: which column the note is in
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
  // The keys that steer the falling note: Space, the arrows, P, and in practice C
  // (game/Keyboard.cpp). The tour plays its own moves and takes none from the player.
  void SteerKey(int32_t keyCode);
  // A settings save: its time must not count in the step being measured.
  void ForgetScanStamp() { state_.ScanStampMs = 0; }
  // Settings were loaded: the first pause is measured as one millisecond.
  void AssumeShortStep() { state_.StepMs = 1; }

  const GameState& State() const { return state_; }

  // ---- Learning by ear: the game's own parts at another pace or with another ending ----
  // Help > Hear the Field: the sounds of the game one by one, each announced in a box
  // (game/Tour.cpp).
  void HearTheField();
  // File > Practice: the field of a game with no clock, until Escape (game/Practice.cpp).
  void Practice();
  // The Escape key: ends the tour or practice and returns true; false when neither runs.
  bool StopLesson();
  // A setting was stored: outside a game the player hears what it now sounds like. `key`
  // is its key in the settings file, empty for the whole sound put back to the factory's
  // (game/SettingSounds.cpp).
  void HearSetting(std::string_view key);

 private:
  friend class GameTestAccess;

  enum class Lesson { None, Tour, Practice, Phrase };
  // A lesson plays on a field of its own: the game's state and field are put back as they
  // were however it ends, so that the next game starts exactly as it would have.
  class LessonScope {
   public:
    LessonScope(Game& game, Lesson lesson);
    ~LessonScope();
    LessonScope(const LessonScope&) = delete;
    LessonScope& operator=(const LessonScope&) = delete;

   private:
    Game& game_;
    GameState state_;
    Field field_;
  };
  // False, after saying so, while a game or a lesson runs.
  bool MayStartLesson();
  // A command chosen while a setting's phrase plays: the phrase stops and the command runs
  // once it has ended. True when it was put off so.
  bool PutOffUntilPhraseEnds(void (Game::*command)());
  // A fresh field in the first round's key, at a pace of the lesson's own.
  void SetUpLessonField(int32_t halfStepTime);
  // One scan step's length of quiet-listening time, keys served.
  void HoldStep();
  // A box of the tour: OK goes on; Cancel, or Escape pressed meanwhile, leaves.
  bool TourStep(const char* text, int style);
  // Practice's scan: the note keeps its pitch; after a landing, the box that says it.
  void PracticeScan();
  void SayLanding(int32_t column, double pointsScored);
  void SayColumn();
  void PlayPhrase(std::string_view key);
  void Steer(int32_t keyCode);

  // ---- The driver (game/GameDriver.cpp) ----
  void PlayGame();
  void PlayRound();
  void StartRound();

  // ---- The scan (game/ScanCycle.cpp) ----
  void Scan();
  // The seven steps of a scan; it stops at a landing or when a lesson is stopped.
  void SweepColumns();
  void SpeedUp();
  void HalfStepWait();
  void PlayColumn(int32_t column);
  int32_t LandingDifficulty() const;

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
  bool running_ = false;  // a game or a lesson runs
  Lesson lesson_ = Lesson::None;
  bool lessonStopped_ = false;
  int32_t landedColumn_ = 0;  // where the last note landed
  void (Game::*afterPhrase_)() = nullptr;
};

}  // namespace kadeno
