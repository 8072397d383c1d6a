#include "game/GameRules.h"
#include "settings/HallOfFame.h"

#include <gtest/gtest.h>

#include "settings/Settings.h"
#include "support/TestData.h"

namespace kadeno {
namespace {

using namespace std::string_literals;

// tests/data/game-rules.txt: speed-ups, landings and chords.
TEST(GameRules, SpeedUpsLandingsAndChords) {
  for (const auto& row : test::TestRows("game-rules.txt")) {
    SCOPED_TRACE(testing::PrintToString(row));
    std::vector<int32_t> n;
    for (size_t i = 1; i < row.size(); ++i) n.push_back(std::stoi(row[i]));
    if (row[0] == "speed-up") {
      int32_t t = n.at(0);
      for (int i = 0; i < n.at(2); ++i) t = SpeedUpStep(t, 1500, n[1], 0.003);
      EXPECT_EQ(t, n.at(3));
    } else if (row[0] == "landing") {
      const Landing l = LandingRaise(n.at(0), n.at(1), 37, LandingDistance(n.at(2)));
      EXPECT_EQ(std::pair(l.note, l.landed), std::pair(n.at(3), n.at(4) == 1));
    } else {
      ASSERT_EQ(row[0], "chord");
      EXPECT_EQ(ChordRootOf(n.at(0), n.at(1), n.at(2)).value_or(-1), n.at(3));
    }
  }
  EXPECT_EQ(StartingHalfStepTime(10), 14220);
  EXPECT_EQ(StartingHalfStepTime(INT32_MAX), std::nullopt);
  EXPECT_EQ(NextDegree(-4), 0);  // Down before the first note: reads no scale degree
  EXPECT_EQ(NextDegree(-5), -1);
  EXPECT_TRUE(AnotherRound(50, 100));  // exactly half goes on
  EXPECT_FALSE(AnotherRound(40, 100));
}

TEST(GameRules, ScaleNeedsEveryClassOfTheKeyOnce) {
  // D major (D E F# G A B C#) and C# major (C# D# F F# G# A# C), degrees 1..7.
  const std::array<int32_t, 8> d{0, 2, 4, 6, 7, 9, 11, 1}, cSharp{0, 1, 3, 5, 6, 8, 10, 0};
  // {scale, top classes of columns 1..7, passes}: D major in any order; B replaced by a
  // second C#; C# major in the key of D; the right row there; F replaced by a second C.
  const std::tuple<std::array<int32_t, 8>, std::array<int32_t, 8>, bool> cases[] = {
      {d, {0, 11, 1, 2, 4, 6, 7, 9}, true},
      {d, {0, 1, 1, 2, 4, 6, 7, 9}, false},
      {d, {0, 1, 3, 5, 6, 8, 10, 0}, false},
      {cSharp, {0, 0, 10, 8, 6, 5, 3, 1}, true},
      {cSharp, {0, 0, 10, 8, 6, 0, 3, 1}, false}};
  for (const auto& [scale, top, passes] : cases)
    EXPECT_EQ(ScaleComplete(scale, top), passes) << scale[1] << " " << top[1] << top[2];
}

TEST(GameRules, HallOfFameLevelZeroSurvivesTheSettingsFile) {
  // 119.9 is what level 0 was once stored as: it reads as level 10.
  EXPECT_EQ(std::pair(HallOfFamePoints(119.9), HallOfFameLevel(119.9)), std::pair("119"s, 10));
  Settings s, back;
  s.HallOfFame[0].Score = EncodeHallOfFameScore(120, 0);
  ParseSettingsFile(FormatSettingsFile(s), back);
  EXPECT_EQ(HallOfFamePoints(back.HallOfFame[0].Score), "120");
  EXPECT_EQ(HallOfFameLevel(back.HallOfFame[0].Score), 0);
}

}  // namespace
}  // namespace kadeno
