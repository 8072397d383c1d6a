// The keys that steer the falling note. Every move is sounded at once, so that a player
// who sees nothing hears where the note went. During a game a press runs inside a yield of
// the scan; the effect notes yield again, so a press may run inside another.
#include "game/Game.h"
#include "game/GameRules.h"

namespace kadeno {

namespace {
constexpr int32_t kCentreColumn = 4;
constexpr int32_t kLeftWallKey = 77;   // low wood block
constexpr int32_t kRightWallKey = 76;  // high wood block
constexpr int32_t kMoveKey = 37;       // side stick
constexpr int32_t kDumpDrop = 96;      // eight octaves, then back up to the floor
// While paused the loop only waits for P again; a short sleep keeps it from holding a
// processor core at full load for the whole pause.
constexpr int64_t kPausePollMs = 5;
}  // namespace

void Game::SteerKey(int32_t keyCode) {
  if (lesson_ == Lesson::Tour) return;
  if (keyCode == Key::C) {
    if (lesson_ == Lesson::Practice) SayColumn();
    return;
  }
  Steer(keyCode);
}

void Game::Steer(int32_t keyCode) {
  switch (keyCode) {
    case Key::Space:
      if (state_.FallingNote >= INT32_MIN + kDumpDrop) state_.FallingNote -= kDumpDrop;
      state_.NoteDumped = true;
      state_.FallingNote = RaiseToFloor(state_.FallingNote, field_.BaseLineNote());
      break;
    case Key::Left:
    case Key::Right: {
      const bool left = keyCode == Key::Left;
      const int32_t wall = left ? 1 : kColumns;
      int32_t column = state_.FallingColumn + (left ? -1 : 1);
      if (left ? column < 1 : column > kColumns) {
        // The note stays at the wall, and the wall is heard at the far side.
        state_.FallingColumn = wall;
        voices_.SendPan(left ? 0 : 127, Channel::Drum);
        effects_.PercussionEffect(left ? kLeftWallKey : kRightWallKey, state_.HalfStepFloor);
        break;
      }
      state_.FallingColumn = column;
      if (settings_.FallingNoteMovementSound) {
        voices_.SendPan(ColumnPan(column), Channel::Drum);
        effects_.PercussionEffect(kMoveKey, state_.HalfStepFloor);
      } else {
        voices_.SendPan(ColumnPan(column), Channel::Effect);
        effects_.FallingNoteEcho(state_.FallingNote, state_.HalfStepFloor);
      }
      break;
    }
    case Key::Up:
      state_.FallingColumn = kCentreColumn;
      voices_.SendPan(ColumnPan(kCentreColumn), Channel::Effect);
      effects_.FallingNoteEcho(state_.FallingNote, state_.HalfStepFloor);
      break;
    case Key::Down:
      LowerFallingNote();
      break;
    case Key::P:
      state_.Paused = !state_.Paused;
      // The scan that this press interrupted stands still until a second P, which runs
      // nested in this loop, clears the flag.
      while (state_.Paused) {
        clock_.Yield();
        if (state_.Paused) clock_.WaitMs(kPausePollMs);
      }
      break;
    default:
      break;
  }
}

void Game::LowerFallingNote() {
  if (state_.NoteDumped) return;
  voices_.SendPan(ColumnPan(state_.FallingColumn), Channel::Effect);
  effects_.DropEffectNote(state_.FallingNote, state_.HalfStepFloor);
  // The effect note yielded: another key may have moved the note meanwhile.
  if (state_.FallingDegree > INT32_MIN) state_.FallingDegree -= 1;
  if (state_.FallingDegree == 0) state_.FallingDegree = 7;
  // Before the first note of the run the degree can go below 0; it then reads no scale
  // entry and the note keeps its pitch.
  if (state_.FallingDegree >= 0 && state_.FallingDegree <= 7) {
    if (auto lowered = LoweredNote(state_.FallingNote, state_.ScaleTable[state_.FallingDegree])) {
      state_.FallingNote = *lowered;
    }
  }
  effects_.DropEffectNote(state_.FallingNote, state_.HalfStepFloor);
  effects_.DropEffectNote(1, state_.HalfStepFloor);
  if (state_.FallingNote < field_.BaseLineNote()) {
    state_.NoteDumped = true;
    state_.FallingNote = RaiseToFloor(state_.FallingNote, field_.BaseLineNote());
  }
}

}  // namespace kadeno
