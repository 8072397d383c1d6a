// Whole games on the virtual clock, the player's keys cued by the state of the game. The
// figures (landing pitches, scores, fanfare notes) are worked out by hand from the rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

// A scripted player: each cue waits for a moment of the game (checked at every yield, as
// a listening player would notice it) and then acts once, in order.
using Cue = std::function<bool(const GameState&)>;

class Player {
 public:
  explicit Player(Harness& h) : h_(h) {}
  void When(Cue cue, std::vector<int> keys) {
    cues_.push_back({std::move(cue), std::move(keys)});
    if (cues_.size() == 1) Arm();
  }
  bool Done() const { return cues_.empty(); }

 private:
  void Arm() {
    h_.window.At(h_.window.now + 1, [this] {
      if (cues_.empty()) return;
      if (cues_.front().first(h_.G())) {
        const std::vector<int> keys = cues_.front().second;
        cues_.pop_front();
        for (int k : keys) h_.form.Form_KeyDown(k, 0);
      }
      if (!cues_.empty()) Arm();
    });
  }
  Harness& h_;
  std::deque<std::pair<Cue, std::vector<int>>> cues_;
};

// A new falling note has just been made in this key, column and degree.
inline Cue NewNote(int key, int column, int degree) {
  return [=](const GameState& g) {
    return g.NewNotePending && g.KeyNote == key && g.FallingColumn == column &&
           g.FallingDegree == degree;
  };
}

// The words of the last `count` MIDI messages before the n-th wave (hex, log style).
inline std::vector<std::string> WordsBeforeWave(const FakeAudio& a, size_t wave, size_t count) {
  std::vector<std::string> out = a.Hex(a.waves.at(wave).wordsBefore - count);
  out.resize(count);
  return out;
}

// The words an award note sends on the effect channel (instrument 0, velocity 100), after
// the pan its step sends to the percussion channel (a value of the default stereo table).
inline void AwardNoteWords(std::vector<std::string>& out, int pan, int note) {
  char buf[3][16];
  std::snprintf(buf[0], sizeof buf[0], "B9 0A %02X", pan);
  std::snprintf(buf[1], sizeof buf[1], "96 %02X 64", note);
  std::snprintf(buf[2], sizeof buf[2], "86 %02X 64", note);
  if (pan >= 0) out.push_back(buf[0]);
  out.insert(out.end(), {"C6 00", buf[1], buf[2]});
}

constexpr const char* kRefused =
    "Can't Score two scales in a row.  You need to score at least one chord in between.";
// The default stereo table sends columns 1..7 (nominal 0, 21, ... 126) as these values.
constexpr int kColumnPan[8] = {0, 45, 53, 62, 73, 84, 93, 101};

struct WholeGame : ::testing::Test {
  Harness h;
  Player player{h};
  void SetUp() override {
    h.FactorySound();
    h.window.Reply(Answer::Yes, "Are you ready?");
  }
  // Round 1 at difficulty 10 from a fresh start: notes F#, C#, G#, D#, A#, F, C land in
  // columns 6, 1, 2, 3, 4 (Up), 5 and 7 (Right) at 78, 73, 80, 75, 70, 77, 72: the top row
  // holds the whole scale of C# major.
  void FirstScale() {
    h.S().Difficulty = 10;
    player.When(NewNote(37, 5, 6), {Key::Up});
    player.When(NewNote(37, 6, 7), {Key::Right});
  }
};

TEST_F(WholeGame, TriadInOneColumnScoresWithItsFanfare) {
  // F# dropped a degree to F (77), dumped to 41 and moved to column 1; it lands a scan
  // later at 41. The next note (C, 96) goes to column 1 and, once Down works again, is
  // lowered to A# (82) and dumped to 46: over F and the C# floor it lands as A# minor.
  h.window.At(0, [&] {
    h.form.mnuFileStartGame_Click();  // refused: a game runs
    for (int k : {Key::Down, Key::Space, Key::Left, Key::Left, Key::Left, Key::Left, Key::Left})
      h.form.Form_KeyDown(k, 0);
  });
  player.When(NewNote(37, 2, 7), {Key::Left});
  player.When([](const GameState& g) { return !g.NoteDumped && g.FallingNote == 84; },
              {Key::Down, Key::Space});
  player.When([](const GameState& g) { return g.Score > 0; }, {Key::Escape});
  h.window.Reply(Answer::Yes, "Do you really want to quit?");

  EXPECT_THROW(h.form.mnuFileStartGame_Click(), ProgramEnded);
  EXPECT_TRUE(player.Done());
  const GameState& g = h.G();
  EXPECT_EQ(g.Score, 20);
  EXPECT_EQ(g.ChordRoot, 10);
  EXPECT_EQ(std::pair(h.F().At(1, Row1), h.F().At(1, Row2)), std::pair(37, 37));

  ASSERT_EQ(h.audio.waves.size(), 2u);  // the chord's wave, then the stop on the way out
  EXPECT_EQ(h.audio.waves[0].path, "/opt/kadeno/TenMore.wav");
  // The landing at 46 sounds 94, 82, 70, 58, 46; the pan of column 1 goes to the
  // percussion channel; then the fanfare on A# (10) over C# (1) and F (5).
  std::vector<std::string> expected;
  for (int n : {94, 82, 70, 58, 46}) AwardNoteWords(expected, -1, n);
  expected.push_back("B9 0A 2D");
  for (int n : {49, 53, 58, 61, 65, 70, 65, 61, 58, 53, 49, 70, 58})
    AwardNoteWords(expected, -1, n);
  EXPECT_EQ(WordsBeforeWave(h.audio, 0, expected.size()), expected);
  EXPECT_EQ(h.window.writes, 1);  // the Exit command saved the settings
}

