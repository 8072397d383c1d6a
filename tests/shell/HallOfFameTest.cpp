// The hall of fame at a game's end: the offer of a place, the listing and the save.
#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

constexpr const char* kHeading = "Here is the Kadeno Masters Hall of Fame:\r\n";

struct HallOfFame : ::testing::Test {
  Harness h;
  // A game's end at this level: the player is asked for a name and types it, or is told to
  // practise when name is nullopt; then the listing, which is returned.
  std::string GameEnds(double score, int32_t level, std::optional<std::string> name) {
    if (name)
      h.window.Type(*name, "Please enter your name for the Hall of Fame");
    else
      h.window.Reply(Answer::Ok, "With practice, you will soon rank among the Kadeno Masters!");
    h.window.Reply(Answer::Ok, kHeading);
    h.form.settings().Difficulty = level;
    h.form.hallOfFame().OfferAtGameEnd(score);
    return h.window.boxes.back().prompt;
  }
};

TEST_F(HallOfFame, ANewPlaceIsListedAndSaved) {
  h.form.settings().HallOfFame[0] = {1230.4, "Ace"};  // level 5 in the tenths
  h.form.settings().HallOfFame[1] = {870, "Bee"};
  EXPECT_EQ(GameEnds(900, 2, "Cat"),
            std::string(kHeading) +
                "First Place, with 1230 points is Ace at a difficulty level of  5\r\n"
                "Second Place, with 900 points is Cat at a difficulty level of  2\r\n"
                "Third Place, with 870 points is Bee at a difficulty level of  1\r\n");
  EXPECT_EQ(h.window.writes, 1);
}

TEST_F(HallOfFame, TiesGoBelow) {
  const double scores[] = {500, 400, 300, 200, 100};
  for (int i = 0; i < 5; ++i) h.form.settings().HallOfFame[i] = {scores[i], {char('a' + i)}};
  GameEnds(100, 2, std::nullopt);  // equal to place 5: not good enough
  EXPECT_EQ(h.form.settings().HallOfFame[4].Score, 100);
  const std::string listing = GameEnds(400, 2, "f");  // pushes place 5 out
  const double after[5] = {500, 400, 400.1, 300, 200};
  for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(h.form.settings().HallOfFame[i].Score, after[i]);
  EXPECT_EQ(listing.substr(listing.rfind("Fifth")),
            "Fifth Place, with 200 points is d at a difficulty level of  1\r\n");
  EXPECT_EQ(h.window.writes, 2);
}

TEST_F(HallOfFame, ACancelledNameAndLevelZero) {
  GameEnds(120, 0, "");
  // The same points at level 10 rank below level 0, which is stored as 120.05.
  EXPECT_EQ(GameEnds(120, 10, "Max"),
            std::string(kHeading) +
                "First Place, with 120 points is  at a difficulty level of  0\r\n"
                "Second Place, with 120 points is Max at a difficulty level of  10\r\n");
}

}  // namespace
}  // namespace kadeno::test
