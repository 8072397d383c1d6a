// The help pages' text; the lines keep their blanks as written.
#include <vector>

#include "shell/HelpPages.h"

namespace kadeno {

namespace {
using Page = std::vector<const char*>;

const std::vector<Page>& InstructionPages() {
  static const std::vector<Page> pages = {
      {"  In this brief help area, if you hit yes then I   ",
       "  will move on to the next part.  If you hit no    ",
       "  then I will rewind to the previous part.  If     ",
       "  you hit cancel I will abort this help dialog.    ",
       "  You can hit Y for Yes, N for No or Escape for    ",
       "  cancel.                                          "},
      {"  Kadeno is a musical game of tumbla.  It is   ",
       "  played on a field consisting of two rows on  ",
       "  the ground and a slowly falling note in the   ",
       "  air.  Each row has seven columns.  The two   ",
       "  rows on the ground consist of the last two  ",
       "  notes that have landed within each column.  ",
       "  The playing field is animated by a scanning  ",
       "  action that plays the highest two notes that ",
       "  have been deposited in each column, thus ",
       "  describing the two rows on the ground.   "},
      {"  In adition to the two ground rows, the ",
       "  scanning action also plays the falling note ",
       "  but only at the correct time.  The phase of  ",
       "  the scan in which you hear the falling note  ",
       "  corresponds to the column in which it is  ",
       "  horizontally located.  You can move the  ",
       "  falling note to the left or the right by using  ",
       "  the left or right cursor keys.  You can use  ",
       "  the keys more than once during a scan, so  ",
       "  be careful.  If you hit the cursor up key   ",
       "  that will make the falling note jump to the  ",
       "  center position, so you can know where you are. "},
      {"  Every scan, the falling note gets lower by  ",
       "  one octave.  The falling note lands when  ",
       "  it gets within a certain distance of the  ",
       "  ground row note beneath it.  You can dump ", "  a note by hitting the space bar so that ",
       "  the falling note will land right away, ", "  to get on with the game.  The ground  ",
       "  keeps rising as notes are deposited upon  ",
       "  each other.  You can score vertically by  ",
       "  creating a major or minor chord.  You can  ",
       "  score horizontally by having all the notes  ",
       "  of a scale on your top ground row, but you ",
       "  can not score two scales in a row without ", "  scoring at least one chord in between. "},
      {"  In true tumbla fashion, every combination  ",
       "  that scores will vanish, making the ground  ",
       "  lower again in that spot.  When the ground  ",
       "  reaches up to the octave just below where  ",
       "  the falling notes begin, the round ends.  The  ",
       "  cursor down key makes the note lower by one  ",
       "  octave plus one note on the scale.  As you  ",
       "  progress in the game the action will speed  ",
       "  up gradually.  You get as many rounds per  ", "  game as you can handle.  "},
      {"  Every round goes faster.  How well you did  ",
       "  on your best round creates a base line for  ",
       "  you.  If you score less than half that on any  ",
       "  round then that round was your last and  ",
       "  you are done.  Type the letter P to pause, or ",
       "  type the letter S to hear your score or hit ",
       "  the F1 key for Help.  At the end of the   ",
       "  game if you did well enough your name will  ", "  rank among the Kadeno Masters."},
  };
  return pages;
}

const Page& AboutLines() {
  static const Page lines = {"  It does not interfere with or depend upon any particular ",
                             "  speech that you may have.  It uses only Midi and Wave.",
                             "  It is a tumbla type game that is all sound; there is  ",
                             "  nothing to see, which makes for a level playing field. "};
  return lines;
}

std::string PageText(const Page& page) {
  std::string text;
  for (const char* line : page) text += std::string(line) + "\r\n";
  return text;
}
}  // namespace

void ShowInstructions(Boxes& window) {
  const int lastPage = static_cast<int>(InstructionPages().size());
  int page = 1;
  for (;;) {
    const Answer a = window.MsgBox(PageText(InstructionPages()[page - 1]), Box::YesNoCancel,
                                   std::string("Kadeno Help"));
    if (a == Answer::Cancel) return;
    if (a == Answer::No) {
      if (page > 1) --page;
      continue;
    }
    if (page == lastPage) return;
    ++page;
  }
}

void ShowAbout(Boxes& window) { window.MsgBox(PageText(AboutLines()), Box::Ok, std::nullopt); }

}  // namespace kadeno
