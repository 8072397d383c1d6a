// What the tour, practice and the sound of a stored setting share: a field of their own,
// the first round's key, and a pace of their own. Each runs like a game inside its
// command, with keys and menus served in its waits.
#include "game/Game.h"
#include "game/GameRules.h"
#include "seams/Translate.h"

namespace kadeno {

Game::LessonScope::LessonScope(Game& game, Lesson lesson)
    : game_(game), state_(game.state_), field_(game.field_) {
  game_.running_ = true;
  game_.lesson_ = lesson;
  game_.lessonStopped_ = false;
}

Game::LessonScope::~LessonScope() {
  game_.voices_.AllNotesOff();
  game_.state_ = state_;
  game_.field_ = field_;
  game_.running_ = false;
  game_.lesson_ = Lesson::None;
  game_.lessonStopped_ = false;
}

bool Game::PutOffUntilPhraseEnds(void (Game::*command)()) {
  if (lesson_ != Lesson::Phrase) return false;
  lessonStopped_ = true;
  afterPhrase_ = command;
  return true;
}

bool Game::MayStartLesson() {
  if (!running_) return true;
  // TRANSLATORS: Help > Hear the Field or File > Practice chosen while a game (or the tour,
  // or practice) runs.
  boxes_.MsgBox(Tr("Hear the Field and Practice can start when the game is over."), Box::Ok,
                std::nullopt);
  return false;
}

bool Game::StopLesson() {
  if (lesson_ != Lesson::Tour && lesson_ != Lesson::Practice) return false;
  lessonStopped_ = true;
  state_.Paused = false;  // a paused practice ends too
  return true;
}

void Game::SetUpLessonField(int32_t halfStepTime) {
  state_ = GameState{};
  state_.HalfStepTime = halfStepTime;
  state_.HalfStepFloor = kHalfStepFloor;
  state_.KeyNote = kFirstKeyNote;  // StartRound moves it up: C sharp major
  StartRound();
}

void Game::HoldStep() {
  HalfStepWait();
  HalfStepWait();
  voices_.AllNotesOff();
}

}  // namespace kadeno
