// MainForm: the scan. One sweep of the seven columns, each step two half-step waits around
// the notes-off, then the landing test and the sounding of the column. Key presses and
// menu commands run inside the waits, so every field is read afresh at every step.
#include "base/Arithmetic.h"
#include "game/GameRules.h"
#include "shell/MainForm.h"

namespace kadeno {

namespace {
constexpr int kWaitParts = 4;
}  // namespace

void MainForm::Scan() {
  if (game.NewNotePending) {
    game.NoteDumped = false;
    game.NewNotePending = false;
  }
  if (game.FallingNote >= INT32_MIN + 12) game.FallingNote -= 12;
  // A note made after a landing is made after the descent, so it is first heard high.
  if (game.NoteLanded) NewFallingNote();
  game.NoteLanded = false;
  ScanPause();
  for (int32_t s = 1; s <= kColumns; ++s) {
    if (s == 1) game.ScanStampMs = window.ClockMs();
    if (s == 2) {
      // The length of step 1 sets the pause before the next scan. A settings save during
      // step 1 clears the stamp, and its time must not count.
      game.StepMs = window.ClockMs() - game.ScanStampMs;
      if (game.ScanStampMs == 0) game.StepMs = 1;
    }
    HalfStepWait();
    AllNotesOff();
    HalfStepWait();
    ScanColumn(s);
    if (game.NoteLanded) return;
  }
}

void MainForm::SpeedUp() {
  game.HalfStepTime = SpeedUpStep(game.HalfStepTime, game.HalfStepFloor, settings.Difficulty,
                                  game.DifficultySpeedUp);
}

void MainForm::ScanPause() {
  for (int i = 0; i < kWaitParts; ++i) {
    // A measurement too long for a wait part is no wait at all (Delay drops it).
    const int64_t part = game.StepMs * 25;
    if (part >= INT32_MIN && part <= INT32_MAX) {
      int32_t units = static_cast<int32_t>(part);
      Delay(units);
    }
    window.Yield();
  }
}

void MainForm::HalfStepWait() {
  for (int i = 0; i < kWaitParts; ++i) {
    window.Yield();
    int32_t part = 0;
    AssignRounded(part, game.HalfStepTime / 4.0);
    Delay(part);
  }
}

void MainForm::ScanColumn(int32_t column) {
  if (column < 1 || column > kColumns) return;
  bool landed = false;
  if (game.FallingColumn == column) {
    int32_t top = game.Field[column][Row3];
    if (top == 0) top = game.Field[column][Row2];
    if (top == 0) top = game.Field[column][Row1];
    if (top == 0) top = game.BaseLineNote - 12;
    const Landing l = LandingRaise(game.FallingNote, top, game.BaseLineNote,
                                   LandingDistance(settings.Difficulty));
    game.FallingNote = l.note;
    landed = l.landed;
  }
  PlayColumn(column);
  if (landed) LandNote(column);
}

void MainForm::PlayColumn(int32_t column) {
  if (column < 1 || column > kColumns) return;
  const int32_t drum = (column == 3 || column == 7) ? 38 : 36;
  SendPan(ColumnPan(column), Channel::All);
  const int32_t falling = game.FallingColumn == column ? game.FallingNote : 0;
  SoundVoices(drum, game.BaseLineNote, game.Field[column][Row1], game.Field[column][Row2],
              game.Field[column][Row3], falling);
}

}  // namespace kadeno
