// The built-in synthesiser: which device and soundfont are chosen, what it says when it
// cannot open, and MIDI words and waves rendered offline through the default soundfont.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>

#include "fluidsynth/FluidSynthDevice.h"
#include "fluidsynth/FluidSynthDeviceFactory.h"
#include "sound/MidiOut.h"
#include "support/TempFolder.h"

namespace kadeno {
namespace {

TEST(FluidSynthDevices, ChosenByKadenoMidiOutAndKadenoSoundfont) {
  EXPECT_TRUE(dynamic_cast<FluidSynthDevice*>(MakeAudioDevice("").get()));
  const test::TempFolder own;
  const std::string a = own / "a.sf2", gone = own / "gone.sf2";
  std::ofstream(a) << "a";
  EXPECT_EQ(ChooseSoundfont(nullptr, {gone, a}), a);
  EXPECT_EQ(ChooseSoundfont("", {a}), a);  // an empty setting counts as none
  EXPECT_EQ(ChooseSoundfont(a.c_str(), {gone}), a);
  EXPECT_EQ(ChooseSoundfont(gone.c_str(), {a}), "");  // a wrong setting is not quietly replaced
}

TEST(FluidSynthDevices, NothingToPlayOnIsSaidInOneLine) {
  const test::TempFolder own;
  const std::string good = ChooseSoundfont(nullptr, DefaultSoundfonts()),
                    broken = own / "broken.sf2";
  std::ofstream(broken) << "RIFF but no soundfont";
  const struct {
    FluidSynthOptions options;
    OpenResult result;
    std::vector<std::string> said;  // each in the one line
  } cases[] = {
      {{.soundfont = "", .audioOutput = false}, OpenResult::NoSoundfont, {"no soundfont"}},
      {{.soundfont = broken, .audioOutput = false}, OpenResult::NoSoundfont, {"broken.sf2"}},
      {{.soundfont = good, .drivers = {}}, OpenResult::NoOutput, {"(none to try)"}},
      {{.soundfont = good, .drivers = {"no-such", "nor-this"}},
       OpenResult::NoOutput,
       {"no audio output opened (no-such: ", "; nor-this: "}},
  };
  for (const auto& c : cases) {
    FluidSynthDevice device(c.options);
    testing::internal::CaptureStderr();
    EXPECT_EQ(device.Open(), c.result);
    const std::string said = testing::internal::GetCapturedStderr();
    // FluidSynth's own messages go into our one line, but for the soundfont's loading.
    const auto lines = std::count(said.begin(), said.end(), '\n');
    EXPECT_EQ(c.options.soundfont == broken ? lines > 0 : lines == 1, true) << said;
    EXPECT_TRUE(said.find("kadeno: ") != said.npos &&
                said.find("kadeno: ") == said.rfind("kadeno: "))
        << said;
    for (const std::string& part : c.said) EXPECT_NE(said.find(part), std::string::npos) << said;
    device.SendShortMessage(NoteOnWord(0, 60, 100));  // nothing is open: must be harmless
  }
}

struct Sound {
  std::vector<float> left, right;
  static size_t At(double seconds) { return static_cast<size_t>(seconds * 44100); }
  double Energy(double from, double to, bool both = true) const {
    double e = 0;
    for (size_t i = At(from); i < At(to); ++i) e += left[i] * left[i] + both * right[i] * right[i];
    return e;
  }
  double LeftShare(double a, double b) const { return Energy(a, b, false) / Energy(a, b); }
  // The fundamental: the shortest lag whose autocorrelation comes near the best one.
  double Pitch(double from, double to) const {
    std::vector<double> r(402);
    for (size_t lag = 20; lag <= 400; ++lag)
      for (size_t i = At(from); i < At(to); ++i) r[lag] += left[i] * left[i + lag];
    const double best = *std::max_element(r.begin(), r.end());
    size_t lag = 20;
    while (r[lag] < 0.9 * best || r[lag + 1] > r[lag]) ++lag;
    return 44100.0 / static_cast<double>(lag);
  }
  double CrossingsPerSecond(double from, double to) const {
    int n = 0;
    for (size_t i = At(from) + 1; i < At(to); ++i) n += (left[i - 1] < 0) != (left[i] < 0);
    return n / (to - from);
  }
};

const std::string kSoundfont = ChooseSoundfont(nullptr, DefaultSoundfonts());
struct Synth : FluidSynthDevice {
  Synth() : FluidSynthDevice({.soundfont = kSoundfont, .audioOutput = false}) {}
  // Sends the words, then renders `seconds` in the blocks an audio driver asks for.
  Sound Play(const std::vector<uint32_t>& words, double seconds) {
    EXPECT_EQ(Open(), OpenResult::Ok) << "no General MIDI soundfont: scripts/deps.sh run";
    for (uint32_t w : words) SendShortMessage(w);
    const size_t n = (Sound::At(seconds) + 63) / 64 * 64;
    Sound s{std::vector<float>(n), std::vector<float>(n)};
    for (size_t i = 0; i < n; i += 64) Render(64, &s.left[i], &s.right[i]);
    return s;
  }
};

// Note 69 at 440 Hz until its note off, placed further right with each column's pan.
TEST(FluidSynthDevice, ANoteSoundsWhereItIsPannedAtItsPitchUntilItsNoteOff) {
  std::vector<double> share;  // about 1.0 down to 0.0 with TimGM6mb
  for (int pan = 0; pan <= 126; pan += 21) {
    Synth synth;
    const Sound s = synth.Play({PanWord(5, pan), NoteOnWord(5, 69, 100)}, 0.4);
    share.push_back(s.LeftShare(0, 0.4));
    if (pan != 63) continue;
    EXPECT_NEAR(s.Pitch(0.1, 0.35), 440.0, 4.0);
    EXPECT_LT(synth.Play({NoteOffWord(5, 69, 100)}, 0.4).Energy(0.2, 0.4),
              0.01 * s.Energy(0.2, 0.4));
  }
  for (size_t c = 1; c < share.size(); ++c) EXPECT_LT(share[c], share[c - 1]) << "pan " << c * 21;
  EXPECT_GE(share.front() - share.back(), 0.5) << share.front() << " .. " << share.back();
}

// A hi-hat is noise, crossing zero thousands of times a second; kit 24 falls back to kit 0.
TEST(FluidSynthDevice, PercussionChannelSoundsADrum) {
  const std::tuple<int, int, bool> cases[] = {{9, 0, true}, {9, 24, true}, {0, 0, false}};
  for (const auto& [ch, program, drum] : cases) {
    const Sound s = Synth().Play({ProgramChangeWord(ch, program), NoteOnWord(ch, 42, 100)}, 0.2);
    ASSERT_GT(s.Energy(0, 0.2), 0) << ch << "/" << program;
    EXPECT_EQ(s.CrossingsPerSecond(0, 0.1) > 3000, drum) << ch << "/" << program;
  }
}

// A 441 Hz sine wave; the synthesiser's idle output is not exactly zero, but far below 1e-9.
std::string WriteSine(const std::string& path, int rate, double seconds) {
  SF_INFO info{0, rate, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<float> v(static_cast<size_t>(rate * seconds));
  for (size_t i = 0; i < v.size(); ++i) v[i] = 0.5f * std::sin(2 * M_PI * 441 * i / rate);
  sf_writef_float(f, v.data(), static_cast<sf_count_t>(v.size()));
  sf_close(f);
  return path;
}

// Resampled, in the middle; ended by the next wave, a stop, or a missing or broken file.
TEST(FluidSynthDevice, WavesPlayReplaceAndStop) {
  const test::TempFolder dir;
  const std::string longWave = WriteSine(dir / "long.wav", 22050, 2.0);
  std::ofstream(dir / "header.wav", std::ios::binary)
      .write("RIFF\xff\xff\xff\x7fWAVEfmt \x10\0\0\0\x01\0\x01\0", 24);
  Synth d;
  d.PlayWave(longWave);
  Sound s = d.Play({}, 0.4);
  EXPECT_NEAR(s.Pitch(0.05, 0.35), 441.0, 3.0);
  EXPECT_NEAR(s.LeftShare(0, 0.4), 0.5, 1e-6);
  // A sine of amplitude 0.5 comes out at a quarter of that (RMS 0.088): just above the
  // music, not over it.
  EXPECT_NEAR(std::sqrt(s.Energy(0.05, 0.35) / (2.0 * Sound::At(0.3))), 0.125 / M_SQRT2, 0.005);
  for (int time = 2; time <= 3; ++time) {  // played again before its end: from its start
    d.PlayWave(longWave);
    const Sound again = d.Play({}, 0.1);
    double worst = 0;
    for (size_t i = 0; i < Sound::At(0.1); ++i)
      worst = std::max(worst, std::fabs(static_cast<double>(again.left[i]) - s.left[i]));
    EXPECT_LT(worst, 1e-6) << "played a time " << time;
  }
  d.PlayWave(WriteSine(dir / "short.wav", 48000, 0.2));
  s = d.Play({}, 0.4);
  EXPECT_GT(s.Energy(0, 0.15), 0);
  EXPECT_LT(s.Energy(0.25, 0.4), 1e-9) << "the long wave still plays";
  const std::string ends[] = {"", "/no/such/TenMore.wav", dir / "header.wav"};
  for (const std::string& path : ends) {
    d.PlayWave(longWave);
    path.empty() ? d.StopWave() : d.PlayWave(path);
    EXPECT_LT(d.Play({}, 0.1).Energy(0, 0.1), 1e-9) << (path.empty() ? "stop" : path);
  }
}

}  // namespace
}  // namespace kadeno
