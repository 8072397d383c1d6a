// Whole games on the virtual clock, their every MIDI word and wave with its time compared
// with a checked-in stream (tests/data/stream-*.txt). The keys come at fixed virtual times
// and the menu commands through the menu table, as a player would give them; every
// volume, instrument and stereo figure differs from every other, so a voice that reads
// another voice's setting, a pan from the wrong table or a wait of the wrong length shows
// as a changed line.
//
// One run, two games:
//  stream-first-game.txt: difficulty 10; the player moves the sixth note to the centre
//    (Up) and the seventh to the right (Right), so the top row holds the C# major scale:
//    its fanfare and the breath after it. Mid-game, Row 3 Volume is changed from the menu
//    and the movement sound toggled to percussion; Left, Left, Down and Space come one
//    right after another; P pauses and resumes, S says the score, Escape is answered No.
//    The second round scores nothing and ends the game.
//  stream-second-game.txt: the same run's second game from its Start Game: stereo turned
//    off from the menu in mid-game, the walls on both sides, Down twice, and Escape
//    answered Yes, which ends the program.
#include <gtest/gtest.h>

#include <functional>

#include "shell/MenuTable.h"
#include "support/Harness.h"
#include "support/TestData.h"

namespace kadeno::test {
namespace {

constexpr const char* kEveryFigureDifferent =
    "DrumVolume = 121\r\nDifficulty = 10\r\nBaseLineVolume = 113\r\nRow1Volume = 97\r\n"
    "Row2Volume = 89\r\nRow3Volume = 77\r\nFallingVolume = 69\r\nEffectVolume = 58\r\n"
    "BaseLineInstrument = 33\r\nRow1Instrument = 41\r\nRow2Instrument = 52\r\n"
    "Row3Instrument = 61\r\nFallingInstrument = 73\r\nEffectInstrument = 12\r\n"
    "KeyboardScaling = 17\r\nStereoWide = 44\r\nStereoCurve = 23\r\nStereoBalance = 57\r\n"
    "FallingNoteMovementSound = Note\r\nStereo = True\r\n";

void Choose(Harness& h, const std::string& item) {
  for (const MenuSpec& m : MainMenus()) {
    for (const MenuItemSpec& i : m.items) {
      if (i.caption == item) return (h.form.*i.command)();
    }
  }
  throw std::logic_error("no menu item " + item);
}

// Every word and wave from index `from` on, one a line: virtual time, then the word as
// the message log writes it, or the wave played (or "stop").
std::string Stream(const FakeAudio& a, size_t fromWord, size_t fromWave) {
  std::string out;
  size_t w = fromWave;
  auto waves = [&](size_t before) {
    for (; w < a.waves.size() && a.waves[w].wordsBefore <= before; ++w)
      out += std::to_string(a.waves[w].timeMs) + " wave " +
             (a.waves[w].path.empty() ? "stop" : a.waves[w].path) + "\n";
  };
  for (size_t i = fromWord; i < a.words.size(); ++i) {
    waves(i);
    out += std::to_string(a.words[i].timeMs) + " " + a.words[i].Hex() + "\n";
  }
  waves(a.words.size());
  return out;
}

TEST(Streams, TwoGamesInOneRunSoundAsRecorded) {
  Harness h;
  h.window.files[h.SettingsPath()] = kEveryFigureDifferent;
  h.window.Reply(Answer::Cancel);  // the help pages
  h.form.Form_Load();
  const size_t firstWord = h.audio.words.size();
  const int64_t t0 = h.window.now;
  const auto at = [&](int64_t ms, std::function<void()> action) { h.window.At(t0 + ms, action); };
  const auto keys = [&](std::vector<int> codes) {
    return [&h, codes] {
      for (int k : codes) h.form.Form_KeyDown(k, 0);
    };
  };
  at(25166, keys({Key::Up}));
  at(35833, keys({Key::Right}));  // the scale scores at 40936
  at(43000, [&] { Choose(h, "Row 3 Volume"); });
  at(44000, [&] { Choose(h, "Falling Note Movement Sound (Note)"); });
  at(45000, keys({Key::Left, Key::Left, Key::Down, Key::Space}));
  at(47000, keys({Key::P}));
  at(48500, keys({Key::P}));
  at(49000, keys({Key::S}));
  at(50000, keys({Key::Escape}));
  h.window.Reply(Answer::Yes, "Are you ready?");
  h.window.Type("66",
                "Row 3 Volume is now 77 out of 127.  Please enter the New value for Row 3 Volume.");
  h.window.lenientBoxes = true;  // OK to the rest, No to the quit question, no name
  Choose(h, "&Start Game");
  ExpectSameAsData("stream-first-game.txt", Stream(h.audio, firstWord, 0));
  EXPECT_EQ(h.window.PendingReplies(), 0u);

  const size_t secondWord = h.audio.words.size(), secondWave = h.audio.waves.size();
  const int64_t t1 = h.window.now;
  const auto after = [&](int64_t ms, std::function<void()> action) {
    h.window.At(t1 + ms, action);
  };
  after(3000, [&] { Choose(h, "Stereo (on)"); });
  after(4000, keys({Key::Left, Key::Left, Key::Left, Key::Left, Key::Left}));
  after(6000,
        keys({Key::Right, Key::Right, Key::Right, Key::Right, Key::Right, Key::Right, Key::Right}));
  after(9000, keys({Key::Down}));
  after(9100, keys({Key::Down}));
  after(12000, keys({Key::Escape}));
  h.window.lenientBoxes = false;
  h.window.Reply(Answer::Yes, "Are you ready?");
  h.window.Reply(Answer::Ok, "Kadeno will scan in mono");
  h.window.Reply(Answer::Yes, "Do you really want to quit?");
  EXPECT_THROW(Choose(h, "&Start Game"), ProgramEnded);
  ExpectSameAsData("stream-second-game.txt", Stream(h.audio, secondWord, secondWave));
}

}  // namespace
}  // namespace kadeno::test
