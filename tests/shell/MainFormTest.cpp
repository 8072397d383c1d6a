// Start-up (the help pages, then the stereo table from the loaded settings), the About box,
// and the hall of fame at a game's end.
#include <gtest/gtest.h>

#include "shell/HelpPages.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(StartUp, HelpPagesThenTheStereoTableFromTheLoadedSettings) {
  Harness h;
  h.window.files[h.SettingsPath()] =
      "StereoWide = 40\r\nStereoCurve = 30\r\nStereoBalance = 60\r\n";
  for (Answer a : {Answer::No, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes, Answer::Yes,
                   Answer::Yes, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes})
    h.window.Reply(a);
  h.form.Form_Load();
  EXPECT_TRUE(h.form.settings().Stereo);
  // Wide 40, curve 30, balance 60: the left column (nominal 0) sits at 45, the right
  // column (126) at 101.
  h.form.voices().SendPan(0, Channel::Drum);
  h.form.voices().SendPan(126, Channel::Drum);
  EXPECT_EQ(h.audio.Hex(), (std::vector<std::string>{"B9 0A 2D", "B9 0A 65"}));

  h.window.Reply(Answer::Cancel);  // a new call starts at page 1 again
  ShowInstructions(h.window);
  std::vector<std::string> pages;  // in the order first shown
  std::vector<int> shown, lines;
  for (const BoxRecord& b : h.window.boxes) {
    auto at = std::find(pages.begin(), pages.end(), b.prompt);
    if (at == pages.end()) {
      at = pages.insert(at, b.prompt);
      lines.push_back(std::count(b.prompt.begin(), b.prompt.end(), '\n'));
    }
    shown.push_back(at - pages.begin() + 1);
    EXPECT_EQ(std::tuple(b.style, b.title, b.prompt.substr(b.prompt.size() - 2)),
              std::tuple(Box::YesNoCancel, "Kadeno Help", "\r\n"));
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 1, 2, 1, 2, 3, 4, 5, 6, 5, 6, 1}));
  EXPECT_EQ(lines, (std::vector<int>{6, 10, 12, 14, 10, 9}));

  h.window.Reply(Answer::Ok, "  It does not interfere with or depend upon");
  ShowAbout(h.window);
  EXPECT_EQ(std::pair(h.window.boxes.back().style, h.window.boxes.back().title),
            std::pair(Box::Ok, std::optional<std::string>()));
}

TEST(HallOfFame, TiesGoBelowAndTheFifthPlaceIsListed) {
  Harness h;
  const std::string heading = "Here is the Kadeno Masters Hall of Fame:\r\n";
  // The level is kept in the tenths (level 0 as .05).
  h.form.settings().HallOfFame = {{{500.4, "a"}, {400, "b"}, {300.9, "c"}, {200, "d"}, {100, "e"}}};
  h.window.Reply(Answer::Ok, "With practice, you will soon rank among the Kadeno Masters!");
  h.window.Reply(Answer::Ok, heading);
  h.form.hallOfFame().OfferAtGameEnd(100);  // no better than place 5: no name asked
  h.window.Type("", "Please enter your name for the Hall of Fame");
  h.window.Reply(Answer::Ok, heading);
  h.form.settings().Difficulty = 0;
  h.form.hallOfFame().OfferAtGameEnd(400);
  EXPECT_EQ(h.window.boxes.back().prompt,
            heading +
                "First Place, with 500 points is a at a difficulty level of  5\r\n"
                "Second Place, with 400 points is b at a difficulty level of  1\r\n"
                "Third Place, with 400 points is  at a difficulty level of  0\r\n"
                "Fourth Place, with 300 points is c at a difficulty level of  10\r\n"
                "Fifth Place, with 200 points is d at a difficulty level of  1\r\n");
  EXPECT_EQ(h.window.writes, 2);
}

}  // namespace
}  // namespace kadeno::test
