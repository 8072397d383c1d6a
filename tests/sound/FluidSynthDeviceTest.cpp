// What a player hears from the built-in synthesiser: the game's own words, rendered
// offline through the real FluidSynth and the default soundfont, no audio driver needed.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>

#include "sound/FluidSynthDevice.h"
#include "support/Harness.h"

namespace kadeno {
namespace {

constexpr double kRate = 44100;

struct Sound {
  std::vector<float> left, right;
  static size_t At(double seconds) { return static_cast<size_t>(seconds * kRate); }
  double Energy(double from, double to, bool rightToo = true) const {
    double e = 0;
    for (size_t i = At(from); i < At(to); ++i)
      e += left[i] * left[i] + rightToo * right[i] * right[i];
    return e;
  }
  double LeftShare(double from, double to) const {
    return Energy(from, to, false) / Energy(from, to);
  }
  // The synthesiser's idle output is not exactly zero, but far below hearing.
  bool Silent(double from, double to) const { return Energy(from, to) < 1e-9; }
  // The fundamental: the shortest lag whose autocorrelation comes near the best one.
  double Pitch(double from, double to) const {
    const size_t minLag = 20, maxLag = 400;
    std::vector<double> r(maxLag + 1);
    for (size_t lag = minLag; lag <= maxLag; ++lag) {
      for (size_t i = At(from); i < At(to); ++i) r[lag] += left[i] * left[i + lag];
    }
    const double best = *std::max_element(r.begin(), r.end());
    size_t lag = minLag;
    while (r[lag] < 0.9 * best || r[lag + 1] > r[lag]) ++lag;
    const double shift = 0.5 * (r[lag - 1] - r[lag + 1]) / (r[lag - 1] - 2 * r[lag] + r[lag + 1]);
    return kRate / (static_cast<double>(lag) + shift);
  }
  double CrossingsPerSecond(double from, double to) const {
    int n = 0;
    for (size_t i = At(from) + 1; i < At(to); ++i) n += (left[i - 1] < 0) != (left[i] < 0);
    return n / (to - from);
  }
};

FluidSynthOptions Offline() {
  FluidSynthOptions o;
  o.soundfont = ChooseSoundfont(nullptr, DefaultSoundfonts());
  EXPECT_FALSE(o.soundfont.empty()) << "no General MIDI soundfont: scripts/deps.sh run";
  o.audioOutput = false;
  return o;
}

// Sends each batch of words, then renders `seconds` in the blocks an audio driver asks for.
Sound Play(const std::vector<std::vector<uint32_t>>& batches, double seconds,
           FluidSynthDevice* device = nullptr) {
  FluidSynthDevice own(Offline());
  FluidSynthDevice& d = device ? *device : own;
  EXPECT_EQ(d.Open(), 0);
  Sound s;
  for (const auto& words : batches) {
    for (uint32_t w : words) d.SendShortMessage(w);
    for (size_t done = 0; done < Sound::At(seconds); done += 64) {
      float l[64], r[64];
      d.Render(64, l, r);
      s.left.insert(s.left.end(), l, l + 64);
      s.right.insert(s.right.end(), r, r + 64);
    }
  }
  return s;
}

// The words the game sends for a falling note in a column at the factory sound settings.
std::vector<uint32_t> FallingNoteWords(int column, int32_t note) {
  test::Harness h;
  h.FactorySound();
  h.form.settings.DrumVolume = h.form.settings.BaseLineVolume = 0;
  h.form.SendPan((column - 1) * 21, Channel::All);
  h.form.SoundVoices(36, 48, 0, 0, 0, note);
  std::vector<uint32_t> words;
  for (const auto& r : h.audio.words) words.push_back(r.word);
  return words;
}

TEST(FluidSynthDevice, FallingNote69SoundsAt440Hz) {
  EXPECT_NEAR(Play({FallingNoteWords(4, 69)}, 0.6).Pitch(0.1, 0.5), 440.0, 4.0);
}

TEST(FluidSynthDevice, ColumnsStandApartFromLeftToRight) {
  std::vector<double> share;  // about 0.71 down to 0.11 with TimGM6mb
  for (int column = 1; column <= 7; ++column) {
    share.push_back(Play({FallingNoteWords(column, 69)}, 0.5).LeftShare(0, 0.5));
  }
  for (size_t c = 1; c < share.size(); ++c) EXPECT_LT(share[c], share[c - 1]) << "column " << c + 1;
  EXPECT_GE(share.front() - share.back(), 0.5) << share.front() << " .. " << share.back();
}

TEST(FluidSynthDevice, NoteOffEndsTheNote) {
  const Sound held = Play({FallingNoteWords(4, 69), {}}, 0.4);
  const Sound ended =
      Play({FallingNoteWords(4, 69), {NoteOffWord(Channel::Falling, 69, 100)}}, 0.4);
  EXPECT_GT(held.Energy(0.6, 0.8), 0);
  EXPECT_LT(ended.Energy(0.6, 0.8), 0.01 * held.Energy(0.6, 0.8));
}

TEST(FluidSynthDevice, PercussionChannelSoundsADrum) {
  // A closed hi-hat is noise, crossing zero thousands of times a second; the same key on
  // a melodic channel is a low F sharp. Kit 24 is not in the soundfont: the standard kit
  // stands in, as the percussive movement sound sends the effect instrument there.
  const struct {
    int channel, program;
    bool drum;
  } cases[] = {{9, 0, true}, {9, 24, true}, {0, 0, false}};
  for (const auto& c : cases) {
    const Sound s =
        Play({{ProgramChangeWord(c.channel, c.program), NoteOnWord(c.channel, 42, 100)}}, 0.2);
    ASSERT_GT(s.Energy(0, 0.2), 0) << c.channel << "/" << c.program;
    EXPECT_EQ(s.CrossingsPerSecond(0, 0.1) > 3000, c.drum) << c.channel << "/" << c.program;
  }
}

std::string WriteSine(const char* name, int rate, double hz, double seconds) {
  const std::string path = testing::TempDir() + name;
  SF_INFO info{0, rate, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<float> v(static_cast<size_t>(rate * seconds));
  for (size_t i = 0; i < v.size(); ++i) v[i] = 0.5f * std::sin(2 * M_PI * hz * i / rate);
  sf_writef_float(f, v.data(), static_cast<sf_count_t>(v.size()));
  sf_close(f);
  return path;
}

TEST(FluidSynthDevice, WavesPlayReplaceAndStop) {
  const std::string longWave = WriteSine("long.wav", 22050, 441, 2.0);
  FluidSynthDevice d(Offline());
  d.PlayWave(longWave);
  Sound s = Play({{}}, 0.4, &d);
  EXPECT_NEAR(s.Pitch(0.05, 0.35), 441.0, 3.0);  // resampled from 22050 Hz to the output's rate
  EXPECT_NEAR(s.LeftShare(0, 0.4), 0.5, 1e-6);
  d.PlayWave(WriteSine("short.wav", 48000, 441, 0.2));
  s = Play({{}}, 0.4, &d);
  EXPECT_GT(s.Energy(0, 0.15), 0);
  EXPECT_TRUE(s.Silent(0.25, 0.4)) << "the long wave still plays";
  d.PlayWave(longWave);
  d.StopWave();
  EXPECT_TRUE(Play({{}}, 0.1, &d).Silent(0, 0.1));
}

TEST(FluidSynthDevice, MissingOrBrokenWavesAreSilent) {
  const std::string garbage = testing::TempDir() + "garbage.wav",
                    header = testing::TempDir() + "header.wav";
  std::ofstream(garbage) << "not a wave at all, just text";
  std::ofstream(header, std::ios::binary)
      .write("RIFF\xff\xff\xff\x7fWAVEfmt \x10\0\0\0\x01\0\x01\0", 24);
  for (const std::string& path : {std::string("/no/such/TenMore.wav"), garbage, header}) {
    FluidSynthDevice d(Offline());
    d.PlayWave(WriteSine("playing.wav", 44100, 441, 1.0));
    d.PlayWave(path);  // replaces the playing one with nothing
    EXPECT_TRUE(Play({{}}, 0.1, &d).Silent(0, 0.1)) << path;
  }
}

}  // namespace
}  // namespace kadeno
