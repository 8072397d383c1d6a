#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno {
namespace {

using test::Harness;
using Hex = std::vector<std::string>;

TEST(Delay, LimitsAndTheCallersVariable) {
  const struct {
    int32_t units;
    int64_t sleptMs;
    int32_t left;
  } cases[] = {
      {700000, 7000, 700000}, {700001, 0, 0}, {150, 1, 150}, {99, 0, 99}, {0, 0, 0},
      {-500, 0, -500},
  };
  for (const auto& c : cases) {
    Harness h;
    int32_t units = c.units;
    const int64_t start = h.window.now;
    Delay(h.window, units);
    EXPECT_EQ(h.window.now - start, c.sleptMs) << c.units;
    EXPECT_EQ(units, c.left) << c.units;
    EXPECT_EQ(h.window.yields, 1);
  }
}

TEST(Effects, HoldsFollowTheFloor) {
  // With a floor of 1500 the holds are 1500, 750, 500, 500 and 4500 hundredths: 15, 7, 5, 5
  // and 45 ms; before the first game the floor is 0 and nothing is held.
  const struct {
    std::function<void(Voices&, int32_t&)> play;
    int32_t floor;
    int64_t heldMs;
    const char* on;
  } cases[] = {
      {[](Voices& v, int32_t& f) { v.LandingEffectNote(80, f); }, 1500, 15, "96 50 64"},
      {[](Voices& v, int32_t& f) { v.DropEffectNote(80, f); }, 1500, 7, "96 50 64"},
      {[](Voices& v, int32_t& f) { v.PercussionEffect(37, f); }, 1500, 5, "99 25 64"},
      {[](Voices& v, int32_t& f) { v.FallingNoteEcho(90, f); }, 1500, 5,
       "96 5A 50"},  // 80% of the volume
      {[](Voices& v, int32_t& f) { v.AwardEffectNote(80, f); }, 1500, 45, "96 50 64"},
      {[](Voices& v, int32_t& f) { v.PercussionEffect(77, f); }, 0, 0, "99 4D 64"},
  };
  for (const auto& c : cases) {
    Harness h;
    h.FactorySound();
    h.form.settings().EffectInstrument = 11;
    int32_t floor = c.floor;
    c.play(h.form.voices(), floor);
    ASSERT_EQ(h.audio.words.size(), 3u) << c.on;
    EXPECT_EQ(h.audio.words[0].Hex().substr(3), "0B");  // the effect instrument
    EXPECT_EQ(h.audio.words[1].Hex(), c.on);
    EXPECT_EQ(h.audio.words[2].timeMs - h.audio.words[1].timeMs, c.heldMs) << c.on;
    EXPECT_EQ(h.audio.words[2].word, h.audio.words[1].word - 0x10) << "the note off";
    EXPECT_EQ(h.form.settings().EffectVolume, 100);
  }
}

TEST(Effects, ANestedEffectEndsTheNoteThatActuallySounds) {
  Harness h;
  h.FactorySound();
  int32_t floor = 1500;
  // A key press during the landing note's hold starts a drop note on the same channel.
  h.window.At(h.window.now, [&] { h.form.voices().DropEffectNote(70, floor); });
  h.form.voices().LandingEffectNote(80, floor);
  EXPECT_EQ(h.audio.Hex(), (Hex{"C6 00", "96 50 64",  // landing note
                                "86 50 64",           // ended by the nested effect
                                "C6 00", "96 46 64", "86 46 64"}));
  EXPECT_FALSE(h.M().NoteSounding[6]);
}

}  // namespace
}  // namespace kadeno
