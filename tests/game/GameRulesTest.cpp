#include "game/GameRules.h"

#include <gtest/gtest.h>

#include "settings/Settings.h"

namespace kadeno {
namespace {

TEST(GameRules, SpeedUpAfterNScans) {
  struct Case {
    int32_t start, difficulty, scans, expected;
  };
  const Case cases[] = {
      {21220, 0, 1, 20542},   // x 0.97 = 20583, x 0.998 = 20542
      {21220, 2, 3, 20053},   // 20542 -> 20337 -> 20296 -> 20093 -> 20053
      {14220, 10, 1, 13823},  // 14192, then x 0.976 = 13851, then x 0.998
      {1500, 0, 1, 1500},
      {1502, 0, 1, 1499},
      {1502, 1, 5, 1499},
      // Where rounding stops the shrinking: t x 0.3 % x (d - 2) comes under a half.
      {21220, 0, 3000, 1499},
      {21220, 3, 3000, 166},
      {21220, 5, 3000, 55},
      {14220, 10, 3000, 20},
  };
  for (const Case& c : cases) {
    int32_t t = c.start;
    for (int i = 0; i < c.scans; ++i) t = SpeedUpStep(t, 1500, c.difficulty, 0.003);
    EXPECT_EQ(t, c.expected) << c.start << " at " << c.difficulty << " after " << c.scans;
  }
  EXPECT_EQ(StartingHalfStepTime(0), 21220);
  EXPECT_EQ(StartingHalfStepTime(10), 14220);
  EXPECT_EQ(StartingHalfStepTime(INT32_MAX), std::nullopt);
}

TEST(GameRules, LandingRaise) {
  struct Case {
    int32_t falling, top, base, difficulty;
    Landing expected;
  };
  const Case cases[] = {
      {62, 60, 37, 2, {74, true}},
      {68, 60, 37, 2, {68, false}},
      {60, 60, 37, 0, {72, true}},
      {61, 60, 37, 0, {61, false}},
      {50, 60, 37, 0, {62, true}},
      {30, 25, 37, 0, {42, true}},  // below the floor
      {41, 37, 37, 0, {41, false}},
      {29, 37, 37, 0, {41, true}},  // a dumped note
      {66, 37, 37, 10, {78, true}},
      {56, 37, 37, 10, {80, true}},
      {101, 78, 37, 10, {113, true}},
      {INT32_MIN + 5, 60, 37, 0, {69, true}},  // class 9, however far below
      {0, INT32_MAX - 3, 37, 0, {0, true}},    // no octave above fits: kept
  };
  for (const Case& c : cases) {
    const Landing l = LandingRaise(c.falling, c.top, c.base, LandingDistance(c.difficulty));
    EXPECT_EQ(l.note, c.expected.note) << c.falling << " over " << c.top;
    EXPECT_EQ(l.landed, c.expected.landed) << c.falling << " over " << c.top;
  }
}

TEST(GameRules, NewNoteColumnAndDegree) {
  const int32_t columns[8][2] = {{0, 6}, {1, 2}, {2, 3}, {3, 5}, {4, 5}, {5, 6}, {6, 1}, {7, 1}};
  for (const auto& c : columns) EXPECT_EQ(NextStartColumn(c[0]), c[1]) << c[0];
  const int32_t degrees[][2] = {{0, 4}, {1, 5}, {2, 6},  {3, 7},  {4, 1},  {5, 2},
                                {6, 3}, {7, 4}, {-1, 3}, {-4, 0}, {-5, -1}};
  for (const auto& d : degrees) EXPECT_EQ(NextDegree(d[0]), d[1]) << d[0];
}

TEST(GameRules, ChordTest) {
  struct Case {
    int32_t low, middle, high;
    std::optional<int32_t> root;
  };
  const Case cases[] = {
      {7, 0, 4, 0},              // G under C under E: C major
      {4, 0, 9, 9},              // E, C, A: A minor
      {8, 4, 0, std::nullopt},   // augmented
      {7, 5, 0, std::nullopt},   // C, F, G: two fifths, no third
      {0, 0, 7, std::nullopt},   // two of one class
      {1, 5, 10, 10},            // C sharp, F, A sharp: A sharp minor
      {40, 7, 0, 0},             // the floor unreduced (E) under G and C
      {38, 7, 11, 7},            // G major on a D floor
      {37, 6, 5, std::nullopt},  // F sharp to C sharp is a fifth, but F is no third
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChordRootOf(c.low, c.middle, c.high), c.root)
        << c.low << " " << c.middle << " " << c.high;
  }
}

TEST(GameRules, ScaleTest) {
  const std::array<int32_t, 8> key37 = {0, 1, 3, 5, 6, 8, 10, 0};
  const std::array<int32_t, 8> key38 = {0, 2, 4, 6, 7, 9, 11, 1};
  EXPECT_TRUE(ScaleComplete(key37, {0, 1, 8, 3, 10, 5, 6, 0}));
  EXPECT_TRUE(ScaleComplete(key38, {0, 2, 4, 6, 7, 9, 11, 1}));
  EXPECT_FALSE(ScaleComplete(key38, {0, 1, 8, 3, 10, 5, 6, 0}));
  EXPECT_FALSE(ScaleComplete(key37, {0, 1, 8, 3, 10, 5, 6, 6}));  // six classes, one twice
}

TEST(GameRules, GameEndRule) {
  const int32_t cases[][3] = {{50, 100, 1},  {40, 100, 0}, {0, 0, 0},
                              {100, 100, 1}, {20, 50, 0},  {20, 40, 1}};
  for (const auto& c : cases) EXPECT_EQ(AnotherRound(c[0], c[1]), c[2] == 1) << c[0] << "/" << c[1];
  EXPECT_EQ(FormatScore(120), "120");
  EXPECT_EQ(FormatScore(0), "0");
}

TEST(GameRules, HallOfFameLevels) {
  struct Case {
    double value;
    const char* points;
    int32_t level;
  };
  const Case cases[] = {
      {EncodeHallOfFameScore(900, 2), "900", 2},
      {EncodeHallOfFameScore(70, 10), "70", 10},
      {EncodeHallOfFameScore(5, 1), "5", 1},
      {EncodeHallOfFameScore(120, 0), "120", 0},
      {1230.4, "1230", 5},
      {870, "870", 1},     // as files have them
      {119.9, "119", 10},  // an entry that the level encoding once stored for level 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HallOfFamePoints(c.value), c.points) << c.value;
    EXPECT_EQ(HallOfFameLevel(c.value), c.level) << c.value;
  }
  // A later game of equal points ranks below a level-0 entry, and the entry keeps its
  // level through the settings file.
  EXPECT_GT(EncodeHallOfFameScore(120, 0), 120.0);
  Settings s;
  s.HallOfFame[0].Score = EncodeHallOfFameScore(120, 0);
  Settings back;
  ParseSettingsFile(FormatSettingsFile(s), back);
  EXPECT_EQ(HallOfFameLevel(back.HallOfFame[0].Score), 0);
  EXPECT_EQ(HallOfFamePoints(back.HallOfFame[0].Score), "120");
}

}  // namespace
}  // namespace kadeno
