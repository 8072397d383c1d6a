// The settings commands: their boxes, which answers count, limits, and the settings file.
#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(DrumVolumeCommand, AnswersAreAcceptedLimitedOrIgnored) {
  const std::pair<std::string, std::optional<int32_t>> cases[] = {
      {"0", 0},      {"200", 127},   {"-5", 0},     {"127.5", 127}, {"126.5", 126},
      {"12abc", 12}, {" 1 2", 12},   {"abc", {}},   {"a0b", 0},     {"" /* Cancel */, {}},
      {"1e400", {}}, {"1e300", 127}, {"-1e300", 0}, {"0.4", 0},     {"0.6", 1},
  };
  for (const auto& [typed, stored] : cases) {
    SCOPED_TRACE(typed);
    Harness h;
    h.form.settings().DrumVolume = 55;
    h.window.Type(typed);
    h.form.mnuMidiDrumVolume_Click();
    EXPECT_EQ(h.form.settings().DrumVolume, stored.value_or(55));
    EXPECT_EQ(h.window.writes, stored ? 1 : 0);
    EXPECT_EQ(h.window.files[h.SettingsPath()],
              stored ? FormatSettingsFile(h.form.settings()) : "");
  }
}

using Handler = void (MainForm::*)();
using M = MainForm;
using S = Settings;

// Each command asks in its own words, offers its factory value, stores its own field
// (a copy-paste slip moves another one) up to its limit, and only the stereo ones
// rebuild the placement, at once; pitched voices end before the box, drums ring on.
TEST(ValueCommands, EachChangesItsOwnFieldUpToItsLimit) {
  const std::tuple<Handler, int32_t S::*, std::string, std::string, const char*> cases[] = {
      {&M::mnuFileSetDifficulty_Click, &S::Difficulty, "Difficulty Level", "out of ten", "2"},
      {&M::mnuMidiStereoWide_Click, &S::StereoWide, "Stereo Width", "out of 100", "40"},
      {&M::mnuMidiCurve_Click, &S::StereoCurve, "Stereo Curve", "out of 100", "30"},
      {&M::mnuMidiStereoBalance_Click, &S::StereoBalance, "Stereo Balance", "out of 100", "60"},
      {&M::mnuMidiDrumVolume_Click, &S::DrumVolume, "Drum Volume", "out of 127", "100"},
      {&M::mnuMidiBaseLineVolume_Click, &S::BaseLineVolume, "BaseLine Volume", "out of 127", "127"},
      {&M::mnuMidiBaseLineInstrument_Click, &S::BaseLineInstrument, "BaseLine Instrument", "of 127",
       "24"},
      {&M::mnuMidiRow1Volume_Click, &S::Row1Volume, "Row 1 Volume", "out of 127", "100"},
      {&M::mnuMidiRow1Instrument_Click, &S::Row1Instrument, "Row 1 Instrument", "of 127", "24"},
      {&M::mnuMidiRow2Volume_Click, &S::Row2Volume, "Row 2 Volume", "out of 127", "100"},
      {&M::mnuMidiRow2Instrument_Click, &S::Row2Instrument, "Row 2 Instrument", "of 127", "24"},
      {&M::mnuMidiRow3Volume_Click, &S::Row3Volume, "Row 3 Volume", "out of 127", "100"},
      {&M::mnuMidiRow3Instrument_Click, &S::Row3Instrument, "Row 3 Instrument", "of 127", "1"},
      {&M::mnuMidiFallingVolume_Click, &S::FallingVolume, "Falling Volume", "out of 127", "100"},
      {&M::mnuMidiFallingInstrument_Click, &S::FallingInstrument, "Falling Instrument", "of 127",
       "1"},
      {&M::mnuMidiEffectVolume_Click, &S::EffectVolume, "Effect Volume", "out of 127", "100"},
      {&M::mnuMidiEffectInstrument_Click, &S::EffectInstrument, "Effect Instrument", "of 127", "0"},
  };
  for (const auto& [handler, field, label, outOf, offered] : cases) {
    SCOPED_TRACE(label);
    Harness h;
    h.FactorySound();
    h.form.settings().*field = 7;
    for (int c : {Channel::BaseLine, Channel::Falling, Channel::Drum}) {
      h.M().ChannelNote[c] = 60 + c;
      h.M().ChannelVelocity[c] = 100;
      h.form.voices().SoundChannel(c);
    }
    h.M().PanTable.fill(-1);  // a placement only a rebuild replaces
    const int32_t limit = outOf.ends_with("ten") ? 10 : std::stoi(outOf.substr(outOf.size() - 3));
    h.window.Type(std::to_string(limit + 1));
    const size_t sent = h.audio.words.size();
    Harness want;
    want.form.settings() = h.form.settings();
    want.form.settings().*field = limit;
    (h.form.*handler)();

    ASSERT_EQ(h.window.boxes.size(), 1u);
    EXPECT_EQ(h.window.boxes[0].prompt,
              label + " is now 7 " + outOf + ".  Please enter the New value for " + label + ".");
    EXPECT_EQ(h.window.boxes[0].defaultText, offered);
    EXPECT_EQ(h.audio.Hex(sent), (std::vector<std::string>{"81 3D 64", "85 41 64"}));
    want.form.voices().BuildPanTable();
    EXPECT_EQ(h.window.files[h.SettingsPath()], FormatSettingsFile(want.form.settings()));
    if (!label.starts_with("Stereo")) want.M().PanTable.fill(-1);
    EXPECT_EQ(h.M().PanTable, want.M().PanTable);
  }
}

