// The fields of game play beyond the field itself. The game owns one for the whole run and
// reads it afresh after every wait.
#pragma once

#include <array>
#include <cstdint>

#include "game/Field.h"

namespace kadeno {

// The pitch class of each column's top note, columns 1..7 (entry 0 unused), as every
// per-column array of the game counts them.
using TopClasses = std::array<int32_t, kColumns + 1>;

struct GameState {
  double Score = 0;
  int32_t RoundStartScore = 0;
  int32_t KeyNote = 0;
  std::array<int32_t, 8> ScaleTable{};  // degrees 1..7; entry 0 is always 0
  int32_t CeilingNote = 0;
  int32_t FallingNote = 0;
  int32_t FallingColumn = 0;
  int32_t FallingDegree = 0;
  bool NewNotePending = false;
  bool NoteDumped = false;
  bool NoteLanded = false;
  bool Paused = false;
  int32_t HalfStepTime = 0;   // hundredths of a millisecond
  int32_t HalfStepFloor = 0;  // hundredths of a millisecond
  double DifficultySpeedUp = 0;
  int64_t StepMs = 0;       // milliseconds
  int64_t ScanStampMs = 0;  // milliseconds on the window clock; 0 = no stamp

  // Scoring.
  bool LastScoreWasScale = false;
  bool ScoredThisLanding = false;
  bool ScoredThisPass = false;
  int32_t ChordRoot = 0;
  TopClasses TopClass{};
};

}  // namespace kadeno
