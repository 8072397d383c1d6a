#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

constexpr const char* kHeading = "Here is the Kadeno Masters Hall of Fame:\r\n";
constexpr const char* kPractice = "With practice, you will soon rank among the Kadeno Masters!";
constexpr const char* kAsk = "Please enter your name for the Hall of Fame";

struct HallOfFame : ::testing::Test {
  Harness h;
  void Places(std::initializer_list<HallOfFameEntry> places) {
    int i = 0;
    for (const auto& p : places) h.form.settings.HallOfFame[i++] = p;
  }
  void Game(double score, int32_t difficulty) {
    h.form.game.Score = score;
    h.form.settings.Difficulty = difficulty;
  }
  std::string Listing() const { return h.window.boxes.back().prompt; }
};

TEST_F(HallOfFame, WorkedExample) {
  Places({{1230.4, "Ace"}, {870, "Bee"}});
  Game(900, 2);
  h.window.Type("Cat", kAsk);
  h.window.Reply(Answer::Ok, kHeading);
  h.form.RecordAndShowHallOfFame();
  EXPECT_EQ(Listing(), std::string(kHeading) +
                           "First Place, with 1230 points is Ace at a difficulty level of  5\r\n"
                           "Second Place, with 900 points is Cat at a difficulty level of  2\r\n"
                           "Third Place, with 870 points is Bee at a difficulty level of  1\r\n");
  EXPECT_EQ(h.window.writes, 1);
  EXPECT_EQ(h.window.boxes.back().style, Box::Ok);
  EXPECT_EQ(h.window.boxes.back().title, std::nullopt);
}

TEST_F(HallOfFame, PlacesAndPrompts) {
  struct Case {
    double score;
    std::vector<HallOfFameEntry> before;
    bool asked;
    std::vector<double> after;  // the five score values
  };
  const std::vector<Case> cases = {
      // Equal points go below the place that holds them.
      {870, {{870, "Bee"}}, true, {870, 870.1}},
      // Hall full, equal to place 5: no prompt, the practice message, nothing changes.
      {100,
       {{500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}},
       false,
       {500, 400, 300, 200, 100}},
      // A new best pushes everyone down and drops place 5.
      {600,
       {{500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}},
       true,
       {600.1, 500, 400, 300, 200}},
      // Before any game: score 0 earns nothing.
      {0, {}, false, {0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Harness fresh;
    for (size_t i = 0; i < 5; ++i) {
      fresh.form.settings.HallOfFame[i] = i < c.before.size() ? c.before[i] : HallOfFameEntry{};
    }
    fresh.form.game.Score = c.score;
    fresh.form.settings.Difficulty = 2;
    if (c.asked) fresh.window.Type("Z", kAsk);
    if (!c.asked) fresh.window.Reply(Answer::Ok, kPractice);
    fresh.window.Reply(Answer::Ok);
    fresh.form.RecordAndShowHallOfFame();
    for (size_t i = 0; i < 5; ++i) {
      EXPECT_DOUBLE_EQ(fresh.form.settings.HallOfFame[i].Score, i < c.after.size() ? c.after[i] : 0)
          << c.score << " place " << i + 1;
    }
    EXPECT_EQ(fresh.window.PendingReplies(), 0u) << c.score;
    EXPECT_EQ(fresh.window.writes, 1) << c.score;
  }
}

TEST_F(HallOfFame, CancelledNameAndLevelZero) {
  Game(120, 0);
  h.window.Type("", kAsk);  // Cancel
  h.window.Reply(Answer::Ok, kHeading);
  h.form.RecordAndShowHallOfFame();
  EXPECT_EQ(Listing(), std::string(kHeading) +
                           "First Place, with 120 points is  at a difficulty level of  0\r\n");

  // A later game of the same points, at level 10, ranks below the level-0 entry.
  h.form.HallOfFameOffered = false;
  Game(120, 10);
  h.window.Type("Max", kAsk);
  h.window.Reply(Answer::Ok, kHeading);
  h.form.RecordAndShowHallOfFame();
  EXPECT_EQ(Listing(), std::string(kHeading) +
                           "First Place, with 120 points is  at a difficulty level of  0\r\n"
                           "Second Place, with 120 points is Max at a difficulty level of  10\r\n");
}

TEST_F(HallOfFame, OfferedScoreIsOnlyReadOut) {
  // After a game's own offer (and during a game) the menu command lists and never asks,
  // however well the score would rank.
  Places({{300, "a"}});
  Game(500, 1);
  h.form.HallOfFameOffered = true;
  h.window.Reply(Answer::Ok, kHeading);
  h.form.mnuFileHallOfFame_Click();
  EXPECT_EQ(h.window.boxes.size(), 1u);
  EXPECT_EQ(h.form.settings.HallOfFame[1].Score, 0);
  EXPECT_EQ(h.window.writes, 1);
}

}  // namespace
}  // namespace kadeno::test
