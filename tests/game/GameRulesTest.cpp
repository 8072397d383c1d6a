#include "game/GameRules.h"

#include <gtest/gtest.h>

#include "settings/Settings.h"

namespace kadeno {
namespace {

TEST(GameRules, SpeedUpAfterNScans) {
  // {start, difficulty, scans, expected}; the last four are where rounding stops the
  // shrinking (at difficulty 3 and up, once t x 0.3 % x (d - 2) is under a half).
  const int32_t cases[][4] = {{21220, 0, 1, 20542},  {21220, 2, 3, 20053}, {14220, 10, 1, 13823},
                              {1500, 0, 1, 1500},    {1502, 1, 5, 1499},   {21220, 0, 3000, 1499},
                              {21220, 3, 3000, 166}, {21220, 5, 3000, 55}, {14220, 10, 3000, 20}};
  for (const auto& c : cases) {
    int32_t t = c[0];
    for (int i = 0; i < c[2]; ++i) t = SpeedUpStep(t, 1500, c[1], 0.003);
    EXPECT_EQ(t, c[3]) << c[0] << " at " << c[1] << " after " << c[2];
  }
  EXPECT_EQ(StartingHalfStepTime(10), 14220);
  EXPECT_EQ(StartingHalfStepTime(INT32_MAX), std::nullopt);
}

TEST(GameRules, LandingRaise) {
  // {falling, top, difficulty, note after, landed}; the floor is 37.
  const int32_t cases[][5] = {{62, 60, 2, 74, 1},
                              {68, 60, 2, 68, 0},
                              {60, 60, 0, 72, 1},
                              {61, 60, 0, 61, 0},
                              {30, 25, 0, 42, 1},             // below the floor
                              {INT32_MIN + 5, 60, 0, 69, 1},  // class 9, however low
                              {0, INT32_MAX - 3, 0, 0, 1}};   // no octave fits: kept
  for (const auto& c : cases) {
    const Landing l = LandingRaise(c[0], c[1], 37, LandingDistance(c[2]));
    EXPECT_EQ(l.note, c[3]) << c[0] << " over " << c[1];
    EXPECT_EQ(l.landed, c[4] == 1) << c[0] << " over " << c[1];
  }
  EXPECT_EQ(NextDegree(-4), 0);  // Down before the first note: reads no scale degree
  EXPECT_EQ(NextDegree(-5), -1);
}

TEST(GameRules, ChordTest) {
  // {low, middle, high, root or -1}
  const int32_t cases[][4] = {{7, 0, 4, 0},    // C major, G under C under E
                              {4, 0, 9, 9},    // A minor
                              {8, 4, 0, -1},   // augmented
                              {7, 5, 0, -1},   // C, F, G: two fifths, no third
                              {0, 0, 7, -1},   // two of one class
                              {40, 7, 0, 0}};  // the floor unreduced (E) under G and C
  for (const auto& c : cases) {
    EXPECT_EQ(ChordRootOf(c[0], c[1], c[2]).value_or(-1), c[3]) << c[0] << " " << c[1];
  }
  EXPECT_TRUE(AnotherRound(50, 100));  // exactly half goes on
  EXPECT_FALSE(AnotherRound(40, 100));
}

TEST(GameRules, HallOfFameLevels) {
  struct Case {
    double value;
    const char* points;
    int32_t level;
  };
  const Case cases[] = {{EncodeHallOfFameScore(900, 2), "900", 2},
                        {EncodeHallOfFameScore(70, 10), "70", 10},
                        {EncodeHallOfFameScore(120, 0), "120", 0},
                        {1230.4, "1230", 5},  // as files written at levels 1..10 hold them
                        {870, "870", 1},
                        {119.9, "119", 10}};  // what level 0 was once stored as
  for (const Case& c : cases) {
    EXPECT_EQ(HallOfFamePoints(c.value), c.points) << c.value;
    EXPECT_EQ(HallOfFameLevel(c.value), c.level) << c.value;
  }
  // The level-0 entry keeps its level through the settings file.
  Settings s, back;
  s.HallOfFame[0].Score = EncodeHallOfFameScore(120, 0);
  ParseSettingsFile(FormatSettingsFile(s), back);
  EXPECT_EQ(HallOfFameLevel(back.HallOfFame[0].Score), 0);
  EXPECT_EQ(HallOfFamePoints(back.HallOfFame[0].Score), "120");
}

}  // namespace
}  // namespace kadeno
