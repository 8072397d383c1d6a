// File > Practice: the field of a game with no clock. The falling note keeps its pitch
// until the player lowers or drops it, the scan sweeps at the pace of a first round at
// difficulty 0, and every key of a game works. After each landing a box says where the
// note landed and what its column now holds. There are no rounds, no speed-up and no end:
// Escape ends practice, and nothing of it is saved.
#include <string>

#include "game/Game.h"
#include "game/GameRules.h"
#include "seams/Translate.h"

namespace kadeno {

namespace {

// TRANSLATORS: The title of Practice's boxes (File > Practice).
constexpr const char* kPracticeTitle = N_("Practice");

// TRANSLATORS: The box that opens File > Practice: OK starts, Cancel does not. Name the keys
// as a player finds them; C is the practice key that says the column. Keep the line ends (\n).
constexpr const char* kPracticeHelp =
    N_("Practice is the field of a game with no clock: the falling note keeps its pitch until "
       "you lower it with the Down key or drop it with the Space bar.\n"
       "Left and Right move it, Up brings it to the centre, P pauses and S says your practice "
       "score. Press C to hear which column the note is in.\n"
       "After each landing a box says where the note landed and what its column holds. Nothing "
       "is saved. Press Escape to end practice.");

// TRANSLATORS: A note's name in Practice's boxes (sharps only, as the game spells them).
constexpr const char* kNoteNames[12] = {N_("C"),       N_("C sharp"), N_("D"),       N_("D sharp"),
                                        N_("E"),       N_("F"),       N_("F sharp"), N_("G"),
                                        N_("G sharp"), N_("A"),       N_("A sharp"), N_("B")};

std::string NoteName(int32_t note) { return Tr(kNoteNames[((note % 12) + 12) % 12]); }

std::string Number(int32_t n) { return std::to_string(n); }

}  // namespace

void Game::Practice() {
  if (PutOffUntilPhraseEnds(&Game::Practice) || !MayStartLesson()) return;
  LessonScope lesson(*this, Lesson::Practice);
  if (boxes_.MsgBox(TrLines(kPracticeHelp), Box::OkCancel, Tr(kPracticeTitle)) != Answer::Ok) {
    return;
  }
  SetUpLessonField(*StartingHalfStepTime(0));
  // Practice's score may have no place: the Hall Of Fame command only reads the list out.
  hallOfFame_.HoldOfferUntilGameEnd();
  while (!lessonStopped_) {
    const double before = state_.Score;
    PracticeScan();
    if (state_.NoteLanded && !lessonStopped_) SayLanding(landedColumn_, state_.Score - before);
    if (field_.AboveCeiling(state_.CeilingNote) && !lessonStopped_) {
      voices_.AllNotesOff();
      // TRANSLATORS: Practice: the ground passed the ceiling, where a game's round would end.
      boxes_.MsgBox(Tr("The ground has reached the ceiling: the field starts afresh."), Box::Ok,
                    Tr(kPracticeTitle));
      field_.StartRound(state_.KeyNote);
    }
  }
}

void Game::PracticeScan() {
  if (state_.NoteLanded) NewFallingNote();
  state_.NoteLanded = false;
  const bool fresh = state_.NewNotePending;
  if (fresh) {
    state_.NoteDumped = false;
    state_.NewNotePending = false;
  }
  // A new note (the first, or one made after a landing) takes the pitch a game's first scan
  // gives it, and a dropped one goes on down as in a game until it lands; otherwise the
  // note stays where the player left it.
  if ((fresh || state_.NoteDumped) && state_.FallingNote >= INT32_MIN + 12) {
    state_.FallingNote -= 12;
  }
  ScanPause();
  SweepColumns();
}

void Game::SayLanding(int32_t column, double pointsScored) {
  voices_.AllNotesOff();
  const std::string c = Number(column);
  // TRANSLATORS: Practice, after a landing; %1 is the column, 1 to 7.
  std::string text = Format(Tr("The note landed in column %1."), {c});
  if (pointsScored > 0) {
    const std::string points = FormatScore(pointsScored);
    text += "\r\n" + (state_.LastScoreWasScale
                          // TRANSLATORS: Practice: the landing made the scale; %1 is the points.
                          ? Format(Tr("The scale scored %1 points."), {points})
                          // TRANSLATORS: Practice: the landing made a chord; %1 is the points.
                          : Format(Tr("A chord scored %1 points."), {points}));
  }
  const int32_t floor = field_.BaseLineNote();
  std::string held;
  for (int row = Row1; row <= Row2; ++row) {
    const int32_t note = field_.At(column, row);
    if (note == floor || note == 0) continue;
    held += (held.empty() ? "" : ", ") + NoteName(note);
  }
  text += "\r\n" + (held.empty()
                        // TRANSLATORS: Practice: the column has no note above the floor.
                        ? Format(Tr("Column %1 is empty."), {c})
                        // TRANSLATORS: Practice: %1 is the column; %2 its notes, lowest first.
                        : Format(Tr("Column %1 now holds %2."), {c, held}));
  // The chord test of the next landing: the two ground notes and the landed one.
  std::string completing;
  for (int32_t cls = 0; cls < 12; ++cls) {
    if (ChordRootOf(field_.At(column, Row1) % 12, field_.At(column, Row2) % 12, cls)) {
      completing += (completing.empty() ? "" : ", ") + NoteName(cls);
    }
  }
  if (!completing.empty()) {
    // TRANSLATORS: Practice: %1 lists the notes that would complete a chord in that column.
    text += "\r\n" + Format(Tr("One more note would make a chord here: %1."), {completing});
  }
  boxes_.MsgBox(text, Box::Ok, Tr(kPracticeTitle));
}

void Game::SayColumn() {
  voices_.EndPitchedNotes();
  // TRANSLATORS: Practice, the C key; %1 is the column, 1 to 7.
  boxes_.MsgBox(Format(Tr("The falling note is in column %1."), {Number(state_.FallingColumn)}),
                Box::Ok, Tr(kPracticeTitle));
}

}  // namespace kadeno
