// The scan, the rounds, the keys, the rules, the wait and the effect notes, against MIDI words
// and times worked out by hand.
#include <gtest/gtest.h>

#include <tuple>

#include "game/EffectNotes.h"
#include "game/GameRules.h"
#include "settings/HallOfFame.h"
#include "settings/Settings.h"
#include "support/Harness.h"
#include "support/TestData.h"

namespace kadeno::test {
namespace {

struct Game : ::testing::Test {
  Harness h;
  GameState& g = h.G();
  Field& f = GameTestAccess::FieldOf(h.form.game());
  void SetUp() override {
    h.FactorySound();
    g.HalfStepFloor = 1500;
  }
  // A fresh round of key k (round k - 36), as the driver sets it up.
  void Round(int32_t k) {
    g.KeyNote = k - 1;
    GameTestAccess::StartRound(h.form.game());
  }
  // Builds a column as play would: each note lands on its ground and settles there.
  void Column(int c, std::initializer_list<int32_t> notes) {
    for (int32_t n : notes) {
      f.PlaceLanded(c, n);
      f.DepositNote(c);
    }
    f.ClearRow3();
  }
};

TEST_F(Game, ScanMeasuresItsFirstStepWithoutASaveInIt) {
  Round(37);
  g.HalfStepTime = 20000;
  GameTestAccess::Scan(h.form.game());
  EXPECT_EQ(g.StepMs, 400);  // two half-step waits; sounding takes no virtual time
  EXPECT_EQ(g.FallingNote, 102 - 12);
  // A save in step 1 (after its 400 ms pause) clears the stamp, read after the yields: 1 ms.
  h.window.At(h.window.now + 500, [&] { h.form.store().SaveSettings(); });
  GameTestAccess::Scan(h.form.game());
  EXPECT_EQ(g.StepMs, 1);
}

TEST_F(Game, DownLowersByADegreeAndAnOctaveAndBelowTheFloorDumps) {
  Round(37);
  g.FallingColumn = 3;
  // {note, degree, keys; after: note, degree, dumped; the effect's pans; its notes: old, new,
  // closing tick}. C# (degree 1) falls to C (7); D# (2) to the floor, C# 37: not dumped; E (2)
  // would fall to 25, below it: dumped at 37, and Down then does nothing; Space drops the
  // note eight octaves and back up to the floor, silently.
  using Notes = std::vector<int>;
  const std::tuple<int32_t, int32_t, Notes, int32_t, int32_t, bool, Notes, Notes> cases[] = {
      {73, 1, {Key::Down}, 60, 7, false, {62}, {73, 60, 1}},
      {51, 2, {Key::Down}, 37, 1, false, {62}, {51, 37, 1}},
      {40, 2, {Key::Down, Key::Down}, 37, 1, true, {62}, {40, 25, 1}},
      {75, 2, {Key::Space, Key::Down}, 39, 2, true, {}, {}}};
  for (const auto& [note, degree, keys, after, degreeAfter, dumped, pans, heard] : cases) {
    g.NoteDumped = false;
    g.FallingNote = note;
    g.FallingDegree = degree;
    const size_t from = h.audio.words.size();
    for (int k : keys) h.form.Form_KeyDown(k, 0);
    EXPECT_EQ(std::tuple(g.FallingNote, g.FallingDegree, g.NoteDumped),
              std::tuple(after, degreeAfter, dumped))
        << note;
    EXPECT_EQ(h.audio.Pans(Channel::Effect, from), pans) << note;
    EXPECT_EQ(h.audio.NotesOn(Channel::Effect, from), heard) << note;
  }
}

TEST_F(Game, ChordsScoreInEveryColumnAndOnTheFloor) {
  // E landed on C over G: C major wherever it stands; the three notes vanish and the
  // column's ground is the C# floor again.
  for (int column = 1; column <= 7; ++column) {
    Round(37);
    g.Score = 0;
    Column(column, {67, 60});
    f.PlaceLanded(column, 64);
    GameTestAccess::ScoreLanding(h.form.game());
    EXPECT_EQ(std::tuple(g.Score, f.At(column, Row1), f.At(column, Row2), g.ChordRoot),
              std::tuple(20.0, 37, 37, 0))
        << column;
  }
  // Column 3: C and G over an E floor (C major), or C# and A# over F# (F# major). The
  // fanfare builds on the floor note, keeping its notes under 126: 88 and 100 from 40, 114
  // alone from 66, none from 78.
  const std::tuple<int32_t, int32_t, int32_t, std::vector<int>> cases[] = {
      {40, 55, 60, {88, 55, 48, 100, 67, 60, 67, 100, 48, 55, 88, 60, 48}},
      {66, 61, 70, {114, 49, 58, 61, 70, 61, 58, 49, 114, 66, 54}},
      {78, 61, 70, {49, 58, 61, 70, 61, 58, 49, 66, 54}}};
  for (const auto& [floor, row1, row2, notes] : cases) {
    Round(37);
    g.Score = 0;
    f.StartRound(floor);
    Column(3, {row1, row2});
    const size_t from = h.audio.words.size();
    GameTestAccess::ScoreLanding(h.form.game());
    EXPECT_EQ(g.Score, 20) << floor;
    EXPECT_EQ(h.audio.NotesOn(Channel::Effect, from), notes) << floor;
  }
}

TEST_F(Game, ChordBetweenTwoScalesLetsTheSecondScore) {
  // After a scale, the top row C#, D#, F, F#, G#, A#, C is refused. C# lands in column 1
  // on F over G#: C# major scores, and the stack brings C# up to the top again, so the
  // next pass of the same landing scores the scale: 20 + 50.
  Round(37);
  g.LastScoreWasScale = true;
  const int32_t top[8] = {0, 61, 63, 65, 66, 68, 70, 72};
  for (int c = 2; c <= 7; ++c) Column(c, {top[c]});
  Column(1, {73, 49, 68, 65});
  f.PlaceLanded(1, 61);
  h.window.Reply(Answer::Ok,
                 "Can't Score two scales in a row.  You need to score at least one chord in "
                 "between.");
  GameTestAccess::ScoreLanding(h.form.game());
  EXPECT_EQ(g.Score, 70);
  EXPECT_TRUE(g.LastScoreWasScale);
  EXPECT_EQ(h.window.boxes.size(), 1u);
  for (int c = 1; c <= 7; ++c)
    EXPECT_EQ(std::pair(f.At(c, Row1), f.At(c, Row2)), std::pair(37, c == 1 ? 73 : 37)) << c;
}

TEST_F(Game, ALandingThatScoresNothingBuriesTheLowerGroundNote) {
  Round(37);
  Column(2, {50, 55});  // D under G; C lands on them: no chord
  g.FallingNote = 60;
  GameTestAccess::LandNote(h.form.game(), 2);
  EXPECT_EQ(std::tuple(f.At(2, Row1), f.At(2, Row2), f.At(2, Row3), f.PopNote(2)),
            std::tuple(55, 60, 0, 50));
  EXPECT_EQ(h.audio.NotesOn(Channel::Effect), (std::vector<int>{108, 96, 84, 72, 60}));
  // One that scores is not buried: E on C over G vanishes with them to the bare floor.
  Column(3, {67, 60});
  g.FallingNote = 64;
  GameTestAccess::LandNote(h.form.game(), 3);
  EXPECT_EQ(std::tuple(f.At(3, Row1), f.At(3, Row2), f.PopNote(3)), std::tuple(37, 37, 37));
  // The landing sound leaves out every pitch of 126 or more, the landed note's own too.
  for (const auto& [note, heard] :
       {std::pair(90, std::vector<int>{114, 102, 90}), std::pair(114, std::vector<int>{114}),
        std::pair(126, std::vector<int>{})}) {
    const size_t from = h.audio.words.size();
    g.FallingNote = note;
    GameTestAccess::LandNote(h.form.game(), 5);
    EXPECT_EQ(h.audio.NotesOn(Channel::Effect, from), heard) << note;
  }
}

TEST_F(Game, ScaleFanfareLeavesOutRunNotesFrom126) {
  // Key 75 (D#): no key notes at 60 up; in the run only degrees 7 (D, 124) and 6 (C, 122)
  // stay under 126, degree 1 reaches it exactly; the key at 48 up twice.
  g.ScaleTable = {0, 3, 5, 7, 8, 10, 0, 2};
  GameTestAccess::ScaleFanfare(h.form.game(), {0, 3, 5, 7, 8, 10, 0, 2}, 75);
  EXPECT_EQ(h.audio.NotesOn(Channel::Effect),
            (std::vector<int>{99, 101, 103, 104, 106, 96, 98, 124, 122, 123, 123}));
  EXPECT_EQ(h.audio.Pans(Channel::Drum).size(), 16u);
}

// Every field of the game state, to compare whole.
auto Tie(const GameState& g) {
  return std::tie(g.Score, g.RoundStartScore, g.KeyNote, g.ScaleTable, g.CeilingNote, g.FallingNote,
                  g.FallingColumn, g.FallingDegree, g.NewNotePending, g.NoteDumped, g.NoteLanded,
                  g.Paused, g.HalfStepTime, g.HalfStepFloor, g.DifficultySpeedUp, g.StepMs,
                  g.ScanStampMs, g.LastScoreWasScale, g.ScoredThisLanding, g.ScoredThisPass,
                  g.ChordRoot, g.TopClass);
}

// At its first wait, a run's first game against one started after a game that left its
// fields changed: score, speed, floor and key start afresh; the note's column and degree,
// the refusal of a second scale in a row and the scan's records carry over.
TEST(GameStart, ResetsWhatAGameResetsAndKeepsTheRest) {
  auto firstWait = [](Harness& h, GameState before) {
    GameState seen;
    h.G() = before;
    h.window.At(h.window.now, [&] {
      seen = h.G();
      h.form.Form_KeyDown(Key::Escape, 0);
    });
    h.window.Reply(Answer::Yes, "Are you ready?");
    h.window.Reply(Answer::Yes, "Do you really want to quit?");
    EXPECT_THROW(h.Choose("File", "Start Game"), ProgramEnded);
    return seen;
  };
  Harness first, second;
  for (Harness* h : {&first, &second}) h->FactorySound();
  GameState expected = firstWait(first, {});
  second.window.lenientBoxes = true;
  second.window.Reply(Answer::Yes, "Are you ready?");
  second.Choose("File", "Start Game");  // ends by itself: round 1 scores nothing
  second.window.lenientBoxes = false;
  // As game 1 left it, with what another game could have left besides.
  GameState left = second.G();
  left.Score = 120, left.RoundStartScore = 70, left.KeyNote = 41, left.HalfStepFloor = 1400;
  left.DifficultySpeedUp = 0.5, left.LastScoreWasScale = true, left.ChordRoot = 5;
  expected.StepMs = left.StepMs, expected.TopClass = left.TopClass;
  expected.LastScoreWasScale = true, expected.ChordRoot = 5;
  // The first note starts after where the last one was left: column 2, degree 1.
  ASSERT_EQ(std::pair(left.FallingColumn, left.FallingDegree), std::pair(2, 1));
  expected.FallingColumn = 3, expected.FallingDegree = 5, expected.FallingNote = 92;
  const GameState seen = firstWait(second, left);
  EXPECT_EQ(Tie(seen), Tie(expected));
}

// The tour, a practice with a landing and a setting's phrase play on states of their own.
TEST(Lessons, LeaveTheGameAsTheyFoundIt) {
  Harness h;
  h.FactorySound();
  GameState& g = h.G();
  g.Score = 120, g.KeyNote = 41, g.FallingColumn = 2, g.FallingDegree = 6, g.FallingNote = 70;
  g.LastScoreWasScale = true, g.StepMs = 350, g.HalfStepTime = 9000, g.TopClass = {0, 1, 2, 3};
  const GameState before = g;
  for (int i = 0; i < 15; ++i) h.window.Reply(Answer::Ok);
  h.Choose("Help", "Hear the Field");
  EXPECT_EQ(Tie(h.G()), Tie(before));
  h.window.Reply(Answer::Ok);  // the practice's help
  h.window.At(h.window.now + 3000, [&h] { h.form.Form_KeyDown(Key::Space, 0); });
  h.window.Reply(Answer::Ok,
                 "The note landed in column 6.\r\nColumn 6 now holds F sharp.\r\n"
                 "One more note would make a chord here: A, A sharp.");
  h.window.At(h.window.now + 12000, [&h] { h.form.Form_KeyDown(Key::Escape, 0); });
  h.Choose("File", "Practice");
  EXPECT_EQ(Tie(h.G()), Tie(before));
  h.window.Type("60");
  h.Choose("Midi", "Set Stereo Width");
  EXPECT_EQ(Tie(h.G()), Tie(before));
  EXPECT_EQ(h.window.PendingReplies(), 0u);
}

TEST(Effects, DelayLimitsAndTheCallersVariable) {
  // {units, slept ms, units left}: over 7 s is no wait, and the units are cleared.
  const std::tuple<int32_t, int64_t, int32_t> cases[] = {
      {700000, 7000, 700000}, {700001, 0, 0}, {150, 1, 150}, {-500, 0, -500}};
  for (auto [units, sleptMs, left] : cases) {
    Harness h;
    const int64_t start = h.window.now;
    Delay(h.window, units);
    EXPECT_EQ(std::tuple(h.window.now - start, units, h.window.yields),
              std::tuple(sleptMs, left, 1));
  }
}

TEST(Effects, TheEchoLeavesThePlayersEffectVolumeAlone) {
  // Up from column 2 echoes the note at 80 % of the effect volume for 5 ms (a third of the
  // floor). Inside it the player saves (the player's 100 is filed, and shown in the box),
  // then sets 70, which stays once the echo has ended.
  Harness h;
  h.FactorySound();
  h.G().HalfStepFloor = 1500;
  h.G().FallingColumn = 2;
  h.G().FallingNote = 90;
  const Settings before = h.form.settings();
  std::string savedInside;
  const int64_t start = h.window.now;
  h.window.At(start + 1, [&] {
    h.form.store().SaveSettings();
    savedInside = h.window.files[h.SettingsPath()];
  });
  h.window.At(start + 2, [&] {
    h.window.Type(
        "70",
        "Effect Volume is now 100 out of 127.  Please enter the New value for Effect Volume.");
    h.Click("mnuMidiEffectVolume");
  });
  h.form.Form_KeyDown(Key::Up, 0);
  EXPECT_EQ(savedInside, FormatSettingsFile(before));
  EXPECT_EQ(h.form.settings().EffectVolume, 70);
  Settings after = before;
  after.EffectVolume = 70;
  EXPECT_EQ(h.window.files[h.SettingsPath()], FormatSettingsFile(after));
  EXPECT_EQ(h.audio.NotesOn(Channel::Effect), (std::vector<int>{90, 85, 89, 92, 97}));
  EXPECT_EQ(h.audio.Hex().at(2), "96 5A 50");   // after the pan and the program: 80 of 100
  EXPECT_EQ(h.audio.Hex().back(), "86 61 46");  // the phrase at the stored 70
}

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
}  // namespace kadeno::test
