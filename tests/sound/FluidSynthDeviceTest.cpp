// What a player hears from the built-in synthesiser: the game's own words, rendered
// offline through the real FluidSynth and the default soundfont, no audio driver needed.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <numeric>

#include "sound/FluidSynthDevice.h"
#include "support/Harness.h"

namespace kadeno {
namespace {

using test::Harness;

struct Sound {
  std::vector<float> left, right;
  double Energy(double from, double to) const {
    double e = 0;
    for (size_t i = Index(from); i < Index(to); ++i) e += left[i] * left[i] + right[i] * right[i];
    return e;
  }
  double LeftShare(double from, double to) const {
    double l = 0;
    for (size_t i = Index(from); i < Index(to); ++i) l += left[i] * left[i];
    return l / Energy(from, to);
  }
  // The fundamental: the shortest lag whose autocorrelation comes near the best one.
  double Pitch(double from, double to) const {
    const size_t a = Index(from), b = Index(to), minLag = 44100 / 2000, maxLag = 44100 / 100;
    std::vector<double> r(maxLag + 1);
    for (size_t lag = minLag; lag <= maxLag; ++lag) {
      for (size_t i = a; i + lag < b; ++i) r[lag] += left[i] * left[i + lag];
    }
    const double best = *std::max_element(r.begin(), r.end());
    size_t lag = minLag;
    while (r[lag] < 0.9 * best || r[lag + 1] > r[lag]) ++lag;
    const double shift = 0.5 * (r[lag - 1] - r[lag + 1]) / (r[lag - 1] - 2 * r[lag] + r[lag + 1]);
    return 44100.0 / (static_cast<double>(lag) + shift);
  }
  double CrossingsPerSecond(double from, double to) const {
    int n = 0;
    for (size_t i = Index(from) + 1; i < Index(to); ++i) n += (left[i - 1] < 0) != (left[i] < 0);
    return n / (to - from);
  }
  // The synthesiser's idle output is not exactly zero, but far below hearing.
  bool Silent(double from, double to) const { return Energy(from, to) < 1e-9; }
  static size_t Index(double seconds) { return static_cast<size_t>(seconds * 44100); }
};

FluidSynthOptions Offline() {
  FluidSynthOptions o;
  o.soundfont = ChooseSoundfont(nullptr, DefaultSoundfonts());
  o.audioOutput = false;
  return o;
}

// Plays words into a fresh synthesiser, rendering `seconds` after each batch in the blocks
// an audio driver would ask for.
Sound Play(const std::vector<std::vector<uint32_t>>& batches, double seconds,
           FluidSynthDevice* device = nullptr) {
  FluidSynthDevice own(Offline());
  FluidSynthDevice& d = device ? *device : own;
  EXPECT_EQ(d.Open(), 0);
  Sound s;
  for (const auto& words : batches) {
    for (uint32_t w : words) d.SendShortMessage(w);
    for (size_t done = 0, n = Sound::Index(seconds); done < n; done += 64) {
      float l[64], r[64];
      d.Render(64, l, r);
      s.left.insert(s.left.end(), l, l + 64);
      s.right.insert(s.right.end(), r, r + 64);
    }
  }
  return s;
}

// The words the game sends for a falling note in a column, at the factory sound settings.
std::vector<uint32_t> FallingNoteWords(int column, int32_t note) {
  Harness h;
  h.FactorySound();
  h.form.settings.DrumVolume = h.form.settings.BaseLineVolume = 0;
  h.form.SendPan((column - 1) * 21, Channel::All);
  h.form.SoundVoices(36, 48, 0, 0, 0, note);
  std::vector<uint32_t> words;
  for (const auto& r : h.audio.words) words.push_back(r.word);
  return words;
}

TEST(FluidSynthDevice, TheDefaultSoundfontIsFound) {
  EXPECT_FALSE(Offline().soundfont.empty()) << "no General MIDI soundfont: scripts/deps.sh run";
}

TEST(FluidSynthDevice, FallingNote69SoundsAt440Hz) {
  const Sound s = Play({FallingNoteWords(4, 69)}, 0.6);
  EXPECT_NEAR(s.Pitch(0.1, 0.5), 440.0, 4.0);
}

TEST(FluidSynthDevice, ColumnsStandApartFromLeftToRight) {
  std::vector<double> share;
  for (int column = 1; column <= 7; ++column) {
    share.push_back(Play({FallingNoteWords(column, 69)}, 0.5).LeftShare(0, 0.5));
  }
  for (size_t c = 1; c < share.size(); ++c) EXPECT_LT(share[c], share[c - 1]) << "column " << c + 1;
  EXPECT_GE(share.front() - share.back(), 0.5) << share.front() << " .. " << share.back();
}

TEST(FluidSynthDevice, NoteOffEndsTheNote) {
  Harness h;
  h.form.midi.NoteSounding[Channel::Falling] = true;
  h.form.midi.SoundingNote[Channel::Falling] = 69;
  h.form.EndChannelNote(Channel::Falling);
  ASSERT_EQ(h.audio.words.size(), 1u);
  const Sound held = Play({FallingNoteWords(4, 69), {}}, 0.4);
  const Sound ended = Play({FallingNoteWords(4, 69), {h.audio.words[0].word}}, 0.4);
  EXPECT_GT(held.Energy(0.6, 0.8), 0);
  EXPECT_LT(ended.Energy(0.6, 0.8), 0.01 * held.Energy(0.6, 0.8));
}

TEST(FluidSynthDevice, PercussionChannelSoundsADrum) {
  // A closed hi-hat is noise, crossing zero thousands of times a second; the same key on
  // a melodic channel is a low F sharp.
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

// A sine wave file at the given rate, for the wave player.
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
  const std::string shortWave = WriteSine("short.wav", 48000, 441, 0.2);
  FluidSynthDevice d(Offline());
  d.PlayWave(longWave);
  Sound s = Play({{}}, 0.4, &d);
  EXPECT_NEAR(s.Pitch(0.05, 0.35), 441.0, 3.0);  // resampled from 22050 Hz to the output's rate
  EXPECT_NEAR(s.LeftShare(0, 0.4), 0.5, 1e-6);
  d.PlayWave(shortWave);
  s = Play({{}}, 0.4, &d);
  EXPECT_GT(s.Energy(0, 0.15), 0);
  EXPECT_TRUE(s.Silent(0.25, 0.4)) << "the long wave still plays";
  d.PlayWave(longWave);
  d.StopWave();
  EXPECT_TRUE(Play({{}}, 0.1, &d).Silent(0, 0.1));
}

TEST(FluidSynthDevice, MissingOrBrokenWavesAreSilent) {
  const std::string garbage = testing::TempDir() + "garbage.wav";
  const std::string header = testing::TempDir() + "header.wav";
  std::FILE* f = std::fopen(garbage.c_str(), "wb");
  std::fputs("not a wave at all, just text", f);
  std::fclose(f);
  f = std::fopen(header.c_str(), "wb");
  std::fwrite("RIFF\xff\xff\xff\x7fWAVEfmt \x10\0\0\0\x01\0\x01\0", 1, 24, f);
  std::fclose(f);
  for (const std::string& path : {std::string("/no/such/TenMore.wav"), garbage, header}) {
    FluidSynthDevice d(Offline());
    d.PlayWave(WriteSine("playing.wav", 44100, 441, 1.0));
    d.PlayWave(path);
    EXPECT_TRUE(Play({{}}, 0.1, &d).Silent(0, 0.1)) << path;
  }
}

}  // namespace
}  // namespace kadeno
