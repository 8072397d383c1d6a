// The game's wait and its effect notes, against MIDI words and times worked out by hand.
#include <gtest/gtest.h>

#include "game/EffectNotes.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

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

}  // namespace
}  // namespace kadeno::test
