// MIDI words, the stereo tables, the voices, the choice of MIDI output, and when a lost
// service is tried again and which failures and returns are worth a line.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "retry/Reconnect.h"
#include "sound/AudioDeviceChoice.h"
#include "sound/Voices.h"
#include "support/Harness.h"
#include "support/TestData.h"

namespace kadeno {
namespace {

using test::Harness;
using test::ProgramEnded;
using Hex = std::vector<std::string>;

TEST(MidiWords, PackStatusAndLimitedDataBytesAndScaledVelocities) {
  EXPECT_EQ(NoteOnWord(9, 36, 100), 0x00642499u);
  EXPECT_EQ(ProgramChangeWord(1, 24), 0x000018C1u);
  EXPECT_EQ(NoteOffWord(5, 90, 100), 0x00645A85u);
  EXPECT_EQ(PanWord(15, 101), 0x00650ABFu);
  EXPECT_EQ(NoteOnWord(2, 200, -1), 0x00007F92u);  // bytes limited to 0..127
  EXPECT_EQ(NoteOnWord(2, -5, 300), 0x007F0092u);
  // {volume, scaling, note, velocity}: 99.82; 99.5 and 98.5 to the even neighbour; below 0,
  // limited only when packed.
  const std::tuple<int32_t, float, int32_t, int32_t> velocities[] = {
      {100, 0.5f, 36, 100}, {100, 1.0f, 50, 100}, {100, 1.0f, 150, 98}, {0, 1.0f, 127, -1}};
  for (const auto& [volume, scaling, note, velocity] : velocities)
    EXPECT_EQ(ScaledVelocity(volume, scaling, note), velocity) << note;
}

TEST(Stereo, ColumnTables) {
  const std::tuple<int, int, int, std::array<int32_t, 7>> cases[] = {
      {40, 30, 60, {45, 53, 62, 73, 84, 93, 101}},
      {50, 50, 50, {16, 32, 47, 63, 79, 94, 110}},
      {100, 50, 50, {0, 0, 26, 63, 100, 127, 127}},
      {0, 50, 50, {79, 74, 68, 63, 58, 52, 47}},
  };
  for (const auto& [wide, curve, balance, columns] : cases) {
    std::array<int32_t, 7> got{};
    for (int col = 1; col <= 7; ++col)
      got[col - 1] = MapPanValue(ColumnPan(col), true, wide, curve, balance);
    EXPECT_EQ(got, columns) << wide << "/" << curve << "/" << balance;
  }
  EXPECT_EQ(MapPanValue(1, true, 50, 50, 50), 16);  // exactly 16.5, to the even neighbour
  EXPECT_EQ(MapPanValue(77, false, 100, 0, 0), 77);
}

TEST(Stereo, SendPanLooksUpTheTableAndHonoursTheSwitch) {
  Harness h;
  h.FactorySound();
  h.form.voices().SendPan(0, 99);
  for (int c = 0; c < 16; ++c) EXPECT_EQ(h.audio.Pans(c), std::vector<int>{45}) << c;
  const size_t mark = h.audio.words.size();
  h.form.voices().SendPan(126, 20);
  h.form.voices().SendPan(63, -3);
  EXPECT_EQ(h.audio.Hex(mark), (Hex{"BF 0A 65", "B0 0A 49"}));

  h.S().Stereo = false;
  h.form.voices().SendPan(0, 99);
  EXPECT_EQ(h.audio.words.size(), mark + 2);
  // A table built while stereo is off passes nominal values through once it is back on.
  h.form.voices().BuildPanTable();
  h.S().Stereo = true;
  h.form.voices().SendPan(21, 6);
  EXPECT_EQ(h.audio.Pans(6, mark + 2), std::vector<int>{21});
}

TEST(SoundChannel, SameNoteTwiceSendsNothingAndCloseIsOnce) {
  Harness h;
  h.M().ChannelNote[3] = 60;
  h.M().ChannelVelocity[3] = 90;
  VoicesTestAccess::SoundChannel(h.form.voices(), 3);
  VoicesTestAccess::SoundChannel(h.form.voices(), 3);
  h.form.voices().EndChannelNote(4);  // nothing sounds there
  h.form.voices().CloseMidiOut();
  h.form.voices().CloseMidiOut();
  EXPECT_EQ(h.audio.Hex(), (Hex{"C3 00", "93 3C 5A", "83 3C 5A"}));
  EXPECT_EQ(h.audio.closes, 1);
}

TEST(SoundVoices, EachVoiceInItsOwnInstrumentAndVolume) {
  // Every figure different, no scaling: a voice given another's shows. Only here is row 3
  // checked: the recorded games never build three rows high.
  Harness h;
  Settings& s = h.S();
  std::tie(s.DrumVolume, s.BaseLineVolume, s.Row1Volume, s.Row2Volume, s.Row3Volume,
           s.FallingVolume) = std::tuple(121, 113, 97, 89, 77, 69);
  std::tie(s.BaseLineInstrument, s.Row1Instrument, s.Row2Instrument, s.Row3Instrument,
           s.FallingInstrument) = std::tuple(33, 41, 52, 61, 73);
  s.KeyboardScaling = 0;
  h.form.voices().SoundVoices(36, 60, 62, 64, 67, 72);  // the base line an octave down: 48
  EXPECT_EQ(h.audio.Hex(), (Hex{"C9 00", "99 24 79", "C1 21", "91 30 71", "C2 29", "92 3E 61",
                                "C3 34", "93 40 59", "C4 3D", "94 43 4D", "C5 49", "95 48 45"}));
}

TEST(OpenMidiOut, NoDeviceOrAFailedOpenSaysSoAndEnds) {
  for (int devices : {0, 1}) {
    Harness h;
    h.audio.deviceCount = devices;
    if (devices == 1) h.audio.openResult = OpenResult::DeviceInUse;  // it fails to open
    h.window.Reply(Answer::Ok,
                   "The Midi device is already in use by another program. If I were you I would "
                   "quit from the other program first. ");
    EXPECT_THROW(h.form.voices().OpenMidiOut(), ProgramEnded);
    EXPECT_EQ(h.audio.waves.size(), 1u);  // the stop of any wave sound
  }
  Harness ok;
  ok.M().MidiIsOpen = false;  // the harness starts as if already open
  ok.form.voices().OpenMidiOut();
  EXPECT_TRUE(ok.M().MidiIsOpen && ok.window.boxes.empty());
}

// tests/data/audio-device-choices.txt: every form, and stray values taken as the default.
TEST(AudioDeviceChoice, ReadsEveryFormAndTakesStrayValuesAsTheDefault) {
  using K = AudioDeviceChoice::Kind;
  const std::map<std::string, K> kinds = {
      {"Default", K::Default}, {"Log", K::Log}, {"None", K::None}, {"Device", K::Device}};
  for (const auto& row : test::TestRows("audio-device-choices.txt")) {
    const AudioDeviceChoice c =
        ParseAudioDeviceChoice(row[0] == "(unset)" ? nullptr : row[0].c_str());
    EXPECT_EQ(std::tuple(c.kind, c.logPath, c.device),
              std::tuple(kinds.at(row.at(1)), row.at(2), std::stoi(row.at(3))))
        << row[0];
  }
}

// tests/data/reconnect-steps.txt: what each failure, success and question gets.
TEST(ReconnectPacer, TriesAndLinesFollowTheFailures) {
  for (const auto& row : test::TestRows("reconnect-steps.txt")) {
    ReconnectPacer pacer{std::chrono::milliseconds(std::stoi(row.at(1)))};
    const ReconnectPacer::Clock::time_point start{std::chrono::hours(1)};
    std::istringstream in(row.at(2));
    for (std::string step; in >> step;) {
      const auto now = start + std::chrono::milliseconds(std::stoi(step.substr(1)));
      const bool answer = step[0] == 'F'   ? pacer.Failed(now)
                          : step[0] == 'S' ? pacer.Succeeded()
                                           : pacer.Due(now);
      EXPECT_EQ(answer, step.back() == '+') << row[0] << ": " << step;
    }
  }
}

}  // namespace
}  // namespace kadeno
