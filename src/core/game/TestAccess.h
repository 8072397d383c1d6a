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
};

class SettingsTestAccess {
 public:
  static Settings& Values(SettingsStore& store) { return store.Writable(); }
};

class VoicesTestAccess {
 public:
  static MidiOutState& State(Voices& voices) { return voices.midi_; }
};

}  // namespace kadeno
