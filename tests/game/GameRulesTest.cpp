#include "game/GameRules.h"
#include "settings/HallOfFame.h"

#include <gtest/gtest.h>

#include "settings/Settings.h"

namespace kadeno {
namespace {

using namespace std::string_literals;

TEST(GameRules, HalfStepTimeAfterNSpeedUps) {
  // {start, difficulty, speed-ups, expected}; the last four: where rounding stops the
  // shrinking (from difficulty 3, once t x 0.3 % x (d - 2) is under a half).
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

TEST(GameRules, LandingsAndChords) {
  // {falling, top, difficulty, note after, landed}; the floor is 37. Exactly the landing
  // distance above; below the floor; class 9 however low; no octave fits, so the note is kept.
  const int32_t landings[][5] = {{62, 60, 2, 74, 1},         {68, 60, 2, 68, 0},
                                 {67, 60, 2, 67, 0},         {60, 60, 0, 72, 1},
                                 {30, 25, 0, 42, 1},         {INT32_MIN + 5, 60, 0, 69, 1},
                                 {0, INT32_MAX - 3, 0, 0, 1}};
  for (const auto& c : landings) {
    const Landing l = LandingRaise(c[0], c[1], 37, LandingDistance(c[2]));
    EXPECT_EQ(std::pair(l.note, l.landed), std::pair(c[3], c[4] == 1)) << c[0] << " on " << c[1];
  }
  EXPECT_EQ(NextDegree(-4), 0);  // Down before the first note: reads no scale degree
  EXPECT_EQ(NextDegree(-5), -1);
  // {low, middle, high, root or -1}: C major, A minor, augmented, C F G (no third), two of
  // one class, the floor unreduced (E) under G and C.
  const int32_t chords[][4] = {{7, 0, 4, 0},  {4, 0, 9, 9},  {8, 4, 0, -1},
                               {7, 5, 0, -1}, {0, 0, 7, -1}, {40, 7, 0, 0}};
  for (const auto& c : chords)
    EXPECT_EQ(ChordRootOf(c[0], c[1], c[2]).value_or(-1), c[3]) << c[0] << " " << c[1];
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
