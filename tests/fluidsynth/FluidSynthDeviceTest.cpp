// The built-in synthesiser: device and soundfont choice, failures to open, sound rendered
// offline, and its stream on a private PulseAudio server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "fluidsynth/FluidSynthDevice.h"
#include "fluidsynth/FluidSynthDeviceFactory.h"
#include "sound/MidiOut.h"
#include "support/TempFolder.h"
#include "support/VirtualClock.h"

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
    int crossings = 0;  // in the first 0.1 s
    for (size_t i = 1; i < Sound::At(0.1); ++i) crossings += (s.left[i - 1] < 0) != (s.left[i] < 0);
    EXPECT_EQ(crossings > 300, drum) << ch << "/" << program;
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
  // At a quarter of its level (RMS 0.088): just above the music, not over it.
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

using namespace std::chrono_literals;

using test::Within;
const std::string kLost =
    "kadeno: the sound server went away; the game goes on without sound until one answers again\n";
const std::string kBack = "kadeno: the sound server answers again; sound is back\n";

// A PulseAudio server with a null sink, in a runtime folder of its own so that a running
// one (the player's, another test's) is neither found nor disturbed; `o`: options for it.
class FluidSynthIdle : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kadeno-pulse-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    Start();
    if (!Ready()) GTEST_SKIP() << "pulseaudio could not be started here";
    setenv("PULSE_SERVER", ("unix:" + dir_ + "/socket").c_str(), 1);
    o = FluidSynthOptions::FromEnvironment();
    ASSERT_FALSE(o.soundfont.empty());
    o.drivers = {"pulseaudio"};
  }
  void TearDown() override {
    unsetenv("PULSE_SERVER");
    if (dir_.empty()) return;
    Stop();
    std::filesystem::remove_all(dir_);
  }
  // A server on the same socket, as after a restart.
  void Start() {
    if ((pid_ = fork()) == 0) {
      setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
      setenv("PULSE_RUNTIME_PATH", dir_.c_str(), 1);
      execlp("pulseaudio", "pulseaudio", "-n", "-L", "module-null-sink sink_name=kadeno_test", "-L",
             ("module-native-protocol-unix auth-anonymous=1 socket=" + dir_ + "/socket").c_str(),
             "--exit-idle-time=-1", "--daemonize=no", "--use-pid-file=no",
             ("--log-target=file:" + dir_ + "/log").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 100 && !Ready(); ++i) std::this_thread::sleep_for(50ms);
  }
  void Stop() {
    if (pid_ > 0 && kill(pid_, SIGTERM) == 0) waitpid(pid_, nullptr, 0);
    pid_ = -1;
    std::filesystem::remove(dir_ + "/socket");
  }
  bool Ready() const { return access((dir_ + "/socket").c_str(), F_OK) == 0; }
  std::string dir_;
  pid_t pid_ = -1;
  FluidSynthOptions o;
};

TEST_F(FluidSynthIdle, LetsTheStreamGoInSilenceAndWakesForTheNextNote) {
  o.suspendAfterIdleMs = 300;
  FluidSynthDevice device(o);
  ASSERT_EQ(device.Open(), OpenResult::Ok);

  device.SendShortMessage(NoteOnWord(5, 60, 100));
  std::this_thread::sleep_for(700ms);
  EXPECT_FALSE(device.Suspended()) << "a note still sounds";
  device.SendShortMessage(NoteOffWord(5, 60, 100));
  // The release tail dies away first.
  EXPECT_TRUE(Within(6000ms, [&] { return device.Suspended(); }));
  device.SendShortMessage(NoteOnWord(5, 62, 100));
  EXPECT_FALSE(device.Suspended());
  device.PlayWave("/nonexistent.wav");
  device.Close();
  EXPECT_FALSE(device.Suspended());
}

