// MainForm: the game driver. A game runs inside the Start Game command, round after round,
// until a round scores nothing or less than half of the best round; then the hall of fame.
#include "base/Arithmetic.h"
#include "game/GameRules.h"
#include "shell/MainForm.h"

namespace kadeno {

namespace {
constexpr int32_t kFirstKeyNote = 36;
constexpr int32_t kCeilingNote = 84;
constexpr int32_t kHalfStepFloor = 1500;
constexpr double kDifficultySpeedUp = 0.003;
constexpr int32_t kMajorScale[8] = {0, 0, 2, 4, 5, 7, 9, 11};  // degrees 1..7

// Clears a flag however the scope is left: the Exit command ends the program from deep
// inside a game (in the tests, by an exception).
struct ClearOnExit {
  bool& flag;
  ~ClearOnExit() { flag = false; }
};
}  // namespace

void MainForm::mnuFileStartGame_Click() {
  // Every wait of a game serves the menu, so Start Game can be chosen again in mid-game;
  // a game nested in another would leave the outer one playing on the inner one's state.
  if (GameRunning) return;
  GameRunning = true;
  ClearOnExit running{GameRunning};

  if (window.MsgBox("Are you ready?", Box::YesNo, std::string("About to start Game Play")) !=
      Answer::Yes) {
    window.MsgBox("Game Play canceled by user request", Box::Ok, std::nullopt);
    return;
  }
  game.RoundStartScore = 0;
  game.Score = 0;
  game.HalfStepFloor = kHalfStepFloor;
  if (auto start = StartingHalfStepTime(settings.Difficulty)) game.HalfStepTime = *start;
  game.DifficultySpeedUp = kDifficultySpeedUp;
  // This game's score gets its one chance at a place at the end of the game; until then
  // the Hall Of Fame command only reads the list out.
  HallOfFameOffered = true;
  PlayGame();
}

void MainForm::PlayGame() {
  game.KeyNote = kFirstKeyNote;
  int32_t bestRoundScore = 0;
  for (;;) {
    AssignRounded(game.RoundStartScore, game.Score);
    PlayRound();
    int32_t roundScore = 0;
    AssignRounded(roundScore, game.Score - game.RoundStartScore);
    if (roundScore > bestRoundScore) bestRoundScore = roundScore;
    if (!AnotherRound(roundScore, bestRoundScore)) break;
  }
  HallOfFameOffered = false;
  RecordAndShowHallOfFame();
}

void MainForm::PlayRound() {
  StartRound();
  bool roundOver = false;
  while (!roundOver) {
    SpeedUp();
    // The round ends after the scan that follows a ground note passing the ceiling.
    for (int c = 1; c <= kColumns; ++c) {
      for (int r = Row3; r >= Row1; --r) {
        if (game.Field[c][r] > game.CeilingNote) roundOver = true;
      }
    }
    Scan();
  }
  SayScore();
}

void MainForm::StartRound() {
  for (int c = 1; c <= kColumns; ++c) game.ColumnStack[c].clear();
  game.CeilingNote = kCeilingNote;
  if (game.KeyNote < INT32_MAX) ++game.KeyNote;
  game.BaseLineNote = game.KeyNote;
  BuildScaleTable();
  for (int c = 1; c <= kColumns; ++c) {
    game.Field[c][Row1] = game.BaseLineNote;
    game.Field[c][Row2] = game.BaseLineNote;
  }
  NewFallingNote();
}

void MainForm::BuildScaleTable() {
  for (int d = 1; d <= 7; ++d) {
    game.ScaleTable[d] =
        static_cast<int32_t>((static_cast<int64_t>(game.KeyNote) + kMajorScale[d]) % 12);
  }
}

void MainForm::NewFallingNote() {
  // The new note starts where the last one ended, as the keys left it.
  game.FallingColumn = NextStartColumn(game.FallingColumn);
  game.FallingDegree = NextDegree(game.FallingDegree);
  // A degree left negative by presses of Down before the first note of the run reads no
  // scale entry; the note keeps its pitch and the degree comes back within three notes.
  if (game.FallingDegree >= 0 && game.FallingDegree <= 7) {
    game.FallingNote = game.CeilingNote + game.ScaleTable[game.FallingDegree] + 12;
  }
  game.NewNotePending = true;
}

void MainForm::SayScore() {
  window.MsgBox("Your score is " + FormatScore(game.Score), Box::Ok, std::nullopt);
}

}  // namespace kadeno
