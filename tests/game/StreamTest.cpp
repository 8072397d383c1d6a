// Whole games on the virtual clock: every MIDI word and wave with its time, then what the
// player read meanwhile (the fake window's journal: boxes, saves), compared with a
// checked-in record (tests/data/stream-*.txt). The keys come at fixed virtual times from
// the game's start and the menu commands through the menu table, as a player gives them;
// every volume, instrument and stereo figure differs from every other, so a voice that
// reads another voice's setting, a pan from the wrong table or a wait of the wrong length
// shows as a changed line.
//
// What each record plays:
//  stream-first-game.txt (difficulty 10): Up on the sixth note of round 1 and Right on the
//    seventh lay the C# major scale on the top row: its fanfare, the wave and the breath
//    after it. Then, from the menu, Row 3 Volume set to 66 and the movement sound turned
//    to percussion; Left, Left, Down and Space one right after another; P, then P again
//    1.5 s later; S; Escape answered No. Round 2 scores nothing and ends the game, the name
//    box is left empty.
//  stream-second-game.txt: the same run's second game: five Lefts into the left wall,
//    seven Rights into the right one (its pan differs from column 7's), the stereo width
//    set to 70 (the placement is rebuilt at once), stereo turned off from the menu, Down twice 100
//    ms apart, S, and Escape answered Yes, which ends the program.
//  stream-chord-game.txt (difficulty 0): Start Game chosen again inside the game (refused),
//    then Down, Space and five Lefts at once; later Left, then Down and Space: A# minor in
//    column 1 scores 20, its fanfare and wave; the round goes on for 47 s over
//    the lowered column, then Escape answered Yes.
//  stream-refused-scale.txt (difficulty 10): the scale as in the first game, then the
//    top row made whole again twice without a chord between: both refused with a box.
//  stream-round-under-half.txt (difficulty 10): the scale (50) in round 1, B minor (20) in
//    round 2 in D: under half the best round, the game ends; the name Ace is saved.
#include <gtest/gtest.h>

#include <functional>

#include "shell/MenuTable.h"
#include "support/Harness.h"
#include "support/TestData.h"

namespace kadeno::test {
namespace {

constexpr const char* kEveryFigureDifferent =
    "DrumVolume = 121\r\nBaseLineVolume = 113\r\nRow1Volume = 97\r\n"
    "Row2Volume = 89\r\nRow3Volume = 77\r\nFallingVolume = 69\r\nEffectVolume = 58\r\n"
    "BaseLineInstrument = 33\r\nRow1Instrument = 41\r\nRow2Instrument = 52\r\n"
    "Row3Instrument = 61\r\nFallingInstrument = 73\r\nEffectInstrument = 12\r\n"
    "KeyboardScaling = 17\r\nStereoWide = 44\r\nStereoCurve = 23\r\nStereoBalance = 57\r\n"
    "FallingNoteMovementSound = Note\r\nStereo = True\r\n";

// A program started on those settings at a difficulty, its help pages closed at once.
struct Program {
  Harness h;
  explicit Program(int difficulty) {
    h.window.files[h.SettingsPath()] =
        std::string(kEveryFigureDifferent) + "Difficulty = " + std::to_string(difficulty);
    h.window.Reply(Answer::Cancel);
    h.form.Form_Load();
  }
  // Keys pressed one right after another, ms after the game's start.
  void Keys(int64_t ms, std::vector<int> codes) {
    h.window.At(start_ + ms, [this, codes] {
      for (int k : codes) h.form.Form_KeyDown(k, 0);
    });
  }
  void Menu(int64_t ms, std::string menu, std::string item) {
    h.window.At(start_ + ms, [this, menu, item] { h.Choose(menu, item); });
  }
  // Marks where the next game's record starts.
  void NextGame() {
    start_ = h.window.now;
    word_ = h.audio.words.size();
    wave_ = h.audio.waves.size();
    journal_ = h.window.journal.size();
  }
  // Plays a game (or the tour, or a practice) from its command to its end.
  std::string Game(const std::string& menu = "File", const std::string& item = "Start Game") {
    try {
      h.Choose(menu, item);
    } catch (const ProgramEnded&) {
      h.window.Note("the program ended");
    }
    return Record();
  }