// Hard left (column 1) and hard right (column 7), as the sink's monitor records them.
TEST_F(FluidSynthIdle, TheServerHearsEachSideWhereItIsPanned) {
  if (std::system("command -v parec >/dev/null") != 0) GTEST_SKIP() << "no parec to record with";
  FluidSynthDevice device(o);
  ASSERT_EQ(device.Open(), OpenResult::Ok);
  for (int pan : {0, 127}) {
    // The note starts once the recording does; a closed pipe ends parec.
    FILE* rec = popen("exec parec -d kadeno_test.monitor --raw --format=float32le", "r");
    float frame[2];
    ASSERT_EQ(std::fread(frame, sizeof frame, 1, rec), 1u);
    device.SendShortMessage(PanWord(5, pan));
    device.SendShortMessage(NoteOnWord(5, 69, 100));
    double energy[2] = {0, 0};
    for (int n = 0; n < 22050 && std::fread(frame, sizeof frame, 1, rec) == 1; ++n)
      for (int side : {0, 1}) energy[side] += frame[side] * frame[side];
    pclose(rec);
    device.SendShortMessage(NoteOffWord(5, 69, 100));
    const double left = energy[0] / (energy[0] + energy[1]);
    EXPECT_TRUE(pan == 0 ? left > 0.9 : left < 0.1) << "pan " << pan << ": " << left << " left";
  }
}

// The server restarts on the same socket mid-game: said once each way, the device plays on
// and renders into a new stream by itself, with no note needed to wake it.
TEST_F(FluidSynthIdle, ComesBackByItselfWhenTheServerDoes) {
  FluidSynthDevice device(o);
  std::atomic<int> blocks{0};
  device.SetOutputTap([&blocks](int, const float*, const float*) { ++blocks; });
  ASSERT_EQ(device.Open(), OpenResult::Ok);
  device.SendShortMessage(NoteOnWord(5, 60, 100));
  ASSERT_TRUE(Within(5000ms, [&] { return blocks > 0; }));

  testing::internal::CaptureStderr();
  for (int restart = 0; restart < 2; ++restart) {
    Stop();
    EXPECT_TRUE(Within(5000ms, [&] { return device.OutputLost(); }));
    device.SendShortMessage(NoteOnWord(5, 62, 100));  // no server: goes on silent at once
    Start();
    ASSERT_TRUE(Ready());
    const int before = blocks;
    EXPECT_TRUE(Within(5000ms, [&] { return !device.OutputLost() && blocks > before; }));
  }
  device.Close();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), kLost + kBack + kLost + kBack);
}

// On a virtual clock, the server away for ten seconds: a stream every half second, no
// oftener (a try is cheap, a loop of them is not); the first try after its return brings
// the sound back, each change said once.
TEST(FluidSynthRetry, TriesTwiceASecondWhileTheServerIsAway) {
  struct Stream : PulseAudioStream {
    std::function<bool()> failed;
    bool Failed() const override { return failed(); }
  };
  const test::VirtualClock clock;
  std::atomic<int64_t> lostAt{-1};
  std::atomic<bool> back{false};
  std::vector<int64_t> tries;  // ms after the loss; the watch's alone until Close
  FluidSynthOptions o = FluidSynthOptions::FromEnvironment();
  o.drivers = {"pulseaudio"};
  o.suspendAfterIdleMs = 0;
  o.clock = clock.Make();
  o.startStream = [&](auto&&...) {
    auto stream = std::make_unique<Stream>();
    stream->failed = [&] {  // the stream made at Open fails at its first look
      if (lostAt < 0) lostAt = clock.Ms();
      return !back;
    };
    if (lostAt >= 0) {
      tries.push_back(clock.Ms() - lostAt);
      if (tries.back() < 10000 && tries.size() < 100) return std::unique_ptr<Stream>();
      clock.Hold();
      back = true;
    }
    return stream;
  };
  testing::internal::CaptureStderr();
  FluidSynthDevice device(o);
  ASSERT_EQ(device.Open(), OpenResult::Ok);
  EXPECT_TRUE(Within(10000ms, [&] { return back && !device.OutputLost(); }));
  device.Close();
  std::vector<int64_t> expected;
  for (int64_t ms = 500; ms <= 10000; ms += 500) expected.push_back(ms);
  EXPECT_EQ(tries, expected);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), kLost + kBack);
}

}  // namespace
}  // namespace kadeno
