// Help > Hear the Field: a guided tour of the game's sounds for a player who has never
// heard them. Each box says what comes next and OK plays it; Cancel (Escape) leaves at any
// step. The sounds are the game's own (its field, scan, keys and scoring) with the
// player's instruments, volumes and stereo, at the pace of a first round at difficulty 0.
#include "game/Game.h"
#include "game/GameRules.h"
#include "seams/Translate.h"

namespace kadeno {

namespace {

// TRANSLATORS: The title of the boxes of Help > Hear the Field.
constexpr const char* kTourTitle = N_("Hear the Field");

// TRANSLATORS: Hear the Field, first box. OK plays the first column. Keep the line end (\n).
constexpr const char* kTourStart =
    N_("Hear the Field plays the sounds of Kadeno one at a time, with your own instruments, "
       "volumes and stereo settings. Each box says what comes next: press OK to hear it, or "
       "Escape to leave the tour.\n"
       "First the seven columns of the field, one at a time from left to right. Each column "
       "sounds its drum and the base line at its own place between your left and right ear.");

// TRANSLATORS: Hear the Field: each box names the column that sounds after OK.
constexpr const char* kColumnNames[kColumns] = {
    N_("Column 1, at the far left."),     N_("Column 2, on the left."),
    N_("Column 3, left of the centre."),  N_("Column 4, in the centre."),
    N_("Column 5, right of the centre."), N_("Column 6, on the right."),
    N_("Column 7, at the far right.")};

// TRANSLATORS: Hear the Field, before one whole scan.
constexpr const char* kWholeScan =
    N_("Now one whole scan: the seven columns one after another, from left to right. In a game "
       "the scan goes round and round; a higher drum marks columns 3 and 7.");

// TRANSLATORS: Hear the Field, before a scan with the falling note in column 2.
constexpr const char* kFallingIn2 =
    N_("The falling note sounds only in the step of its own column, so when you hear it tells "
       "you where it is. Here it is in column 2: listen for a high note in the second step of "
       "the scan.");

// TRANSLATORS: Hear the Field, before a scan with the falling note in column 6.
constexpr const char* kFallingIn6 =
    N_("Now the falling note is in column 6: it sounds in the sixth step, on your right.");

// TRANSLATORS: Hear the Field, before the moves of the falling note.
constexpr const char* kMoves =
    N_("Each press of Left or Right moves the falling note one column, with a short sound at its "
       "new place; at the edge of the field you hear the wall instead. Here the note goes from "
       "the centre to the left wall, then across to the right wall, and Up makes it jump back to "
       "the centre.");

// TRANSLATORS: Hear the Field, before a chord forms. The note and chord names are the
// ones played: D sharp, F sharp and A sharp make D sharp minor.
constexpr const char* kChord =
    N_("A chord scores when three notes stacked in one column make a major or minor chord. Here "
       "D sharp, F sharp and A sharp land one on another in column 3, the chord of D sharp "
       "minor: you hear each landing, then the chord's fanfare. It scores 20 points, and the "
       "three notes vanish.");

// TRANSLATORS: Hear the Field, before the scale forms across the top row.
constexpr const char* kScale =
    N_("The scale scores when the top notes of the seven columns hold every note of the round's "
       "major scale. Here the seven notes of C sharp major land one in each column, from left to "
       "right, then you hear the scale's fanfare. It scores 50 points, and the top row vanishes. "
       "Two scales in a row need a chord between them.");

// TRANSLATORS: Hear the Field, last box. "Practice" and "Start Game" are the File menu's
// items: name them as that menu does, without the "&".
constexpr const char* kTourEnd =
    N_("That is all the game is made of. Practice, in the File menu, lets you steer a note with "
       "no clock running; Start Game plays for real.");

constexpr int32_t kChordNotes[] = {63, 66, 70};  // D sharp 4, F sharp 4, A sharp 4
constexpr int32_t kScaleOctave = 60;             // the scale's notes from middle C up

}  // namespace

bool Game::TourStep(const char* text, int style) {
  voices_.AllNotesOff();
  if (lessonStopped_) return false;
  const Answer a = boxes_.MsgBox(TrLines(text), style, Tr(kTourTitle));
  return a == Answer::Ok && !lessonStopped_;
}

void Game::HearTheField() {
  if (PutOffUntilPhraseEnds(&Game::HearTheField) || !MayStartLesson()) return;
  LessonScope lesson(*this, Lesson::Tour);
  SetUpLessonField(*StartingHalfStepTime(0));
  state_.FallingColumn = 0;  // no falling note while the columns are heard alone

  if (!TourStep(kTourStart, Box::OkCancel)) return;
  for (int32_t c = 1; c <= kColumns; ++c) {
    if (!TourStep(kColumnNames[c - 1], Box::OkCancel)) return;
    PlayColumn(c);
    HoldStep();
  }
  if (!TourStep(kWholeScan, Box::OkCancel)) return;
  SweepColumns();

  // The note where a game's first scan sounds it.
  const int32_t fallingNote = state_.CeilingNote + state_.ScaleTable[1];
  for (const auto& [column, text] : {std::pair{2, kFallingIn2}, std::pair{6, kFallingIn6}}) {
    if (!TourStep(text, Box::OkCancel)) return;
    state_.FallingColumn = column;
    state_.FallingNote = fallingNote;
    SweepColumns();
  }

  if (!TourStep(kMoves, Box::OkCancel)) return;
  state_.FallingColumn = 4;
  state_.FallingNote = fallingNote;
  for (int32_t key : {Key::Left, Key::Left, Key::Left, Key::Left, Key::Right, Key::Right,
                      Key::Right, Key::Right, Key::Right, Key::Right, Key::Right, Key::Up}) {
    if (lessonStopped_) return;
    Steer(key);
    HoldStep();
  }

  // The landings: each note is heard in its column, lands there and is scored as in a game.
  auto land = [this](int32_t column, int32_t note) {
    state_.FallingColumn = column;
    state_.FallingNote = note;
    PlayColumn(column);
    LandNote(column);
    HoldStep();
  };
  if (!TourStep(kChord, Box::OkCancel)) return;
  for (int32_t note : kChordNotes) {
    if (lessonStopped_) return;
    land(3, note);
  }
  if (!TourStep(kScale, Box::OkCancel)) return;
  for (int32_t c = 1; c <= kColumns; ++c) {
    if (lessonStopped_) return;
    land(c, kScaleOctave + state_.ScaleTable[c]);
  }
  TourStep(kTourEnd, Box::Ok);
}

}  // namespace kadeno
