// A landing and its scoring run. Each pass looks for a scale across the top row
// first, then for a chord stacked in one column; whatever scores is rewarded and vanishes,
// and the run looks again at the ground it left, until a pass scores nothing.
#include "game/Game.h"
#include "game/GameRules.h"
#include "seams/Translate.h"

namespace kadeno {

namespace {
// TRANSLATORS: Said when a scale follows a scale with no chord between them.
constexpr const char* kScaleRefused =
    N_("Can't Score two scales in a row.  You need to score at least one chord in between.");
}  // namespace

void Game::LandNote(int32_t column) {
  if (column < 1 || column > kColumns) return;
  state_.NoteLanded = true;
  landedColumn_ = column;
  voices_.SendPan(ColumnPan(column), Channel::Effect);
  // Each note of the landing sound yields, and a key may change the falling note between
  // them: every pitch is worked out from the note as it stands when it sounds.
  // The landed note's class from four octaves above it down to the note, highest first,
  // leaving out every pitch of 126 or more.
  constexpr int32_t kUp[] = {48, 36, 24, 12, 0};
  constexpr int32_t kBelow[] = {78, 90, 102, 114, 126};
  for (int i = 0; i < 5; ++i) {
    const int32_t p = state_.FallingNote;
    if (p < kBelow[i]) effects_.LandingEffectNote(p + kUp[i], state_.HalfStepFloor);
  }
  field_.PlaceLanded(column, state_.FallingNote);
  ScoreLanding();
  if (!state_.ScoredThisLanding) field_.DepositNote(column);
  field_.ClearRow3();
}

void Game::ScoreLanding() {
  state_.ScoredThisLanding = false;
  do {
    state_.ScoredThisPass = false;
    ComputeTopClasses();
    if (TestScale()) {
      state_.LastScoreWasScale = true;
      AddScalePoints();
      field_.RemoveScale();
      state_.ScoredThisPass = true;
      state_.ScoredThisLanding = true;
    }
    // One combination per pass: the chord of the lowest column, unless the scale scored.
    for (int32_t c = 1; c <= kColumns && !state_.ScoredThisPass; ++c) {
      if (TestChord(c)) {
        state_.LastScoreWasScale = false;
        AddChordPoints();
        field_.RemoveChord(c);
        state_.ScoredThisPass = true;
        state_.ScoredThisLanding = true;
      }
    }
  } while (state_.ScoredThisPass);
}

bool Game::TestChord(int32_t column) {
  if (column < 1 || column > kColumns) return false;
  const int32_t row1 = field_.At(column, Row1);
  const int32_t row2 = field_.At(column, Row2);
  const int32_t row3 = field_.At(column, Row3);
  int32_t low = 0, middle = 0, high = 0;
  if (row3 != 0) {
    high = row3 % 12;
    middle = row2 % 12;
    low = row1 % 12;
  } else if (row2 == 0) {
    return false;
  } else {
    // Beneath two ground notes the floor itself is the third note.
    high = row2 % 12;
    middle = row1 % 12;
    low = field_.BaseLineNote();
  }
  const std::optional<int32_t> root = ChordRootOf(low, middle, high);
  if (!root) return false;
  state_.ChordRoot = *root;
  voices_.SendPan(ColumnPan(column), Channel::Drum);
  ChordFanfare(low, middle, high, *root);
  AddChordPoints();
  return true;
}

void Game::ComputeTopClasses() {
  for (int c = 1; c <= kColumns; ++c) {
    state_.TopClass[c] = field_.Top(c, field_.BaseLineNote()) % 12;
  }
}

bool Game::TestScale() {
  if (!ScaleComplete(state_.ScaleTable, state_.TopClass)) return false;
  if (state_.LastScoreWasScale) {
    boxes_.MsgBox(Tr(kScaleRefused), Box::Ok, std::nullopt);
    return false;
  }
  state_.LastScoreWasScale = true;
  ScaleFanfare(state_.TopClass, state_.KeyNote);
  return true;
}

}  // namespace kadeno
