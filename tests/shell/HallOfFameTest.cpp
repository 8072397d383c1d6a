#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

constexpr const char* kHeading = "Here is the Kadeno Masters Hall of Fame:\r\n";
constexpr const char* kPractice = "With practice, you will soon rank among the Kadeno Masters!";
constexpr const char* kAsk = "Please enter your name for the Hall of Fame";

struct Places : ::testing::Test {
  Harness h;
  void Set(std::initializer_list<HallOfFameEntry> places) {
    int i = 0;
    for (const auto& p : places) h.form.settings().HallOfFame[i++] = p;
  }
  // A game's end: its score gets its chance, then the listing.
  void GameEnds(double score, int32_t difficulty) {
    h.form.settings().Difficulty = difficulty;
    h.form.hallOfFame().OfferAtGameEnd(score);
  }
  std::string Listing() const { return h.window.boxes.back().prompt; }
};

TEST_F(Places, WorkedExample) {
  Set({{1230.4, "Ace"}, {870, "Bee"}});
  h.window.Type("Cat", kAsk);
  h.window.Reply(Answer::Ok, kHeading);
  GameEnds(900, 2);
  EXPECT_EQ(Listing(), std::string(kHeading) +
                           "First Place, with 1230 points is Ace at a difficulty level of  5\r\n"
                           "Second Place, with 900 points is Cat at a difficulty level of  2\r\n"
                           "Third Place, with 870 points is Bee at a difficulty level of  1\r\n");
  EXPECT_EQ(h.window.writes, 1);
}

TEST_F(Places, FullHall) {
  Set({{500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}});
  h.window.Reply(Answer::Ok, kPractice);
  h.window.Reply(Answer::Ok, kHeading);
  GameEnds(100, 2);  // equal to place 5: no prompt, the practice message, nothing changes
  EXPECT_EQ(h.form.settings().HallOfFame[4].Score, 100);

  h.window.Type("f", kAsk);
  h.window.Reply(Answer::Ok, kHeading);
  GameEnds(400, 2);  // ties with place 2, goes below it, and pushes place 5 out
  const double after[5] = {500, 400, 400.1, 300, 200};
  for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(h.form.settings().HallOfFame[i].Score, after[i]);
  EXPECT_EQ(Listing().substr(Listing().rfind("Fifth")),
            "Fifth Place, with 200 points is d at a difficulty level of  1\r\n");
  EXPECT_EQ(h.window.writes, 2);
}

TEST_F(Places, CancelledNameAndLevelZero) {
  h.window.Type("", kAsk);  // Cancel
  h.window.Reply(Answer::Ok, kHeading);
  GameEnds(120, 0);
  EXPECT_EQ(Listing(), std::string(kHeading) +
                           "First Place, with 120 points is  at a difficulty level of  0\r\n");

  // A later game of the same points, at level 10, ranks below the level-0 entry.
  h.window.Type("Max", kAsk);
  h.window.Reply(Answer::Ok, kHeading);
  GameEnds(120, 10);
  EXPECT_EQ(Listing(), std::string(kHeading) +
                           "First Place, with 120 points is  at a difficulty level of  0\r\n"
                           "Second Place, with 120 points is Max at a difficulty level of  10\r\n");
}

}  // namespace
}  // namespace kadeno::test
