// The game driver. A game runs inside the Start Game command, round after round,
// until a round scores nothing or less than half of the best round; then the hall of fame.
#include "base/Arithmetic.h"
#include "game/Game.h"
#include "game/GameRules.h"
#include "seams/Translate.h"

namespace kadeno {

namespace {
constexpr int32_t kCeilingNote = 84;
constexpr double kDifficultySpeedUp = 0.003;
constexpr int32_t kMajorScale[8] = {0, 0, 2, 4, 5, 7, 9, 11};  // degrees 1..7

// Clears a flag however the scope is left: the Exit command ends the program from deep
// inside a game (in the tests, by an exception).
struct ClearOnExit {
  bool& flag;
  ~ClearOnExit() { flag = false; }
};
}  // namespace

Game::Game(Boxes& boxes, EventClock& clock, Voices& voices, const Settings& settings,
           HallOfFame& hallOfFame)
    : boxes_(boxes),
      clock_(clock),
      voices_(voices),
      settings_(settings),
      hallOfFame_(hallOfFame),
      effects_(clock, voices, settings) {}

void Game::StartGame() {
  if (PutOffUntilPhraseEnds(&Game::StartGame)) return;
  // Every wait of a game serves the menu, so Start Game can be chosen again in mid-game;
  // a game nested in another would leave the outer one playing on the inner one's state.
  if (running_) return;
  running_ = true;
  ClearOnExit running{running_};

  // TRANSLATORS: The question before a game starts.
  const Answer ready = boxes_.MsgBox(Tr("Are you ready?"), Box::YesNo,
                                     // TRANSLATORS: The title of the box that asks it.
                                     Tr("About to start Game Play"));
  if (ready != Answer::Yes) {
    boxes_.MsgBox(Tr("Game Play canceled by user request"), Box::Ok, std::nullopt);
    return;
  }
  state_.RoundStartScore = 0;
  state_.Score = 0;
  state_.HalfStepFloor = kHalfStepFloor;
  if (auto start = StartingHalfStepTime(settings_.Difficulty)) state_.HalfStepTime = *start;
  state_.DifficultySpeedUp = kDifficultySpeedUp;
  // This game's score gets its one chance at a place at the end of the game; until then
  // the Hall Of Fame command only reads the list out.
  hallOfFame_.HoldOfferUntilGameEnd();
  PlayGame();
}

void Game::PlayGame() {
  state_.KeyNote = kFirstKeyNote;
  int32_t bestRoundScore = 0;
  for (;;) {
    AssignRounded(state_.RoundStartScore, state_.Score);
    PlayRound();
    int32_t roundScore = 0;
    AssignRounded(roundScore, state_.Score - state_.RoundStartScore);
    if (roundScore > bestRoundScore) bestRoundScore = roundScore;
    if (!AnotherRound(roundScore, bestRoundScore)) break;
  }
  hallOfFame_.OfferAtGameEnd(state_.Score);
}

void Game::PlayRound() {
  StartRound();
  bool roundOver = false;
  while (!roundOver) {
    SpeedUp();
    // The round ends after the scan that follows a ground note passing the ceiling.
    if (field_.AboveCeiling(state_.CeilingNote)) roundOver = true;
    Scan();
  }
  SayScore();
}

void Game::StartRound() {
  state_.CeilingNote = kCeilingNote;
  if (state_.KeyNote < INT32_MAX) ++state_.KeyNote;
  field_.StartRound(state_.KeyNote);
  BuildScaleTable();
  NewFallingNote();
}

void Game::BuildScaleTable() {
  for (int d = 1; d <= 7; ++d) {
    state_.ScaleTable[d] =
        static_cast<int32_t>((static_cast<int64_t>(state_.KeyNote) + kMajorScale[d]) % 12);
  }
}

void Game::NewFallingNote() {
  // The new note starts where the last one ended, as the keys left it.
  state_.FallingColumn = NextStartColumn(state_.FallingColumn);
  state_.FallingDegree = NextDegree(state_.FallingDegree);
  // A degree left negative by presses of Down before the first note of the run reads no
  // scale entry; the note keeps its pitch and the degree comes back within three notes.
  if (state_.FallingDegree >= 0 && state_.FallingDegree <= 7) {
    state_.FallingNote = state_.CeilingNote + state_.ScaleTable[state_.FallingDegree] + 12;
  }
  state_.NewNotePending = true;
}

void Game::SayScore() {
  // TRANSLATORS: The S key during a game; %1 is the score, a number.
  boxes_.MsgBox(Format(Tr("Your score is %1"), {FormatScore(state_.Score)}), Box::Ok, std::nullopt);
}

}  // namespace kadeno
