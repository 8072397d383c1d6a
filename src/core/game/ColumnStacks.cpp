// The field's columns: the ground rows and the stacks beneath them.
#include "game/Field.h"

namespace kadeno {

namespace {
bool ValidColumn(int32_t c) { return c >= 1 && c <= kColumns; }
}  // namespace

void Field::StartRound(int32_t baseLineNote) {
  for (auto& stack : stacks_) stack.clear();
  baseLineNote_ = baseLineNote;
  for (int c = 1; c <= kColumns; ++c) {
    rows_[c][Row1] = baseLineNote;
    rows_[c][Row2] = baseLineNote;
  }
}

int32_t Field::At(int32_t column, int row) const {
  if (!ValidColumn(column) || row < Row1 || row > Row3) return 0;
  return rows_[column][row];
}

int32_t Field::Top(int32_t column, int32_t none) const {
  for (int r = Row3; r >= Row1; --r) {
    if (At(column, r) != 0) return At(column, r);
  }
  return none;
}

bool Field::AboveCeiling(int32_t ceiling) const {
  for (int c = 1; c <= kColumns; ++c) {
    for (int r = Row3; r >= Row1; --r) {
      if (rows_[c][r] > ceiling) return true;
    }
  }
  return false;
}

void Field::PlaceLanded(int32_t column, int32_t note) {
  ClearRow3();
  if (ValidColumn(column)) rows_[column][Row3] = note;
}

void Field::ClearRow3() {
  for (int c = 1; c <= kColumns; ++c) rows_[c][Row3] = 0;
}

void Field::PushNote(int32_t column, int32_t note) {
  if (!ValidColumn(column)) return;
  stacks_[column].push_back(note);
}

int32_t Field::PopNote(int32_t column) {
  if (!ValidColumn(column)) return 0;
  auto& stack = stacks_[column];
  if (stack.empty()) return baseLineNote_;
  const int32_t note = stack.back();
  stack.pop_back();
  return note;
}

void Field::DepositNote(int32_t column) {
  if (!ValidColumn(column)) return;
  PushNote(column, rows_[column][Row1]);
  rows_[column][Row1] = rows_[column][Row2];
  rows_[column][Row2] = rows_[column][Row3];
}

void Field::LowerGround(int32_t column) {
  if (!ValidColumn(column)) return;
  rows_[column][Row2] = rows_[column][Row1];
  rows_[column][Row1] = PopNote(column);
}

void Field::RemoveChord(int32_t column) {
  if (!ValidColumn(column)) return;
  LowerGround(column);
  LowerGround(column);
  rows_[column][Row3] = 0;
}

void Field::RemoveScale() {
  for (int c = 1; c <= kColumns; ++c) {
    if (rows_[c][Row3] != 0) {
      rows_[c][Row3] = 0;
    } else {
      LowerGround(c);
    }
  }
}

}  // namespace kadeno
