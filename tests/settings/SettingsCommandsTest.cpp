// The settings commands: which answers count, limits, fields, and what each leaves behind.
#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

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

using S = Settings;

// Each command stores its own field (a copy-paste slip moves another one) up to its limit
// and offers the factory value; only the stereo ones rebuild the placement, at once.
// Pitched voices end before the box, drums ring on.
TEST(ValueCommands, EachChangesItsOwnFieldUpToItsLimit) {
  const std::tuple<const char*, int32_t S::*, int32_t, const char*> cases[] = {
      {"mnuFileSetDifficulty", &S::Difficulty, 10, "2"},
      {"mnuMidiStereoWide", &S::StereoWide, 100, "40"},
      {"mnuMidiCurve", &S::StereoCurve, 100, "30"},
      {"mnuMidiStereoBalance", &S::StereoBalance, 100, "60"},
      {"mnuMidiDrumVolume", &S::DrumVolume, 127, "100"},
      {"mnuMidiBaseLineVolume", &S::BaseLineVolume, 127, "127"},
      {"mnuMidiBaseLineInstrument", &S::BaseLineInstrument, 127, "24"},
      {"mnuMidiRow1Volume", &S::Row1Volume, 127, "100"},
      {"mnuMidiRow1Instrument", &S::Row1Instrument, 127, "24"},
      {"mnuMidiRow2Volume", &S::Row2Volume, 127, "100"},
      {"mnuMidiRow2Instrument", &S::Row2Instrument, 127, "24"},
      {"mnuMidiRow3Volume", &S::Row3Volume, 127, "100"},
      {"mnuMidiRow3Instrument", &S::Row3Instrument, 127, "1"},
      {"mnuMidiFallingVolume", &S::FallingVolume, 127, "100"},
      {"mnuMidiFallingInstrument", &S::FallingInstrument, 127, "1"},
      {"mnuMidiEffectVolume", &S::EffectVolume, 127, "100"},
      {"mnuMidiEffectInstrument", &S::EffectInstrument, 127, "0"},
  };
  for (const auto& [item, field, limit, offered] : cases) {
    SCOPED_TRACE(offered);
    Harness h, want;
    h.FactorySound();
    h.S().*field = 7;
    for (int c : {Channel::BaseLine, Channel::Falling, Channel::Effect, Channel::Drum}) {
      h.M().ChannelNote[c] = 60 + c;
      h.M().ChannelVelocity[c] = 100;
      VoicesTestAccess::SoundChannel(h.form.voices(), c);
    }
    h.M().PanTable.fill(-1);  // a placement only a rebuild replaces
    h.window.Type(std::to_string(limit + 1));
    const size_t sent = h.audio.words.size();
    want.S() = h.form.settings();
    want.S().*field = limit;
    h.Click(item);

    ASSERT_EQ(h.window.boxes.size(), 1u);
    EXPECT_NE(h.window.boxes[0].prompt.find(" is now 7 "), std::string::npos);
    EXPECT_EQ(h.window.boxes[0].defaultText, offered);
    EXPECT_EQ(h.audio.Hex(sent), (std::vector<std::string>{"81 3D 64", "85 41 64", "86 42 64"}));
    EXPECT_EQ(h.window.files[h.SettingsPath()], FormatSettingsFile(want.form.settings()));
    want.form.voices().BuildPanTable();
    if (limit != 100) want.M().PanTable.fill(-1);
    EXPECT_EQ(h.M().PanTable, want.M().PanTable);
  }
}

TEST(ValueCommands, KeyboardScalingIsAPercentageOfferingItsCurrentValue) {
  Harness h;
  h.S().KeyboardScaling = 0.29f;  // held as 0.2899999..., shown as 29
  h.window.Type("50");
  h.window.Type("150");
  h.Click("mnuMidiKeyboardScaling");
  EXPECT_FLOAT_EQ(h.form.settings().KeyboardScaling, 0.5f);
  h.Click("mnuMidiKeyboardScaling");
  EXPECT_FLOAT_EQ(h.form.settings().KeyboardScaling, 1.0f);
  EXPECT_EQ(h.window.boxes.at(0).defaultText, "29");
  EXPECT_EQ(h.window.boxes.at(1).defaultText, "50");
  EXPECT_EQ(h.window.files[h.SettingsPath()], FormatSettingsFile(h.form.settings()));
}

// Only the switch, its caption and a message: no save, no sound, no new placement.
TEST(Toggles, SayTheirNewStateAndRewriteTheCaption) {
  Harness h;
  h.S().Stereo = h.S().FallingNoteMovementSound = true;
  h.M().PanTable.fill(-1);
  h.window.lenientBoxes = true;
  for (bool on : {false, true}) {
    h.form.mMidiStereo_Click();
    EXPECT_EQ(h.form.settings().Stereo, on);
    h.form.mnuMidiFallingNoteMovementSound_Click();
    EXPECT_EQ(h.form.settings().FallingNoteMovementSound, on);
  }
  EXPECT_EQ(h.window.Prompts(),
            (std::vector<std::string>{
                "Kadeno will scan in mono", "Move a falling note, you'll hear the Falling Note.",
                "Kadeno will scan in stereo", "Move a falling note, you'll hear Percussion."}));
  const MenuItem stereo = MenuItem::mMidiStereo, move = MenuItem::mnuMidiFallingNoteMovementSound;
  EXPECT_EQ(h.window.captions, (std::vector<std::pair<MenuItem, std::string>>{
                                   {stereo, "Stereo (off)"},
                                   {move, "Falling Note Movement Sound (Note)"},
                                   {stereo, "Stereo (on)"},
                                   {move, "Falling Note Movement Sound (Percussive)"}}));
  EXPECT_EQ(h.window.writes, 0);
  EXPECT_TRUE(h.audio.words.empty());
  EXPECT_EQ(h.M().PanTable[64], -1);
}

// Yes restores the sound but not the player's own settings; the placement and the movement
// caption wait for their own commands. No changes nothing.
TEST(BackToDefault, YesRestoresTheSoundNoChangesNothing) {
  for (Answer answer : {Answer::No, Answer::Yes}) {
    Harness h;
    Settings& s = h.S();
    s = {.DrumVolume = 3, .Difficulty = 6, .Row3Instrument = 5, .KeyboardScaling = 0.75f};
    s.HallOfFame[0] = {700.6, "Ann"};
    s.StartingSpeed = 9;
    h.M().PanTable.fill(-1);
    h.window.Reply(answer);
    if (answer == Answer::Yes) h.window.Reply(Answer::Ok);
    h.form.mnuMidiBackToDefault_Click();
    const bool yes = answer == Answer::Yes;
    EXPECT_EQ(std::tuple(s.DrumVolume, s.Row3Instrument, s.KeyboardScaling, s.StereoWide),
              yes ? std::tuple(100, 1, 0.0f, 40) : std::tuple(3, 5, 0.75f, 0));
    EXPECT_EQ(std::tuple(s.Difficulty, s.StartingSpeed, s.HallOfFame[0].Name, s.Stereo),
              std::tuple(6, 9, "Ann", false));
    EXPECT_EQ(h.window.files[h.SettingsPath()], yes ? FormatSettingsFile(s) : "");
    EXPECT_EQ(h.M().PanTable[64], -1);
    EXPECT_TRUE(h.window.captions.empty());
  }
}

}  // namespace
}  // namespace kadeno::test
