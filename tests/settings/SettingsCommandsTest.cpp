// The settings commands: what each box says and offers, which answers count, how they
// are limited, and what reaches the settings file.
#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

// The line of the settings file that starts with key, or "" when there is none.
std::string FileLine(Harness& h, const std::string& key) {
  const std::string& text = h.window.files[h.SettingsPath()];
  size_t at = text.find("\r\n" + key + " = ");
  if (at == std::string::npos) return {};
  at += 2;
  return text.substr(at, text.find("\r\n", at) - at);
}

TEST(DrumVolumeCommand, AnswersAreAcceptedLimitedOrIgnored) {
  struct Case {
    std::string typed;              // "" is also what Cancel gives
    std::optional<int32_t> stored;  // nullopt: nothing changes and nothing is written
  };
  const Case cases[] = {
      {"0", 0},      {"200", 127},   {"-5", 0},     {"127.5", 127}, {"126.5", 126},
      {"12abc", 12}, {" 1 2", 12},   {"abc", {}},   {"a0b", 0},     {"", {}},
      {"1e400", {}}, {"1e300", 127}, {"-1e300", 0}, {"0.4", 0},     {"0.6", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Harness h;
    h.form.settings.DrumVolume = 55;
    h.window.Type(c.typed);
    h.form.mnuMidiDrumVolume_Click();

    ASSERT_EQ(h.window.boxes.size(), 1u);
    const BoxRecord& box = h.window.boxes[0];
    EXPECT_TRUE(box.input);
    EXPECT_EQ(box.prompt,
              "Drum Volume is now 55 out of 127.  Please enter the New value for Drum Volume.");
    EXPECT_EQ(box.defaultText, "100");
    EXPECT_FALSE(box.title.has_value());
    if (c.stored) {
      EXPECT_EQ(h.form.settings.DrumVolume, *c.stored);
      EXPECT_EQ(h.window.writes, 1);
      EXPECT_EQ(FileLine(h, "DrumVolume"), "DrumVolume = " + std::to_string(*c.stored));
    } else {
      EXPECT_EQ(h.form.settings.DrumVolume, 55);
      EXPECT_EQ(h.window.writes, 0);
    }
  }
}

using Handler = void (MainForm::*)();

// Each command must read, store and limit its own field (a copy-paste slip shows up as
// another field moving) and offer its own factory value.
TEST(ValueCommands, EachChangesItsOwnFieldUpToItsLimit) {
  struct Case {
    Handler handler;
    int32_t Settings::*field;
    std::string label;  // how the prompt names the value
    std::string offered;
    int32_t limit;
  };
  const Case cases[] = {
      {&MainForm::mnuFileSetDifficulty_Click, &Settings::Difficulty, "Difficulty Level", "2", 10},
      {&MainForm::mnuMidiStereoWide_Click, &Settings::StereoWide, "Stereo Width", "40", 100},
      {&MainForm::mnuMidiCurve_Click, &Settings::StereoCurve, "Stereo Curve", "30", 100},
      {&MainForm::mnuMidiStereoBalance_Click, &Settings::StereoBalance, "Stereo Balance", "60",
       100},
      {&MainForm::mnuMidiBaseLineVolume_Click, &Settings::BaseLineVolume, "BaseLine Volume", "127",
       127},
      {&MainForm::mnuMidiBaseLineInstrument_Click, &Settings::BaseLineInstrument,
       "BaseLine Instrument", "24", 127},
      {&MainForm::mnuMidiRow1Volume_Click, &Settings::Row1Volume, "Row 1 Volume", "100", 127},
      {&MainForm::mnuMidiRow1Instrument_Click, &Settings::Row1Instrument, "Row 1 Instrument", "24",
       127},
      {&MainForm::mnuMidiRow2Volume_Click, &Settings::Row2Volume, "Row 2 Volume", "100", 127},
      {&MainForm::mnuMidiRow2Instrument_Click, &Settings::Row2Instrument, "Row 2 Instrument", "24",
       127},
      {&MainForm::mnuMidiRow3Volume_Click, &Settings::Row3Volume, "Row 3 Volume", "100", 127},
      {&MainForm::mnuMidiRow3Instrument_Click, &Settings::Row3Instrument, "Row 3 Instrument", "1",
       127},
      {&MainForm::mnuMidiFallingVolume_Click, &Settings::FallingVolume, "Falling Volume", "100",
       127},
      {&MainForm::mnuMidiFallingInstrument_Click, &Settings::FallingInstrument,
       "Falling Instrument", "1", 127},
      {&MainForm::mnuMidiEffectVolume_Click, &Settings::EffectVolume, "Effect Volume", "100", 127},
      {&MainForm::mnuMidiEffectInstrument_Click, &Settings::EffectInstrument, "Effect Instrument",
       "0", 127},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Harness h;
    h.form.settings.*c.field = 7;
    const Settings before = h.form.settings;
    h.window.Type("9999");
    (h.form.*c.handler)();
    ASSERT_EQ(h.window.boxes.size(), 1u);
    const std::string& prompt = h.window.boxes[0].prompt;
    EXPECT_EQ(prompt.substr(0, c.label.size() + 9), c.label + " is now 7");
    EXPECT_NE(prompt.find(".  Please enter the New value for " + c.label + "."), std::string::npos);
    EXPECT_EQ(h.window.boxes[0].defaultText, c.offered);
    Settings expected = before;
    expected.*c.field = c.limit;
    EXPECT_EQ(h.window.files[h.SettingsPath()], FormatSettingsFile(expected));
  }
}

TEST(ValueCommands, DifficultyOffersTwoWhateverTheLevel) {
  Harness h;
  h.form.settings.Difficulty = 9;
  h.window.Type("11");
  h.form.mnuFileSetDifficulty_Click();
  EXPECT_EQ(h.window.boxes[0].defaultText, "2");
  EXPECT_EQ(h.form.settings.Difficulty, 10);
}

TEST(ValueCommands, KeyboardScalingIsAPercentageOfferingItsCurrentValue) {
  Harness h;
  h.form.settings.KeyboardScaling = 0.29f;  // held as 0.2899999..., shown as 29
  h.window.Type("50");
  h.window.Type("150");
  h.form.mnuMidiKeyboardScaling_Click();
  EXPECT_FLOAT_EQ(h.form.settings.KeyboardScaling, 0.5f);
  h.form.mnuMidiKeyboardScaling_Click();
  EXPECT_FLOAT_EQ(h.form.settings.KeyboardScaling, 1.0f);

  ASSERT_EQ(h.window.boxes.size(), 2u);
  EXPECT_EQ(h.window.boxes[0].prompt,
            "Keyboard Scaling for Midi Note Volume is now 29 percent.  Please enter the New value "
            "for Keyboard Scaling.");
  EXPECT_EQ(h.window.boxes[0].defaultText, "29");
  EXPECT_EQ(h.window.boxes[1].prompt,
            "Keyboard Scaling for Midi Note Volume is now 50 percent.  Please enter the New value "
            "for Keyboard Scaling.");
  EXPECT_EQ(h.window.boxes[1].defaultText, "50");
  EXPECT_EQ(FileLine(h, "KeyboardScaling"), "KeyboardScaling = 100");
}

TEST(ValueCommands, PitchedVoicesEndBeforeTheBoxButDrumsRingOn) {
  Harness h;
  h.FactorySound();
  for (int c : {Channel::BaseLine, Channel::Falling, Channel::Drum}) {
    h.form.midi.ChannelNote[c] = 60 + c;
    h.form.midi.ChannelVelocity[c] = 100;
    h.form.SoundChannel(c);
  }
  const size_t from = h.audio.words.size();
  h.window.Type("");
  h.form.mnuMidiRow1Volume_Click();
  std::vector<std::string> offs;
  for (size_t i = from; i < h.audio.words.size(); ++i) {
    const MidiRecord& r = h.audio.words[i];
    if (r.Status() == 0x80 || (r.Status() == 0x90 && r.Data2() == 0)) offs.push_back(r.Hex());
  }
  ASSERT_EQ(offs.size(), 2u);
  EXPECT_EQ(offs[0].substr(0, 5), "81 3D");
  EXPECT_EQ(offs[1].substr(0, 5), "85 41");
}

TEST(ValueCommands, StereoCommandsRebuildThePlacementAtOnce) {
  Harness h;
  h.FactorySound();
  const auto before = h.form.midi.PanTable;
  h.window.Type("100");
  h.form.mnuMidiStereoWide_Click();
  EXPECT_NE(h.form.midi.PanTable, before);
  EXPECT_EQ(h.form.midi.PanTable[126], h.form.MapPan(126));
  // A volume leaves the placement as it is.
  const auto wide = h.form.midi.PanTable;
  h.form.settings.StereoWide = 10;
  h.window.Type("50");
  h.form.mnuMidiDrumVolume_Click();
  EXPECT_EQ(h.form.midi.PanTable, wide);
}

TEST(Toggles, SayTheirNewStateAndRewriteTheCaptionWithoutSaving) {
  struct Case {
    Handler handler;
    bool Settings::*field;
    MenuItem item;
    std::string firstCaption, firstMessage, secondCaption, secondMessage;
  };
  const Case cases[] = {
      {&MainForm::mMidiStereo_Click, &Settings::Stereo, MenuItem::mMidiStereo, "Stereo (off)",
       "Kadeno will scan in mono", "Stereo (on)", "Kadeno will scan in stereo"},
      {&MainForm::mnuMidiFallingNoteMovementSound_Click, &Settings::FallingNoteMovementSound,
       MenuItem::mnuMidiFallingNoteMovementSound, "Falling Note Movement Sound (Note)",
       "Move a falling note, you'll hear the Falling Note.",
       "Falling Note Movement Sound (Percussive)", "Move a falling note, you'll hear Percussion."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firstCaption);
    Harness h;
    h.form.settings.*c.field = true;
    const auto pans = h.form.midi.PanTable;
    h.window.Reply(Answer::Ok);
    h.window.Reply(Answer::Ok);
    (h.form.*c.handler)();
    EXPECT_FALSE(h.form.settings.*c.field);
    (h.form.*c.handler)();
    EXPECT_TRUE(h.form.settings.*c.field);

    EXPECT_EQ(h.window.Prompts(), (std::vector<std::string>{c.firstMessage, c.secondMessage}));
    for (const BoxRecord& b : h.window.boxes) {
      EXPECT_EQ(b.style, Box::Ok);
      EXPECT_FALSE(b.title.has_value());
    }
    ASSERT_EQ(h.window.captions.size(), 2u);
    EXPECT_EQ(h.window.captions[0], std::make_pair(c.item, c.firstCaption));
    EXPECT_EQ(h.window.captions[1], std::make_pair(c.item, c.secondCaption));
    EXPECT_EQ(h.window.writes, 0);
    EXPECT_TRUE(h.audio.words.empty());
    EXPECT_EQ(h.form.midi.PanTable, pans);
  }
}

TEST(BackToDefault, NoChangesNothing) {
  Harness h;
  h.form.settings.DrumVolume = 3;
  h.window.Reply(Answer::No);
  h.form.mnuMidiBackToDefault_Click();
  ASSERT_EQ(h.window.boxes.size(), 1u);
  EXPECT_EQ(h.window.boxes[0].prompt,
            "Are you sure you want to reset all the midi settings back to factory default?");
  EXPECT_EQ(h.window.boxes[0].style, Box::YesNo);
  EXPECT_EQ(h.form.settings.DrumVolume, 3);
  EXPECT_EQ(h.window.writes, 0);
}

TEST(BackToDefault, YesRestoresTheSoundButNotThePlayersOwnSettings) {
  Harness h;
  Settings& s = h.form.settings;
  s.Stereo = false;
  s.Difficulty = 6;
  s.StartingSpeed = 9;
  s.HallOfFame[0] = {700.6, "Ann"};
  s.KeyboardScaling = 0.75f;
  s.StereoWide = 90;
  h.form.BuildPanTable();
  const auto pans = h.form.midi.PanTable;

  h.window.Reply(Answer::Yes);
  h.window.Reply(Answer::Ok, "Midi settings are now as Quenloft originally made them.");
  h.window.Type("");
  h.form.mnuMidiBackToDefault_Click();

  Settings expected;
  expected.DrumVolume = 100;
  expected.BaseLineVolume = 127;
  expected.Row1Volume = expected.Row2Volume = expected.Row3Volume = 100;
  expected.FallingVolume = expected.EffectVolume = 100;
  expected.BaseLineInstrument = expected.Row1Instrument = expected.Row2Instrument = 24;
  expected.Row3Instrument = expected.FallingInstrument = 1;
  expected.StereoWide = 40;
  expected.StereoCurve = 30;
  expected.StereoBalance = 60;
  expected.FallingNoteMovementSound = true;
  expected.Difficulty = 6;
  expected.StartingSpeed = 9;
  expected.HallOfFame[0] = {700.6, "Ann"};
  EXPECT_EQ(FormatSettingsFile(s), FormatSettingsFile(expected));
  EXPECT_EQ(h.window.files[h.SettingsPath()], FormatSettingsFile(expected));
  // The table and the movement caption wait for their own commands.
  EXPECT_EQ(h.form.midi.PanTable, pans);
  EXPECT_TRUE(h.window.captions.empty());

  h.form.mnuMidiStereoWide_Click();
  EXPECT_EQ(h.window.boxes.back().prompt,
            "Stereo Width is now 40 out of 100.  Please enter the New value for Stereo Width.");
}

}  // namespace
}  // namespace kadeno::test
