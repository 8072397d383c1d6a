// The fields of game play. MainForm owns one GameState for the whole run; every
// operation of the game reads and writes it directly, afresh after every wait.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kadeno {

inline constexpr int kColumns = 7;

// The nominal stereo position of a column: 0, 21, ... 126 from left to right.
inline constexpr int32_t ColumnPan(int32_t column) { return (column - 1) * 21; }

struct GameState {
  double Score = 0;
  int32_t RoundStartScore = 0;
  int32_t KeyNote = 0;
  int32_t BaseLineNote = 0;
  std::array<int32_t, 8> ScaleTable{};  // degrees 1..7; entry 0 is always 0
  int32_t CeilingNote = 0;
  // Field[c][r]: column c 1..7, row r 1..3 (index 0 unused on both axes).
  std::array<std::array<int32_t, 4>, kColumns + 1> Field{};
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
  std::array<int32_t, kColumns + 1> TopClass{};  // columns 1..7

  // Buried notes under Row1, one list per column 1..7, oldest first, held as decimal text.
  std::array<std::vector<std::string>, kColumns + 1> ColumnStack{};
};

inline constexpr int Row1 = 1;
inline constexpr int Row2 = 2;
inline constexpr int Row3 = 3;

}  // namespace kadeno
