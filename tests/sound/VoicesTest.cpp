#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno {
namespace {

using test::Harness;
using test::ProgramEnded;
using Hex = std::vector<std::string>;

TEST(MidiWords, PackStatusAndLimitedDataBytes) {
  EXPECT_EQ(NoteOnWord(9, 36, 100), 0x00642499u);
  EXPECT_EQ(ProgramChangeWord(1, 24), 0x000018C1u);
  EXPECT_EQ(NoteOffWord(5, 90, 100), 0x00645A85u);
  EXPECT_EQ(PanWord(15, 101), 0x00650ABFu);
  EXPECT_EQ(NoteOnWord(2, 200, -1), 0x00007F92u);  // bytes limited to 0..127
  EXPECT_EQ(NoteOnWord(2, -5, 300), 0x007F0092u);
}

TEST(Velocity, ScaledByNoteAndRoundedHalfToEven) {
  const struct {
    int32_t volume;
    float scaling;
    int32_t note;
    int32_t velocity;
  } cases[] = {
      {100, 0.5f, 36, 100},  // 99.82
      {100, 1.0f, 50, 100},  // 99.5 rounds to the even 100
      {100, 1.0f, 150, 98},  // 98.5 rounds to 98
      {0, 1.0f, 127, -1},    // limited to 0 only when packed
      {127, 0.0f, 90, 127},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScaledVelocity(c.volume, c.scaling, c.note), c.velocity)
        << c.volume << " " << c.scaling << " " << c.note;
  }
}

TEST(SoundVoices, SoundsDrumBaseAndRowsButNotTheEmptyGround) {
  Harness h;
  h.FactorySound();
  h.form.voices().SoundVoices(36, 48, 48, 55, 0, 0);
  EXPECT_EQ(h.audio.Hex(), (Hex{"C9 00", "99 24 64",     // drum first
                                "C1 18", "91 24 7F",     // base line one octave down
                                "C3 18", "93 37 64"}));  // row 2; row 1 equals the base
  // Now row 2 equals the base and row 1 sounds.
  h.form.voices().AllNotesOff();
  const size_t mark = h.audio.words.size();
  h.form.voices().SoundVoices(36, 48, 55, 48, 0, 0);
  EXPECT_EQ(h.audio.NotesOn(Channel::Row1, mark), std::vector<int>{55});
  EXPECT_EQ(h.audio.NotesOn(Channel::Row2, mark), std::vector<int>{});
}

TEST(SoundVoices, SilentVoicesAndRestartedNotes) {
  Harness h;
  h.FactorySound();
  h.form.settings().DrumVolume = 0;
  h.form.settings().Row2Volume = 0;
  h.form.voices().SoundVoices(38, 48, 60, 64, 0, 90);
  EXPECT_EQ(h.audio.Hex(), (Hex{"C1 18", "91 24 7F", "C2 18", "92 3C 64", "C5 01", "95 5A 64"}));
  // The next step ends every note and strikes the same notes again.
  const size_t mark = h.audio.words.size();
  h.form.voices().AllNotesOff();
  h.form.voices().SoundVoices(38, 48, 60, 64, 0, 90);
  EXPECT_EQ(h.audio.Hex(mark), (Hex{"81 24 7F", "82 3C 64", "85 5A 64", "C1 18", "91 24 7F",
                                    "C2 18", "92 3C 64", "C5 01", "95 5A 64"}));
}

TEST(SoundChannel, SameNoteTwiceSendsNothingAndCloseIsOnce) {
  Harness h;
  h.M().ChannelNote[3] = 60;
  h.M().ChannelVelocity[3] = 90;
  h.form.voices().SoundChannel(3);
  h.form.voices().SoundChannel(3);
  h.form.voices().EndChannelNote(4);  // nothing sounds there
  EXPECT_EQ(h.audio.Hex(), (Hex{"C3 00", "93 3C 5A"}));
  h.form.voices().CloseMidiOut();
  h.form.voices().CloseMidiOut();
  EXPECT_EQ(h.audio.Hex(2), (Hex{"83 3C 5A"}));
  EXPECT_EQ(h.audio.closes, 1);
  EXPECT_FALSE(h.M().MidiIsOpen);
}

TEST(OpenMidiOut, NoDeviceOrAFailedOpenSaysSoAndEnds) {
  for (bool failOpen : {false, true}) {
    Harness h;
    h.M().MidiIsOpen = false;
    if (failOpen)
      h.audio.openResult = OpenResult::DeviceInUse;
    else
      h.audio.deviceCount = 0;
    h.window.Reply(Answer::Ok, "The Midi device is already in use by another program.");
    EXPECT_THROW(h.form.voices().OpenMidiOut(), ProgramEnded);
    ASSERT_EQ(h.window.boxes.size(), 1u);
    EXPECT_EQ(h.audio.waves.size(), 1u);  // the stop of any wave sound
    EXPECT_EQ(h.window.writes, 0);
  }
  Harness ok;
  ok.M().MidiIsOpen = false;
  ok.form.voices().OpenMidiOut();
  EXPECT_TRUE(ok.M().MidiIsOpen);
  EXPECT_TRUE(ok.window.boxes.empty());
}

}  // namespace
}  // namespace kadeno