 private:
  // Every word and wave since the game's start, one a line: virtual time, then the word
  // as the message log writes it, or the wave played (or "stop"); then the journal.
  std::string Record() const {
    const FakeAudio& a = h.audio;
    std::string out;
    size_t w = wave_;
    auto waves = [&](size_t before) {
      for (; w < a.waves.size() && a.waves[w].wordsBefore <= before; ++w)
        out += std::to_string(a.waves[w].timeMs) + " wave " +
               (a.waves[w].path.empty() ? "stop" : a.waves[w].path) + "\n";
    };
    for (size_t i = word_; i < a.words.size(); ++i) {
      waves(i);
      out += std::to_string(a.words[i].timeMs) + " " + a.words[i].Hex() + "\n";
    }
    waves(a.words.size());
    return out + "\n== what the player read\n" + h.window.journal.substr(journal_);
  }
  int64_t start_ = 0;
  size_t word_ = 0, wave_ = 0, journal_ = 0;
};

TEST(Streams, TwoGamesInOneRun) {
  Program r(10);
  r.NextGame();
  r.Keys(25166, {Key::Up});
  r.Keys(35833, {Key::Right});  // the scale scores at 40936
  r.Menu(43000, "Midi", "Row 3 Volume");
  r.Menu(44000, "Midi", "Falling Note Movement Sound (Note)");
  r.Keys(45000, {Key::Left, Key::Left, Key::Down, Key::Space});
  r.Keys(47000, {Key::P});
  r.Keys(48500, {Key::P});
  r.Keys(49000, {Key::S});
  r.Keys(50000, {Key::Escape});
  r.h.window.Reply(Answer::Yes, "Are you ready?");
  r.h.window.Type("66");
  r.h.window.lenientBoxes = true;  // OK to the rest, No to the quit question, no name
  ExpectSameAsData("stream-first-game.txt", r.Game());

  r.NextGame();
  r.Menu(7000, "Midi", "Set Stereo Width");
  r.Menu(8000, "Midi", "Stereo (on)");
  r.Keys(4000, {Key::Left, Key::Left, Key::Left, Key::Left, Key::Left});
  r.Keys(6000, std::vector<int>(7, Key::Right));
  r.Keys(9000, {Key::Down});
  r.Keys(9100, {Key::Down});
  r.Keys(10000, {Key::S});
  r.Keys(12000, {Key::Escape});
  r.h.window.lenientBoxes = false;
  r.h.window.Reply(Answer::Yes);
  r.h.window.Type("70");
  for (Answer a : {Answer::Ok, Answer::Ok, Answer::Yes}) r.h.window.Reply(a);
  ExpectSameAsData("stream-second-game.txt", r.Game());
}

TEST(Streams, ChordRefusalAndTheEndOfAGame) {
  using enum Answer;
  // {record, difficulty, keys at ms from the start, answers to the boxes, the name box}
  struct Scenario {
    const char* record;
    int difficulty;
    std::vector<std::pair<int64_t, std::vector<int>>> keys;
    std::vector<Answer> answers;
    int nameBox = -1;  // the box (from 0) that asks for a name: Ace is typed there
  };
  const std::vector<int> dropLeft = {Key::Down, Key::Space, Key::Left, Key::Left,
                                     Key::Left, Key::Left,  Key::Left};
  const Scenario scenarios[] = {
      {"stream-chord-game.txt",
       0,
       {{0, dropLeft},
        {3785, {Key::Left}},
        {6998, {Key::Down, Key::Space}},
        {59999, {Key::Escape}}},
       {Yes, Yes}},
      {"stream-refused-scale.txt",
       10,
       {{25166, {Key::Up}},
        {35833, {Key::Right}},
        {56345, {Key::Up}},
        {58249, {Key::Right, Key::Right}},
        {60245, {Key::Escape}}},
       {Yes, Ok, Ok, Yes}},
      {"stream-round-under-half.txt",
       10,
       {{25166, {Key::Up}}, {35833, {Key::Right}}, {63418, {Key::Left}}},
       {Yes, Ok, Ok, Ok},
       3},
  };
  for (const Scenario& s : scenarios) {
    Program r(s.difficulty);
    r.NextGame();
    // The chord game's first presses come inside the game, Start Game among them.
    if (s.difficulty == 0) r.Menu(0, "File", "Start Game");
    for (const auto& [ms, codes] : s.keys) r.Keys(ms, codes);
    for (size_t i = 0; i < s.answers.size(); ++i) {
      if (static_cast<int>(i) == s.nameBox) r.h.window.Type("Ace");
      r.h.window.Reply(s.answers[i]);
    }
    ExpectSameAsData(s.record, r.Game());
    EXPECT_EQ(r.h.window.PendingReplies(), 0u) << s.record;
  }
}

// Practice at difficulty 10, which it does not take: the scan at difficulty 0's pace, the
// note left alone for 30 s keeps its pitch and lands only on Space; the next one is lowered
// with Down until it lands; C says its column; no round ends, and Escape ends it. Then the
// tour, every box answered OK: the columns one by one at their pans, a scan, the falling
// note in columns 2 and 6, the moves, D sharp minor in column 3 and the C sharp major scale.
TEST(Streams, PracticeAndTheTour) {
  Program r(10);
  r.NextGame();
  r.Keys(30000, {Key::Space});
  for (int64_t ms : {36000, 37000, 38000, 39000, 40000}) r.Keys(ms, {Key::Down});
  r.Keys(45000, {Key::C});
  r.Keys(50000, {Key::Escape});
  r.h.window.Reply(Answer::Ok);
  r.h.window.lenientBoxes = true;
  ExpectSameAsData("stream-practice.txt", r.Game("File", "Practice"));
  for (int i = 0; i < 15; ++i) r.h.window.Reply(Answer::Ok);
  r.h.window.lenientBoxes = false;
  r.NextGame();
  ExpectSameAsData("stream-tour.txt", r.Game("Help", "Hear the Field"));
  EXPECT_EQ(r.h.window.PendingReplies(), 0u);
}

}  // namespace
}  // namespace kadeno::test
