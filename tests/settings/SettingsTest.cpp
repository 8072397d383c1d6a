// The settings file, its store, the shipped default file and the value commands (the hall of
// fame, the toggles and the factory reset: the whole run's transcript).
#include <gtest/gtest.h>

#include <sstream>

#include "settings/NumericValue.h"
#include "settings/Settings.h"
#include "support/Harness.h"
#include "support/TestData.h"

namespace kadeno::test {
namespace {

TEST(NumericValue, ReadsTheLongestLeadingNumberAndRefusesTooLarge) {
  for (const auto& row : TestRows("numeric-values.txt")) {
    std::string text = row.at(1);
    for (const auto& [escape, c] : {std::pair("\\t", '\t'), std::pair("\\n", '\n')})
      for (size_t at; (at = text.find(escape)) != std::string::npos;) text.replace(at, 2, 1, c);
    const std::optional<double> expected =
        row[0] == "refused" ? std::nullopt : std::optional(std::strtod(row[0].c_str(), nullptr));
    EXPECT_EQ(CheckedNumericValue(text), expected) << '"' << text << '"';
    EXPECT_EQ(NumericValue(text), expected.value_or(0)) << '"' << text << '"';
  }
}

// tests/data/settings-file.txt with its CR LF put back: every field set, so that a wrong key,
// order or form in either direction shows.
std::string WrittenFile() {
  std::string out;
  for (char c : TestData("settings-file.txt")) out += c == '\n' ? "\r\n" : std::string(1, c);
  return out;
}

TEST(SettingsFile, ReadsAndWritesTheThirtyThreeLines) {
  Settings s;
  s.Stereo = true;
  const std::string file = WrittenFile();
  const SettingsFileSeen seen = ParseSettingsFile(file, s);
  EXPECT_TRUE(seen.stereo && seen.movementSound);
  EXPECT_EQ(std::tuple(s.Difficulty, s.Row1Volume, s.EffectInstrument, s.StereoBalance, s.Stereo,
                       s.HallOfFame[2].Name),
            std::tuple(2, -4, 14, 18, false, "Bee"));
  EXPECT_FLOAT_EQ(s.KeyboardScaling, 0.29f);  // written back as 29, thanks to the 100.1
  EXPECT_DOUBLE_EQ(s.HallOfFame[1].Score, 900.1);
  EXPECT_EQ(FormatSettingsFile(s), file);
}

// Each line of tests/data/settings-load-rules.txt read onto a record, and the line saved.
TEST(SettingsFile, LoadRules) {
  for (const auto& row : TestRows("settings-load-rules.txt")) {
    Settings s;
    s.DrumVolume = s.Difficulty = s.StereoWide = 11;
    s.KeyboardScaling = 0.11f;
    s.Stereo = s.FallingNoteMovementSound = true;
    ParseSettingsFile(row[0] + "\r\n", s);
    EXPECT_NE(FormatSettingsFile(s).find(row.at(1) + "\r\n"), std::string::npos) << row[0];
  }
  for (int p = 0; p <= 100; ++p) {  // every percentage the command allows survives a save
    Settings s;
    ParseSettingsFile("KeyboardScaling = " + std::to_string(p) + "\r\n", s);
    EXPECT_EQ(KeyboardScalingPercent(s.KeyboardScaling), p);
  }
}

TEST(SettingsFile, HallOfFameNamesNeverTouchOtherFields) {
  Settings s;
  s.DrumVolume = 100;
  s.HallOfFame[0] = {500.1, "DrumVolume = 5"};
  s.HallOfFame[1] = {400.1, "  Ann = Bee  "};
  s.HallOfFame[2] = {300.1, "two\r\nlines\nStereo = False"};
  Settings back;
  ParseSettingsFile(FormatSettingsFile(s), back);
  EXPECT_EQ(back.DrumVolume, 100);
  EXPECT_EQ(back.HallOfFame[0].Name, "DrumVolume = 5");
  EXPECT_EQ(back.HallOfFame[1].Name, "Ann = Bee");
  EXPECT_EQ(back.HallOfFame[2].Name, "two  lines Stereo = False");
  EXPECT_FALSE(back.Stereo);  // the file's own Stereo line still counts

  // A stray CR in a name reads as the blank it is saved as: a second save changes nothing.
  Settings hand;
  ParseSettingsFile("1stPlaceName = a\r b\r \r\n", hand);
  EXPECT_EQ(hand.HallOfFame[0].Name, "a  b");
}

TEST(SettingsFile, ScoreValuesKeepFifteenDigits) {
  EXPECT_EQ(FormatScoreValue(123456789012.3), "123456789012.3");
  EXPECT_EQ(FormatScoreValue(-0.1), "-0.1");
  for (double v : {1e20, 1.5e-7, 123456789012345678.0}) {
    EXPECT_NEAR(NumericValue(FormatScoreValue(v)) / v, 1.0, 1e-14) << v;
  }
}

TEST(SettingsStore, SaveThroughTheWindow) {
  Harness h;
  h.S().DrumVolume = 42;
  h.G().ScanStampMs = 1234;
  h.form.store().SaveSettings();
  EXPECT_EQ(h.G().ScanStampMs, 0);

  const std::string before = h.window.files[h.SettingsPath()];
  h.window.failWrites = true;
  h.S().DrumVolume = 7;
  h.form.store().SaveSettings();
  EXPECT_EQ(h.window.files[h.SettingsPath()], before);
  EXPECT_EQ(h.window.problems,
            std::vector<std::string>{"the settings could not be saved to " + h.SettingsPath() +
                                     "; it keeps what it held before"});
}

// A close runs both handlers and saves once; the final release alone saves too.
TEST(SettingsStore, ClosingTheWindowSavesOnce) {
  for (bool unload : {true, false}) {
    Harness h;
    h.S().DrumVolume = 42;
    if (unload) h.form.Form_Unload();
    h.form.Form_Terminate();
    EXPECT_EQ(h.window.writes, 1);
    EXPECT_EQ(h.window.files[h.SettingsPath()], FormatSettingsFile(h.form.settings()));
    EXPECT_EQ(h.audio.closes, 1);
    EXPECT_FALSE(h.M().MidiIsOpen);
  }
}

// Level 0 is kept in the tenths as .05, and listed as level 0.
TEST(HallOfFame, LevelZeroIsKeptAsFiveHundredths) {
  Harness h;
  h.S().Difficulty = 0;
  h.S().HallOfFame[0] = {500.4, "a"};
  h.S().HallOfFame[1] = {300.1, "c"};
  h.window.Type("Zed");
  h.window.Reply(Answer::Ok);
  h.form.hallOfFame().OfferAtGameEnd(400);
  EXPECT_DOUBLE_EQ(h.S().HallOfFame[1].Score, 400.05);
  EXPECT_EQ(h.window.boxes.back().prompt,
            "Here is the Kadeno Masters Hall of Fame:\r\n"
            "First Place, with 500 points is a at a difficulty level of  5\r\n"
            "Second Place, with 400 points is Zed at a difficulty level of  0\r\n"
            "Third Place, with 300 points is c at a difficulty level of  2\r\n");
}

std::string ShippedPath(const Harness& h) { return h.window.programFolder + "/Kadeno-default.ini"; }

// Start-up up to the settings: the help left at its first page.
void StartUp(Harness& h) {
  h.window.Reply(Answer::Cancel);  // the first help page
  h.form.Form_Load();
}

// The file data/CMakeLists.txt made is what a first start with nothing gets by Back to
// Default and the difficulty the box offers: loaded, it gives that record; saved, the file.
TEST(ShippedSettings, TheGeneratedFileIsTheFactoryReset) {
#ifndef KADENO_DEFAULT_SETTINGS_FILE
  GTEST_SKIP() << "the generated file is checked in the native build";
#else
  const std::string generated = ReadWhole(KADENO_DEFAULT_SETTINGS_FILE);
  ASSERT_NE(generated, "") << KADENO_DEFAULT_SETTINGS_FILE;

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
  EXPECT_EQ(byMenus.window.files[byMenus.SettingsPath()], generated);

  Harness shipped;
  shipped.window.files[ShippedPath(shipped)] = generated;
  StartUp(shipped);
  // The scaling too, as the file holds it only as a percentage.
  EXPECT_EQ(FormatSettingsFile(shipped.form.settings()), generated);
  EXPECT_EQ(shipped.form.settings().KeyboardScaling, byMenus.form.settings().KeyboardScaling);
  EXPECT_EQ(shipped.form.settings().DrumVolume, 100);
#endif
}

// The player's own file alone when it is there (readable or not), else the shipped one;
// the load counts (the scan's first step taken as short) only when a file was read or the
// player's own was there.
TEST(ShippedSettings, ThePlayersOwnFileWinsAndIsNeverMixed) {
  enum State { Absent, Present, Unreadable };
  const std::tuple<State, State, int32_t, int32_t, bool> cases[] = {
      {Present, Present, 5, 0, true},    {Present, Absent, 5, 0, true},
      {Unreadable, Present, 0, 0, true}, {Absent, Present, 100, 100, true},
      {Absent, Unreadable, 0, 0, false}, {Absent, Absent, 0, 0, false},
  };
  for (const auto& [ownState, shippedState, drum, row1, loaded] : cases) {
    SCOPED_TRACE(testing::Message() << "own " << ownState << ", shipped " << shippedState);
    Harness h;
    const std::string own = h.SettingsPath(), shipped = ShippedPath(h);
    const std::string shippedText =
        "DrumVolume = 100\r\nRow1Volume = 100\r\nFallingNoteMovementSound = Percussive\r\n";
    if (ownState != Absent) h.window.files[own] = "DrumVolume = 5\r\n";
    if (ownState == Unreadable) h.window.unreadable.insert(own);
    if (shippedState != Absent) h.window.files[shipped] = shippedText;
    if (shippedState == Unreadable) h.window.unreadable.insert(shipped);
    StartUp(h);
    EXPECT_EQ(
        std::tuple(h.form.settings().DrumVolume, h.form.settings().Row1Volume, h.G().StepMs == 1),
        std::tuple(drum, row1, loaded));
    EXPECT_EQ(h.window.captions.size(), drum == 100 ? 1u : 0u);  // read from the shipped file
    // The first save writes the player's own file and leaves the shipped one as it was.
    EXPECT_THROW(h.form.mnuFileExit_Click(), ProgramEnded);
    EXPECT_EQ(h.window.files[own], FormatSettingsFile(h.form.settings()));
    EXPECT_EQ(h.window.files[shipped], shippedState == Absent ? "" : shippedText);
  }
}

// The file's two switches through a real start, both ways: the captions, and a move to
// column 1: its pan only in stereo, then the echo (channel 6) or the wood block (channel 9).
TEST(ShippedSettings, TheFilesSwitchesRuleTheStart) {
  const struct {
    const char *stereo, *movement, *heard;
  } cases[] = {
      {"True", "Note",
       "Stereo (on); Falling Note Movement Sound (Note); B6 0A 2C C6 00 96 3C 48 86 3C 48 "},
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

TEST(ValueCommands, AnswersAreAcceptedLimitedOrIgnored) {
  const std::pair<std::string, std::optional<int32_t>> cases[] = {
      {"0", 0},      {"200", 127},   {"-5", 0},     {"127.5", 127}, {"126.5", 126},
      {"12abc", 12}, {" 1 2", 12},   {"abc", {}},   {"a0b", 0},     {"" /* Cancel */, {}},
      {"1e400", {}}, {"1e300", 127}, {"-1e300", 0}, {"0.4", 0},     {"0.6", 1},
  };
  for (const auto& [typed, stored] : cases) {
    Harness h;
    h.S().DrumVolume = 55;
    h.window.Type(typed);
    h.Click("mnuMidiDrumVolume");
    EXPECT_EQ(h.form.settings().DrumVolume, stored.value_or(55)) << typed;
    EXPECT_EQ(h.window.files[h.SettingsPath()],
              stored ? FormatSettingsFile(h.form.settings()) : "");
  }
}

TEST(ValueCommands, AValueBoxSilencesTheEffectNote) {
  // A wall knock still sounding would hang on under the box for as long as it stays open.
  Harness h;
  h.form.voices().SoundEffectNote(Channel::Effect, 70, 90);
  h.window.Type("50");
  h.Click("mnuMidiDrumVolume");
  // Then, outside a game, the drum at its new volume (50): kick, kick, snare, kick.
  EXPECT_EQ(h.audio.Hex(),
            (std::vector<std::string>{"C6 00", "96 46 5A", "86 46 5A", "C9 00", "99 24 32",
                                      "89 24 32", "C9 00", "99 24 32", "89 24 32", "C9 00",
                                      "99 26 32", "89 26 32", "C9 00", "99 24 32", "89 24 32"}));
}

TEST(ValueCommands, StartGameChosenDuringThePhraseEndsItAndThenStarts) {
  // Not refused as in a game: the phrase stops after its first note.
  Harness h;
  h.window.Type("50");
  h.window.At(h.window.now + 300, [&h] { h.Click("mnuFileStartGame"); });
  h.window.Reply(Answer::No, "Are you ready?");
  h.window.Reply(Answer::Ok, "Game Play canceled by user request");
  h.Click("mnuMidiDrumVolume");
  EXPECT_EQ(h.audio.NotesOn(Channel::Drum), std::vector<int>{36});
  EXPECT_EQ(h.window.boxes.size(), 3u);
  EXPECT_EQ(h.window.PendingReplies(), 0u);
}

}  // namespace
}  // namespace kadeno::test
