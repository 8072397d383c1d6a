// The scan. One sweep of the seven columns, each step two half-step waits around
// the notes-off, then the landing test and the sounding of the column. Key presses and
// menu commands run inside the waits, so every field is read afresh at every step.
#include "base/Arithmetic.h"
#include "game/Game.h"
#include "game/GameRules.h"

namespace kadeno {

namespace {
constexpr int kWaitParts = 4;
}  // namespace

void Game::Scan() {
  if (state_.NewNotePending) {
    state_.NoteDumped = false;
    state_.NewNotePending = false;
  }
  if (state_.FallingNote >= INT32_MIN + 12) state_.FallingNote -= 12;
  // A note made after a landing is made after the descent, so it is first heard high.
  if (state_.NoteLanded) NewFallingNote();
  state_.NoteLanded = false;
  ScanPause();
  SweepColumns();
}

void Game::SweepColumns() {
  for (int32_t s = 1; s <= kColumns; ++s) {
    if (s == 1) state_.ScanStampMs = clock_.ClockMs();
    if (s == 2) {
      // The length of step 1 sets the pause before the next scan. A settings save during
      // step 1 clears the stamp, and its time must not count.
      state_.StepMs = clock_.ClockMs() - state_.ScanStampMs;
      if (state_.ScanStampMs == 0) state_.StepMs = 1;
    }
    HalfStepWait();
    voices_.AllNotesOff();
    HalfStepWait();
    ScanColumn(s);
    if (state_.NoteLanded || lessonStopped_) return;
  }
}

void Game::SpeedUp() {
  state_.HalfStepTime = SpeedUpStep(state_.HalfStepTime, state_.HalfStepFloor, settings_.Difficulty,
                                    state_.DifficultySpeedUp);
}

void Game::ScanPause() {
  for (int i = 0; i < kWaitParts; ++i) {
    // A measurement too long for a wait part is no wait at all (Delay drops it).
    const int64_t part = state_.StepMs * 25;
    if (part >= INT32_MIN && part <= INT32_MAX) {
      int32_t units = static_cast<int32_t>(part);
      Delay(clock_, units);
    }
    clock_.Yield();
  }
}

void Game::HalfStepWait() {
  for (int i = 0; i < kWaitParts; ++i) {
    clock_.Yield();
    int32_t part = 0;
    AssignRounded(part, state_.HalfStepTime / 4.0);
    Delay(clock_, part);
  }
}

void Game::ScanColumn(int32_t column) {
  if (column < 1 || column > kColumns) return;
  bool landed = false;
  if (state_.FallingColumn == column) {
    const int32_t floor = field_.BaseLineNote();
    const Landing l = LandingRaise(state_.FallingNote, field_.Top(column, floor - 12), floor,
                                   LandingDistance(LandingDifficulty()));
    state_.FallingNote = l.note;
    landed = l.landed;
  }
  PlayColumn(column);
  if (landed) LandNote(column);
}

int32_t Game::LandingDifficulty() const {
  // A lesson lands a note only where it is dropped or lowered onto the ground, as at the
  // gentlest level, whatever the player's.
  return lesson_ == Lesson::None ? settings_.Difficulty : 0;
}

void Game::PlayColumn(int32_t column) {
  if (column < 1 || column > kColumns) return;
  const int32_t drum = (column == 3 || column == 7) ? 38 : 36;
  voices_.SendPan(ColumnPan(column), Channel::All);
  const int32_t falling = state_.FallingColumn == column ? state_.FallingNote : 0;
  voices_.SoundVoices(drum, field_.BaseLineNote(), field_.At(column, Row1), field_.At(column, Row2),
                      field_.At(column, Row3), falling);
}

}  // namespace kadeno
