// Direct access to the game's, the voices' and the settings' state, for tests and
// benchmarks that must set up a position no short game reaches (a note in mid-fall, the
// fastest speed, a setting no menu offers). The program itself reaches that state only
// through the components' operations.
#pragma once

#include "game/Game.h"
#include "settings/SettingsStore.h"
#include "sound/Voices.h"

namespace kadeno {

class GameTestAccess {
 public:
  static GameState& State(Game& game) { return game.state_; }
  static Field& FieldOf(Game& game) { return game.field_; }
  // The steps a game takes, one at a time.
  static void PlayGame(Game& game) { game.PlayGame(); }
  static void PlayRound(Game& game) { game.PlayRound(); }
  static void StartRound(Game& game) { game.StartRound(); }
  static void Scan(Game& game) { game.Scan(); }
  static void SpeedUp(Game& game) { game.SpeedUp(); }
  static void HalfStepWait(Game& game) { game.HalfStepWait(); }
  static void PlayColumn(Game& game, int32_t column) { game.PlayColumn(column); }
  static void LandNote(Game& game, int32_t column) { game.LandNote(column); }
  static void ScoreLanding(Game& game) { game.ScoreLanding(); }
  static void ScaleFanfare(Game& game, const TopClasses& topClasses, int32_t key) {
    game.ScaleFanfare(topClasses, key);
  }
};

class SettingsTestAccess {
 public:
  static Settings& Values(SettingsStore& store) { return store.Writable(); }
};

class VoicesTestAccess {
 public:
  static MidiOutState& State(Voices& voices) { return voices.midi_; }
  static void SoundChannel(Voices& voices, int32_t channel) { voices.SoundChannel(channel); }
};

}  // namespace kadeno
