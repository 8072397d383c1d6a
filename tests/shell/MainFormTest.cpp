// The hall of fame's offer when a score ties a place (the whole run's transcript has the rest).
#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(HallOfFame, TiesGoBelowAndTheFifthPlaceIsListed) {
  Harness h;
  const std::string heading = "Here is the Kadeno Masters Hall of Fame:\r\n";
  // The level is kept in the tenths (level 0 as .05).
  h.S().HallOfFame = {{{500.4, "a"}, {400, "b"}, {300.9, "c"}, {200, "d"}, {100, "e"}}};
  h.window.Reply(Answer::Ok, "With practice, you will soon rank among the Kadeno Masters!");
  h.window.Reply(Answer::Ok);
  h.form.hallOfFame().OfferAtGameEnd(100);  // no better than place 5: no name asked
  h.window.Type("", "Please enter your name for the Hall of Fame");
  h.window.Reply(Answer::Ok);
  h.S().Difficulty = 0;
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