TEST(ValueCommands, KeyboardScalingIsAPercentageOfferingItsCurrentValue) {
  Harness h;
  h.form.settings().KeyboardScaling = 0.29f;  // held as 0.2899999..., shown as 29
  h.window.Type("50");
  h.window.Type("150");
  h.form.mnuMidiKeyboardScaling_Click();
  EXPECT_FLOAT_EQ(h.form.settings().KeyboardScaling, 0.5f);
  h.form.mnuMidiKeyboardScaling_Click();
  EXPECT_FLOAT_EQ(h.form.settings().KeyboardScaling, 1.0f);
  EXPECT_EQ(h.window.boxes.at(0).defaultText, "29");
  EXPECT_EQ(h.window.boxes.at(1).defaultText, "50");
  EXPECT_EQ(h.window.boxes.at(1).prompt,
            "Keyboard Scaling for Midi Note Volume is now 50 percent.  Please enter the New value "
            "for Keyboard Scaling.");
  EXPECT_EQ(h.window.files[h.SettingsPath()], FormatSettingsFile(h.form.settings()));
}

// Only the switch, its caption and a message: no save, no sound, no new placement.
TEST(Toggles, SayTheirNewStateAndRewriteTheCaption) {
  Harness h;
  h.form.settings().Stereo = h.form.settings().FallingNoteMovementSound = true;
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
    Settings& s = h.form.settings();
    s = {.DrumVolume = 3, .Difficulty = 6, .KeyboardScaling = 0.75f, .StartingSpeed = 9};
    s.HallOfFame[0] = {700.6, "Ann"};
    h.M().PanTable.fill(-1);
    Settings want = s;
    if (answer == Answer::Yes) {
      // The factory sound, as it was made; difficulty, speed and places stay, stereo too.
      want = {.DrumVolume = 100,
              .Difficulty = 6,
              .BaseLineVolume = 127,
              .Row1Volume = 100,
              .Row2Volume = 100,
              .Row3Volume = 100,
              .FallingVolume = 100,
              .EffectVolume = 100,
              .BaseLineInstrument = 24,
              .Row1Instrument = 24,
              .Row2Instrument = 24,
              .Row3Instrument = 1,
              .FallingInstrument = 1,
              .EffectInstrument = 0,
              .KeyboardScaling = 0,
              .HallOfFame = want.HallOfFame,
              .StartingSpeed = 9,
              .StereoWide = 40,
              .StereoCurve = 30,
              .StereoBalance = 60,
              .FallingNoteMovementSound = true,
              .Stereo = false};
    }
    h.window.Reply(answer);
    if (answer == Answer::Yes)
      h.window.Reply(Answer::Ok, "Midi settings are now as Quenloft originally made them.");
    h.form.mnuMidiBackToDefault_Click();
    EXPECT_EQ(h.window.boxes[0].prompt,
              "Are you sure you want to reset all the midi settings back to factory default?");
    EXPECT_EQ(h.window.boxes[0].style, Box::YesNo);
    EXPECT_EQ(FormatSettingsFile(s), FormatSettingsFile(want));
    EXPECT_EQ(h.window.files[h.SettingsPath()],
              answer == Answer::Yes ? FormatSettingsFile(want) : "");
    EXPECT_EQ(h.M().PanTable[64], -1);
    EXPECT_TRUE(h.window.captions.empty());
  }
}

}  // namespace
}  // namespace kadeno::test