TEST_F(WholeGame, ScaleScoresOnceThenIsRefusedUntilAChord) {
  FirstScale();
  // Round 1 goes on: F#, C#, G#, D#, A# land in columns 1, 2, 3, 5, 6; F is sent to the
  // centre and C to the right wall, and the top row is the scale again: refused. The next
  // F# lands on the F# of column 1 at 114, keeps the row whole, and is refused again.
  player.When(NewNote(37, 1, 3), {Key::Up});
  player.When(NewNote(37, 5, 7), {Key::Right, Key::Right});
  // Quit once both refusals (the third and fourth boxes) have been answered.
  player.When([&](const GameState&) { return h.window.boxes.size() == 3; }, {Key::Escape});
  h.window.Reply(Answer::Ok, kRefused);
  h.window.Reply(Answer::Ok, kRefused);
  h.window.Reply(Answer::Yes, "Do you really want to quit?");

  EXPECT_THROW(h.form.mnuFileStartGame_Click(), ProgramEnded);
  EXPECT_TRUE(player.Done());
  const GameState& g = h.G();
  EXPECT_EQ(g.Score, 50);
  EXPECT_TRUE(g.LastScoreWasScale);
  const int32_t row2[8] = {0, 114, 73, 80, 77, 75, 70, 72};
  for (int c = 1; c <= 7; ++c) {
    EXPECT_EQ(h.F().At(c, Row2), row2[c]) << c;
    EXPECT_EQ(h.F().At(c, Row1), c == 1 ? 78 : 37) << c;
  }
  // The scale fanfare: the top row C#, G#, D#, A#, F, F#, C from 96 up, the key, the run
  // down the scale from 84 (degree 7) to 85, the key four times from side to side.
  std::vector<std::string> expected;
  const int top[8] = {0, 97, 104, 99, 106, 101, 102, 96};
  for (int c = 1; c <= 7; ++c) AwardNoteWords(expected, kColumnPan[c], top[c]);
  AwardNoteWords(expected, kColumnPan[4], 97);
  const int run[8] = {0, 85, 87, 89, 90, 92, 94, 84};
  for (int d = 7; d >= 1; --d) AwardNoteWords(expected, kColumnPan[d], run[d]);
  for (int i = 0; i < 2; ++i) {
    AwardNoteWords(expected, kColumnPan[7], 97);
    AwardNoteWords(expected, kColumnPan[1], 85);
  }
  EXPECT_EQ(h.audio.waves.at(0).path, "/opt/kadeno/AddFifty.wav");
  EXPECT_EQ(WordsBeforeWave(h.audio, 0, expected.size()), expected);
}

TEST_F(WholeGame, RoundUnderHalfTheBestEndsTheGameWithTheHallOfFame) {
  FirstScale();
  // Round 1 scores the scale (50) and ends when F lands on F# at 113 above the ceiling;
  // C lands in the last scan, so round 2 (D major) replaces its first note at once. Its
  // notes D, A, E, B land in columns 5, 6, 1, 2 at 74, 81, 76, 71; F# is moved onto B and
  // lands a scan later at 114: B minor over the D floor, 20 points. C# lands at 73, G on D
  // at 115 above the ceiling, D at 122. 20 is less than half of 50: the game is over.
  player.When(NewNote(38, 3, 3), {Key::Left});
  h.window.Reply(Answer::Ok, "Your score is 50");
  h.window.Reply(Answer::Ok, "Your score is 70");
  h.window.Type("Ace", "Please enter your name for the Hall of Fame");
  const std::string listing =
      "Here is the Kadeno Masters Hall of Fame:\r\n"
      "First Place, with 70 points is Ace at a difficulty level of  10\r\n";
  h.window.Reply(Answer::Ok, listing);

  h.form.mnuFileStartGame_Click();
  EXPECT_TRUE(player.Done());
  EXPECT_EQ(h.G().KeyNote, 38);
  EXPECT_EQ(std::pair(h.G().HalfStepFloor, h.G().DifficultySpeedUp), std::pair(1500, 0.003));
  ASSERT_EQ(h.window.boxes.size(), 5u);
  EXPECT_EQ(h.window.boxes[3].defaultText, "who?");
  EXPECT_DOUBLE_EQ(h.form.settings().HallOfFame[0].Score, 70.9);
  EXPECT_NE(h.window.files[h.SettingsPath()].find("1stPlaceScore = 70.9\r\n"), std::string::npos);

  ASSERT_EQ(h.audio.waves.size(), 2u);
  EXPECT_EQ(h.audio.waves[1].path, "/opt/kadeno/TenMore.wav");
  std::vector<std::string> expected = {"B9 0A 35"};  // column 2
  for (int n : {50, 59, 54, 62, 71, 66, 71, 62, 54, 59, 50, 71, 59})
    AwardNoteWords(expected, -1, n);
  EXPECT_EQ(WordsBeforeWave(h.audio, 1, expected.size()), expected);

  // The game's score has had its chance: the menu command only reads the list out.
  h.window.Reply(Answer::Ok, listing);
  h.form.mnuFileHallOfFame_Click();
  EXPECT_EQ(h.window.boxes.size(), 6u);
  EXPECT_EQ(h.form.settings().HallOfFame[1].Score, 0);
}

}  // namespace
}  // namespace kadeno::test
