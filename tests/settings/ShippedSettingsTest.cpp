// The default settings file that ships beside the program: what it holds, and when the
// start-up reads it instead of the player's own file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

std::string ShippedPath(const Harness& h) { return h.window.programFolder + "/Kadeno-default.ini"; }

// Start-up up to the settings: the help left at its first page.
void StartUp(Harness& h) {
  h.window.Reply(Answer::Cancel);  // the first help page
  h.form.Form_Load();
}

// The file the build made (data/CMakeLists.txt) against the record a player gets by the
// menus from a first start with nothing at all: Back to Default, then the difficulty the
// box offers. Loading it gives that record; saving that record gives the file, byte for byte.
TEST(ShippedSettings, TheGeneratedFileIsTheFactoryReset) {
#ifndef KADENO_DEFAULT_SETTINGS_FILE
  GTEST_SKIP() << "the generated file is checked in the native build";
#else
  std::ifstream in(KADENO_DEFAULT_SETTINGS_FILE, std::ios::binary);
  ASSERT_TRUE(in) << KADENO_DEFAULT_SETTINGS_FILE;
  std::ostringstream generated;
  generated << in.rdbuf();

  Harness byMenus;
  StartUp(byMenus);
  EXPECT_EQ(byMenus.form.settings().DrumVolume, 0);  // nothing shipped: the old silence
  byMenus.window.Reply(
      Answer::Yes, "Are you sure you want to reset all the midi settings back to factory default?");
  byMenus.window.Reply(Answer::Ok, "Midi settings are now as Quenloft originally made them.");
  byMenus.form.mnuMidiBackToDefault_Click();
  byMenus.window.Type(
      "2",
      "Difficulty Level is now 0 out of ten.  Please enter the New value for Difficulty Level.");
  byMenus.Click("mnuFileSetDifficulty");
  EXPECT_EQ(byMenus.window.files[byMenus.SettingsPath()], generated.str());

  Harness shipped;
  shipped.window.files[ShippedPath(shipped)] = generated.str();
  StartUp(shipped);
  // Every field; the scaling exactly, as the file holds it only as a percentage.
  EXPECT_EQ(FormatSettingsFile(shipped.form.settings()), generated.str());
  EXPECT_EQ(shipped.form.settings().KeyboardScaling, byMenus.form.settings().KeyboardScaling);
  EXPECT_EQ(shipped.form.settings().DrumVolume, 100);
#endif
}

// Which file a start-up reads: the player's own alone when it is there (readable or not),
// else the shipped one when it reads; the load counts (the scan's first step is taken as
// short) only when a file was read or the player's own was there.
TEST(ShippedSettings, ThePlayersOwnFileWinsAndIsNeverMixed) {
  enum State { Absent, Present, Unreadable };
  const struct {
    State own, shipped;
    int32_t drum, row1;
    bool loaded;
  } cases[] = {
      {Present, Present, 5, 0, true},    {Present, Absent, 5, 0, true},
      {Unreadable, Present, 0, 0, true}, {Absent, Present, 100, 100, true},
      {Absent, Unreadable, 0, 0, false}, {Absent, Absent, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "own " << c.own << ", shipped " << c.shipped);
    Harness h;
    const std::string own = h.SettingsPath(), shipped = ShippedPath(h);
    const std::string shippedText =
        "DrumVolume = 100\r\nRow1Volume = 100\r\nFallingNoteMovementSound = Percussive\r\n";
    if (c.own != Absent) h.window.files[own] = "DrumVolume = 5\r\n";
    if (c.own == Unreadable) h.window.unreadable.insert(own);
    if (c.shipped != Absent) h.window.files[shipped] = shippedText;
    if (c.shipped == Unreadable) h.window.unreadable.insert(shipped);
    StartUp(h);
    EXPECT_EQ(
        std::tuple(h.form.settings().DrumVolume, h.form.settings().Row1Volume, h.G().StepMs == 1),
        std::tuple(c.drum, c.row1, c.loaded));
    const bool fromShipped = c.drum == 100;
    EXPECT_EQ(h.window.captions.size(), fromShipped ? 1u : 0u);

    // The first save writes the player's own file and leaves the shipped one as it was.
    EXPECT_THROW(h.form.mnuFileExit_Click(), ProgramEnded);
    EXPECT_EQ(h.window.files[own], FormatSettingsFile(h.form.settings()));
    if (c.shipped != Absent) {
      EXPECT_EQ(h.window.files[shipped], shippedText);
    }
  }
}

// The file's two switches through a real start: the menu captions the player reads, and
// what a move to column 1 sends: its pan only in stereo, then the falling note's echo on
// the effect channel (6) or the wood block on the drums' channel (9).
TEST(ShippedSettings, TheFilesSwitchesRuleTheStart) {
  const struct {
    const char *stereo, *movement, *heard;
  } cases[] = {
      {"True", "Note",
       "Stereo (on); Falling Note Movement Sound (Note); B6 0A 2C C6 00 96 3C 48 86 3C 48 "},
      {"True", "Percussive",
       "Stereo (on); Falling Note Movement Sound (Percussive); B9 0A 2C C9 00 99 25 5A 89 25 5A "},
      {"False", "Note",
       "Stereo (off); Falling Note Movement Sound (Note); C6 00 96 3C 48 86 3C 48 "},
      {"False", "Percussive",
       "Stereo (off); Falling Note Movement Sound (Percussive); C9 00 99 25 5A 89 25 5A "},
  };
  for (const auto& c : cases) {
    Harness h;
    h.window.files[h.SettingsPath()] = std::string("EffectVolume = 90\r\nStereo = ") + c.stereo +
                                       "\r\nFallingNoteMovementSound = " + c.movement + "\r\n";
    StartUp(h);
    h.G().FallingNote = 60;  // as in a game, for the echo to sound
    const size_t before = h.audio.words.size();
    h.form.Form_KeyDown(Key::Right, 0);
    std::string heard;
    for (const auto& caption : h.window.captions) heard += caption.second + "; ";
    for (const std::string& w : h.audio.Hex(before)) heard += w + " ";
    EXPECT_EQ(heard, c.heard) << c.stereo << ", " << c.movement;
  }
}

}  // namespace
}  // namespace kadeno::test
