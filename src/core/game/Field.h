// The field: seven columns, each with two ground rows over a stack of buried notes on an
// endless floor of the base-line note, and a third row where a landed note stands while
// the landing is scored. It makes no sound and never waits.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kadeno {

inline constexpr int kColumns = 7;
inline constexpr int Row1 = 1;
inline constexpr int Row2 = 2;
inline constexpr int Row3 = 3;

// The nominal stereo position of a column: 0, 21, ... 126 from left to right.
inline constexpr int32_t ColumnPan(int32_t column) { return (column - 1) * 21; }

class Field {
 public:
  // A new round: no buried notes, both ground rows on the new floor.
  void StartRound(int32_t baseLineNote);
  int32_t BaseLineNote() const { return baseLineNote_; }

  // The note of a column's row; 0 for an empty row or a place off the field.
  int32_t At(int32_t column, int row) const;
  // The highest note of a column (row 3, else 2, else 1), or `none` when all are empty.
  int32_t Top(int32_t column, int32_t none) const;
  // Some note of the field stands above the ceiling.
  bool AboveCeiling(int32_t ceiling) const;

  // The landed note in row 3 of its column; every other row 3 is emptied.
  void PlaceLanded(int32_t column, int32_t note);
  void ClearRow3();

  // ---- Column stacks (game/ColumnStacks.cpp) ----
  void PushNote(int32_t column, int32_t note);
  // The newest buried note of a column, or the floor when none is buried.
  int32_t PopNote(int32_t column);
  // A landed note that scored nothing settles: each row moves down one, row 1 is buried.
  void DepositNote(int32_t column);
  // The ground of a column sinks by one note, which comes back from the stack.
  void LowerGround(int32_t column);

  // ---- What a scored combination leaves (game/ColumnStacks.cpp) ----
  void RemoveChord(int32_t column);
  // Exactly the seven notes of the scale vanish: the landed note where it is the top.
  void RemoveScale();

 private:
  // rows_[c][r]: column c 1..7, row r 1..3 (index 0 unused on both axes).
  std::array<std::array<int32_t, 4>, kColumns + 1> rows_{};
  // Buried notes under row 1, one list per column 1..7, oldest first.
  std::array<std::vector<int32_t>, kColumns + 1> stacks_{};
  int32_t baseLineNote_ = 0;
};

}  // namespace kadeno
