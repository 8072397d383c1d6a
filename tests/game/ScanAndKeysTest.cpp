// The scan's steps and waits, the round set-up, the column piles and the keys, each checked
// against MIDI words and times worked out by hand.
#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

struct Game : ::testing::Test {
  Harness h;
  GameState& g = h.form.game;
  void SetUp() override {
    h.FactorySound();
    g.HalfStepFloor = 1500;
  }
  // A fresh round of key k (round k - 36), as the driver sets it up.
  void Round(int32_t k) {
    g.KeyNote = k - 1;
    h.form.StartRound();
  }
};

TEST_F(Game, RoundSetUpGivesKeyGroundAndFirstNote) {
  g.ColumnStack[2] = {"50"};
  Round(41);  // round 5
  EXPECT_EQ(g.KeyNote, 41);
  EXPECT_EQ(g.CeilingNote, 84);
  EXPECT_EQ(g.ScaleTable, (std::array<int32_t, 8>{0, 5, 7, 9, 10, 0, 2, 4}));
  for (int c = 1; c <= 7; ++c) {
    EXPECT_EQ(g.Field[c][Row1], 41);
    EXPECT_EQ(g.Field[c][Row2], 41);
    EXPECT_TRUE(g.ColumnStack[c].empty());
  }
  // The first note of the run: column 6, degree 4 (A sharp).
  EXPECT_EQ(g.FallingColumn, 6);
  EXPECT_EQ(g.FallingNote, 84 + 10 + 12);
}

TEST_F(Game, ScanStepSendsPanThenVoices) {
  g.BaseLineNote = 37;
  g.Field[3] = {0, 37, 49, 0};
  g.FallingColumn = 3;
  g.FallingNote = 90;
  h.form.PlayColumn(3);
  h.form.AllNotesOff();
  std::vector<std::string> expected;
  for (const char* c : {"B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9", "BA", "BB",
                        "BC", "BD", "BE", "BF"})
    expected.push_back(std::string(c) + " 0A 3E");
  // Drum 38 in column 3, base line an octave below 37, row 1 silent (it is the floor),
  // row 2 at 49, the falling note; then the notes-off, channels in order.
  expected.insert(expected.end(),
                  {"C9 00", "99 26 64", "C1 18", "91 19 7F", "C3 18", "93 31 64", "C5 01",
                   "95 5A 64", "81 19 7F", "83 31 64", "85 5A 64", "89 26 64"});
  EXPECT_EQ(h.audio.Hex(), expected);
}

TEST_F(Game, WaitsSleepInFourParts) {
  struct Case {
    int32_t halfStepTime;
    int64_t stepMs;
    int64_t halfStepMs, pauseMs;
  };
  const Case cases[] = {
      {20000, 408, 200, 408}, {1499, 28000, 4 * 3, 28000}, {21220, 28001, 4 * 53, 0}};
  for (const Case& c : cases) {
    g.HalfStepTime = c.halfStepTime;
    g.StepMs = c.stepMs;
    const int64_t t0 = h.window.now;
    const int y0 = h.window.yields;
    h.form.HalfStepWait();
    EXPECT_EQ(h.window.now - t0, c.halfStepMs) << c.halfStepTime;
    EXPECT_EQ(h.window.yields - y0, 8);
    const int64_t t1 = h.window.now;
    h.form.ScanPause();
    EXPECT_EQ(h.window.now - t1, c.pauseMs) << c.stepMs;
  }
}

TEST_F(Game, ScanMeasuresItsFirstStepAndEndsAtALanding) {
  Round(37);
  g.HalfStepTime = 20000;
  h.form.Scan();
  EXPECT_EQ(g.StepMs, 400);  // two half-step waits; sounding takes no virtual time
  EXPECT_EQ(g.FallingNote, 102 - 12);

  // A save during step 1 (after the pause of 400 ms) clears the stamp: the measurement
  // falls back to 1 ms.
  h.window.At(h.window.now + 500, [&] { h.form.SaveSettings(); });
  h.form.Scan();
  EXPECT_EQ(g.StepMs, 1);

  // A note at the floor of column 3 lands there and the scan ends after column 3.
  g.FallingColumn = 3;
  g.FallingNote = 37 + 12;
  const size_t from = h.audio.words.size();
  h.form.Scan();
  EXPECT_TRUE(g.NoteLanded);
  EXPECT_EQ(g.Field[3][Row2], 49);
  EXPECT_EQ(h.audio.NotesOn(Channel::BaseLine, from).size(), 3u);
}

TEST_F(Game, RoundAboveTheCeilingPlaysOneScan) {
  g.HalfStepTime = 21220;
  h.window.Reply(Answer::Ok, "Your score is 0");
  Round(85);  // round 49
  g.KeyNote = 84;
  h.form.PlayRound();
  EXPECT_EQ(g.KeyNote, 85);
  EXPECT_EQ(g.HalfStepTime, 20542);  // one speed-up: one pass
}

