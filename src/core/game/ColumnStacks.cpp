// MainForm: the column piles. Each column's two top notes are the ground rows of the
// field; everything beneath them is buried in the column's stack, on an endless floor of
// the base-line note.
#include <charconv>

#include "shell/MainForm.h"

namespace kadeno {

namespace {
bool ValidColumn(int32_t c) { return c >= 1 && c <= kColumns; }
}  // namespace

void MainForm::PushNote(int32_t column, int32_t note) {
  if (!ValidColumn(column)) return;
  game.ColumnStack[column].push_back(std::to_string(note));
}

int32_t MainForm::PopNote(int32_t column) {
  if (!ValidColumn(column)) return 0;
  auto& stack = game.ColumnStack[column];
  if (stack.empty()) return game.BaseLineNote;
  const std::string text = stack.back();
  stack.pop_back();
  int32_t note = 0;
  std::from_chars(text.data(), text.data() + text.size(), note);
  return note;
}

void MainForm::DepositNote(int32_t column) {
  if (!ValidColumn(column)) return;
  PushNote(column, game.Field[column][Row1]);
  game.Field[column][Row1] = game.Field[column][Row2];
  game.Field[column][Row2] = game.Field[column][Row3];
}

void MainForm::LowerGround(int32_t column) {
  if (!ValidColumn(column)) return;
  game.Field[column][Row2] = game.Field[column][Row1];
  game.Field[column][Row1] = PopNote(column);
}

void MainForm::LandNote(int32_t column) {
  if (!ValidColumn(column)) return;
  game.NoteLanded = true;
  SendPan(ColumnPan(column), Channel::Effect);
  // Each note of the landing sound yields, and a key may change the falling note between
  // them: every pitch is worked out from the note as it stands when it sounds.
  // The landed note's class from four octaves above it down to the note, highest first,
  // leaving out every pitch of 126 or more.
  constexpr int32_t kUp[] = {48, 36, 24, 12, 0};
  constexpr int32_t kBelow[] = {78, 90, 102, 114, 126};
  for (int i = 0; i < 5; ++i) {
    const int32_t p = game.FallingNote;
    if (p < kBelow[i]) LandingEffectNote(p + kUp[i]);
  }
  for (int c = 1; c <= kColumns; ++c) game.Field[c][Row3] = 0;
  game.Field[column][Row3] = game.FallingNote;
  ScoreLanding();
  if (!game.ScoredThisLanding) DepositNote(column);
  for (int c = 1; c <= kColumns; ++c) game.Field[c][Row3] = 0;
}

}  // namespace kadeno
