// MainForm: the scoring run of a landing. Each pass looks for a scale across the top row
// first, then for a chord stacked in one column; whatever scores is rewarded and vanishes,
// and the run looks again at the ground it left, until a pass scores nothing.
#include "game/GameRules.h"
#include "shell/MainForm.h"

namespace kadeno {

namespace {
constexpr const char* kScaleRefused =
    "Can't Score two scales in a row.  You need to score at least one chord in between.";
}  // namespace

void MainForm::ScoreLanding() {
  game.ScoredThisLanding = false;
  do {
    game.ScoredThisPass = false;
    ComputeTopClasses();
    if (TestScale()) {
      game.LastScoreWasScale = true;
      AddScalePoints();
      RemoveScale();
      game.ScoredThisPass = true;
      game.ScoredThisLanding = true;
    }
    // One combination per pass: the chord of the lowest column, unless the scale scored.
    for (int32_t c = 1; c <= kColumns && !game.ScoredThisPass; ++c) {
      if (TestChord(c)) {
        game.LastScoreWasScale = false;
        AddChordPoints();
        RemoveChord(c);
        game.ScoredThisPass = true;
        game.ScoredThisLanding = true;
      }
    }
  } while (game.ScoredThisPass);
}

bool MainForm::TestChord(int32_t column) {
  if (column < 1 || column > kColumns) return false;
  const auto cell = game.Field[column];
  int32_t low = 0, middle = 0, high = 0;
  if (cell[Row3] != 0) {
    high = cell[Row3] % 12;
    middle = cell[Row2] % 12;
    low = cell[Row1] % 12;
  } else if (cell[Row2] == 0) {
    return false;
  } else {
    // Beneath two ground notes the floor itself is the third note.
    high = cell[Row2] % 12;
    middle = cell[Row1] % 12;
    low = game.BaseLineNote;
  }
  const std::optional<int32_t> root = ChordRootOf(low, middle, high);
  if (!root) return false;
  game.ChordRoot = *root;
  SendPan(ColumnPan(column), Channel::Drum);
  ChordFanfare(low, middle, high, *root);
  AddChordPoints();
  return true;
}

void MainForm::RemoveChord(int32_t column) {
  if (column < 1 || column > kColumns) return;
  LowerGround(column);
  LowerGround(column);
  game.Field[column][Row3] = 0;
}

void MainForm::ComputeTopClasses() {
  for (int c = 1; c <= kColumns; ++c) {
    int32_t top = game.Field[c][Row3];
    if (top == 0) top = game.Field[c][Row2];
    if (top == 0) top = game.Field[c][Row1];
    if (top == 0) top = game.BaseLineNote;
    game.TopClass[c] = top % 12;
  }
}

bool MainForm::TestScale() {
  if (!ScaleComplete(game.ScaleTable, game.TopClass)) return false;
  if (game.LastScoreWasScale) {
    window.MsgBox(kScaleRefused, Box::Ok, std::nullopt);
    return false;
  }
  game.LastScoreWasScale = true;
  std::array<int32_t, 7> topClasses{};
  for (int c = 1; c <= kColumns; ++c) topClasses[c - 1] = game.TopClass[c];
  ScaleFanfare(topClasses, game.KeyNote);
  return true;
}

void MainForm::RemoveScale() {
  // Exactly the seven notes of the scale vanish: the landed note where it is the top.
  for (int c = 1; c <= kColumns; ++c) {
    if (game.Field[c][Row3] != 0) {
      game.Field[c][Row3] = 0;
    } else {
      LowerGround(c);
    }
  }
}

}  // namespace kadeno