TEST_F(Game, StartGameAnsweredNoChangesNothing) {
  g.Score = 30;
  h.window.Reply(Answer::No, "Are you ready?");
  h.window.Reply(Answer::Ok, "Game Play canceled by user request");
  h.form.mnuFileStartGame_Click();
  EXPECT_EQ(g.Score, 30);
  EXPECT_EQ(g.HalfStepTime, 0);
  EXPECT_FALSE(h.form.GameRunning);
}

TEST_F(Game, MovesSoundWhereTheNoteWent) {
  struct Case {
    int32_t from;
    bool percussive;
    int key;
    int32_t to;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {1, true, Key::Left, 1, {"B9 0A 2D", "C9 00", "99 4D 64", "89 4D 64"}},
      {7, false, Key::Right, 7, {"B9 0A 66", "C9 00", "99 4C 64", "89 4C 64"}},
      {4, true, Key::Left, 3, {"B9 0A 3E", "C9 00", "99 25 64", "89 25 64"}},
      {3, false, Key::Right, 4, {"B6 0A 49", "C6 00", "96 5A 50", "86 5A 50"}},
      {6, true, Key::Up, 4, {"B6 0A 49", "C6 00", "96 5A 50", "86 5A 50"}},
      {5, true, Key::F4, 5, {}},  // without Alt
  };
  for (const Case& c : cases) {
    g.FallingColumn = c.from;
    g.FallingNote = 90;
    h.form.settings.FallingNoteMovementSound = c.percussive;
    const size_t from = h.audio.words.size();
    h.form.Form_KeyDown(c.key, 0);
    EXPECT_EQ(g.FallingColumn, c.to) << c.from << " key " << c.key;
    EXPECT_EQ(h.audio.Hex(from), c.words) << c.from << " key " << c.key;
  }
}

TEST_F(Game, DownLowersByADegreeAndAnOctave) {
  struct Case {
    int32_t key, note, degree, lowered, newDegree;
    bool dumped;
  };
  const Case cases[] = {
      {37, 73, 1, 60, 7, false},
      {37, 80, 5, 66, 4, false},
      {38, 85, 7, 83, 6, false},
      {37, 40, 2, 37, 1, true},  // 25 is below the floor
  };
  for (const Case& c : cases) {
    Round(c.key);
    g.FallingColumn = 3;
    g.FallingNote = c.note;
    g.FallingDegree = c.degree;
    g.NoteDumped = false;
    const size_t from = h.audio.words.size();
    h.form.Form_KeyDown(Key::Down, 0);
    EXPECT_EQ(g.FallingNote, c.lowered) << c.note;
    EXPECT_EQ(g.FallingDegree, c.newDegree) << c.note;
    EXPECT_EQ(g.NoteDumped, c.dumped) << c.note;
    EXPECT_EQ(h.audio.Pans(Channel::Effect, from), std::vector<int>{62});
    EXPECT_EQ(h.audio.NotesOn(Channel::Effect, from),
              (std::vector<int>{c.note, c.dumped ? 25 : c.lowered, 1}));
  }
}

TEST_F(Game, PauseHoldsTheWaitAndServesOtherKeys) {
  g.HalfStepTime = 20000;
  h.Key(1000, Key::P);
  h.Key(2000, Key::S);
  h.Key(6000, Key::P);
  h.window.Reply(Answer::Ok, "Your score is 0");
  h.form.HalfStepWait();
  EXPECT_EQ(h.window.now, 6000 + 200);  // the whole half-step wait after the pause
  ASSERT_EQ(h.window.boxes.size(), 1u);
  EXPECT_EQ(h.window.boxes[0].timeMs, 2000);
  EXPECT_FALSE(g.Paused);
}

TEST_F(Game, SpaceAndQuitKeys) {
  g.BaseLineNote = 37;
  g.FallingNote = 90;
  h.form.Form_KeyDown(Key::Space, 0);
  h.form.Form_KeyDown(Key::Down, 0);  // does nothing once dumped
  EXPECT_EQ(g.FallingNote, 42);
  EXPECT_TRUE(h.audio.words.empty());
  h.window.Reply(Answer::No, "Do you really want to quit?");
  h.form.Form_KeyDown(Key::Escape, 0);
  EXPECT_EQ(h.window.writes, 0);
  EXPECT_THROW(h.form.Form_KeyDown(Key::F4, Key::AltMask), ProgramEnded);
  EXPECT_EQ(h.window.writes, 1);
  EXPECT_FALSE(h.audio.isOpen);
  EXPECT_EQ(h.window.boxes.size(), 1u);  // no quit question for Alt+F4
}

}  // namespace
}  // namespace kadeno::test
