// The help pages' text; the English lines keep their blanks as written.
#include <array>

#include "seams/Translate.h"
#include "shell/HelpPages.h"

namespace kadeno {

namespace {

constexpr std::array<const char*, 6> kInstructionPages = {
    // TRANSLATORS: Help page 1 of 6, shown as one box with Yes (next page), No
    // (previous page) and Cancel; name the keys as the box's buttons name them.
    // Keep a line end (\n) after every line, the last one too; the blanks that
    // pad the English lines need not be kept.
    N_("  In this brief help area, if you hit yes then I   \n"
       "  will move on to the next part.  If you hit no    \n"
       "  then I will rewind to the previous part.  If     \n"
       "  you hit cancel I will abort this help dialog.    \n"
       "  You can hit Y for Yes, N for No or Escape for    \n"
       "  cancel.                                          \n"),
    // TRANSLATORS: Help page 2 of 6, shown as one box with Yes (next page), No
    // (previous page) and Cancel. Keep a line end (\n) after every line, the last
    // one too; the blanks that pad the English lines need not be kept.
    N_("  Kadeno is a musical game of tumbla.  It is   \n"
       "  played on a field consisting of two rows on  \n"
       "  the ground and a slowly falling note in the   \n"
       "  air.  Each row has seven columns.  The two   \n"
       "  rows on the ground consist of the last two  \n"
       "  notes that have landed within each column.  \n"
       "  The playing field is animated by a scanning  \n"
       "  action that plays the highest two notes that \n"
       "  have been deposited in each column, thus \n"
       "  describing the two rows on the ground.   \n"),
    // TRANSLATORS: Help page 3 of 6, shown as one box with Yes (next page), No
    // (previous page) and Cancel. Keep a line end (\n) after every line, the last
    // one too; the blanks that pad the English lines need not be kept.
    N_("  In adition to the two ground rows, the \n"
       "  scanning action also plays the falling note \n"
       "  but only at the correct time.  The phase of  \n"
       "  the scan in which you hear the falling note  \n"
       "  corresponds to the column in which it is  \n"
       "  horizontally located.  You can move the  \n"
       "  falling note to the left or the right by using  \n"
       "  the left or right cursor keys.  You can use  \n"
       "  the keys more than once during a scan, so  \n"
       "  be careful.  If you hit the cursor up key   \n"
       "  that will make the falling note jump to the  \n"
       "  center position, so you can know where you are. \n"),
    // TRANSLATORS: Help page 4 of 6, shown as one box with Yes (next page), No
    // (previous page) and Cancel. Keep a line end (\n) after every line, the last
    // one too; the blanks that pad the English lines need not be kept.
    N_("  Every scan, the falling note gets lower by  \n"
       "  one octave.  The falling note lands when  \n"
       "  it gets within a certain distance of the  \n"
       "  ground row note beneath it.  You can dump \n"
       "  a note by hitting the space bar so that \n"
       "  the falling note will land right away, \n"
       "  to get on with the game.  The ground  \n"
       "  keeps rising as notes are deposited upon  \n"
       "  each other.  You can score vertically by  \n"
       "  creating a major or minor chord.  You can  \n"
       "  score horizontally by having all the notes  \n"
       "  of a scale on your top ground row, but you \n"
       "  can not score two scales in a row without \n"
       "  scoring at least one chord in between. \n"),
    // TRANSLATORS: Help page 5 of 6, shown as one box with Yes (next page), No
    // (previous page) and Cancel. Keep a line end (\n) after every line, the last
    // one too; the blanks that pad the English lines need not be kept.
    N_("  In true tumbla fashion, every combination  \n"
       "  that scores will vanish, making the ground  \n"
       "  lower again in that spot.  When the ground  \n"
       "  reaches up to the octave just below where  \n"
       "  the falling notes begin, the round ends.  The  \n"
       "  cursor down key makes the note lower by one  \n"
       "  octave plus one note on the scale.  As you  \n"
       "  progress in the game the action will speed  \n"
       "  up gradually.  You get as many rounds per  \n"
       "  game as you can handle.  \n"),
    // TRANSLATORS: Help page 6 of 6, shown as one box with Yes (next page), No
    // (previous page) and Cancel. Keep a line end (\n) after every line, the last
    // one too; the blanks that pad the English lines need not be kept.
    N_("  Every round goes faster.  How well you did  \n"
       "  on your best round creates a base line for  \n"
       "  you.  If you score less than half that on any  \n"
       "  round then that round was your last and  \n"
       "  you are done.  Type the letter P to pause, or \n"
       "  type the letter S to hear your score or hit \n"
       "  the F1 key for Help.  At the end of the   \n"
       "  game if you did well enough your name will  \n"
       "  rank among the Kadeno Masters.\n"),
};

}  // namespace

void ShowInstructions(Boxes& window) {
  const int lastPage = static_cast<int>(kInstructionPages.size());
  int page = 1;
  for (;;) {
    const Answer a = window.MsgBox(TrLines(kInstructionPages[page - 1]), Box::YesNoCancel,
                                   // TRANSLATORS: The title of the help pages' boxes.
                                   Tr("Kadeno Help"));
    if (a == Answer::Cancel) return;
    if (a == Answer::No) {
      if (page > 1) --page;
      continue;
    }
    if (page == lastPage) return;
    ++page;
  }
}

void ShowAbout(Boxes& window) {
  // TRANSLATORS: Help > About. Keep a line end (\n) after every line, the last one too;
  // the blanks that pad the English lines need not be kept.
  window.MsgBox(TrLines("  It does not interfere with or depend upon any particular \n"
                        "  speech that you may have.  It uses only Midi and Wave.\n"
                        "  It is a tumbla type game that is all sound; there is  \n"
                        "  nothing to see, which makes for a level playing field. \n"),
                Box::Ok, std::nullopt);
}

}  // namespace kadeno
