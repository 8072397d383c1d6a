// MainForm: the key handler. It steers the falling note and sounds every move at once, so
// that a player who sees nothing hears where the note went. During a game it runs inside
// a yield of the scan; the effect notes yield again, so a press may run inside another.
#include "game/GameRules.h"
#include "shell/MainForm.h"

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

void MainForm::Form_KeyDown(int32_t keyCode, int32_t shift) {
  switch (keyCode) {
    case Key::Escape:
      if (window.MsgBox("Do you really want to quit?", Box::YesNo, std::nullopt) == Answer::Yes) {
        mnuFileExit_Click();
      }
      break;
    case Key::Space:
      if (game.FallingNote >= INT32_MIN + kDumpDrop) game.FallingNote -= kDumpDrop;
      game.NoteDumped = true;
      game.FallingNote = RaiseToFloor(game.FallingNote, game.BaseLineNote);
      break;
    case Key::Left:
    case Key::Right: {
      const bool left = keyCode == Key::Left;
      const int32_t wall = left ? 1 : kColumns;
      int32_t column = game.FallingColumn + (left ? -1 : 1);
      if (left ? column < 1 : column > kColumns) {
        // The note stays at the wall, and the wall is heard at the far side.
        game.FallingColumn = wall;
        SendPan(left ? 0 : 127, Channel::Drum);
        PercussionEffect(left ? kLeftWallKey : kRightWallKey);
        break;
      }
      game.FallingColumn = column;
      if (settings.FallingNoteMovementSound) {
        SendPan(ColumnPan(column), Channel::Drum);
        PercussionEffect(kMoveKey);
      } else {
        SendPan(ColumnPan(column), Channel::Effect);
        FallingNoteEcho();
      }
      break;
    }
    case Key::Up:
      game.FallingColumn = kCentreColumn;
      SendPan(ColumnPan(kCentreColumn), Channel::Effect);
      FallingNoteEcho();
      break;
    case Key::Down:
      LowerFallingNote();
      break;
    case Key::P:
      game.Paused = !game.Paused;
      // The scan that this press interrupted stands still until a second P, which runs
      // nested in this loop, clears the flag.
      while (game.Paused) {
        window.Yield();
        if (game.Paused) window.WaitMs(kPausePollMs);
      }
      break;
    case Key::S:
      SayScore();
      break;
    case Key::F1:
      ShowInstructions();
      break;
    case Key::F4:
      if ((shift & Key::AltMask) == 0) break;
      AllNotesOff();
      StopAllSound();
      SaveSettings();
      window.EndProgram();
    default:
      break;
  }
}

void MainForm::LowerFallingNote() {
  if (game.NoteDumped) return;
  SendPan(ColumnPan(game.FallingColumn), Channel::Effect);
  DropEffectNote(game.FallingNote);
  // The effect note yielded: another key may have moved the note meanwhile.
  if (game.FallingDegree > INT32_MIN) game.FallingDegree -= 1;
  if (game.FallingDegree == 0) game.FallingDegree = 7;
  // Before the first note of the run the degree can go below 0; it then reads no scale
  // entry and the note keeps its pitch.
  if (game.FallingDegree >= 0 && game.FallingDegree <= 7) {
    if (auto lowered = LoweredNote(game.FallingNote, game.ScaleTable[game.FallingDegree])) {
      game.FallingNote = *lowered;
    }
  }
  DropEffectNote(game.FallingNote);
  DropEffectNote(1);
  if (game.FallingNote < game.BaseLineNote) {
    game.NoteDumped = true;
    game.FallingNote = RaiseToFloor(game.FallingNote, game.BaseLineNote);
  }
}

}  // namespace kadeno
