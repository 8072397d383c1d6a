// The built-in synthesiser lets its audio stream go when nothing sounds and takes it up
// again with the next note. This needs a real audio driver: a private PulseAudio server
// with a null sink is started for the test.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "fluidsynth/FluidSynthDevice.h"
#include "sound/MidiOut.h"
#include "support/VirtualClock.h"

namespace kadeno {
namespace {

using namespace std::chrono_literals;

// Polls `done` every 20 ms for up to `limit`; whether it came true.
template <typename Done>
bool Within(std::chrono::milliseconds limit, Done done) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// A PulseAudio server with a null sink, in a runtime folder of its own so that a server
// already running (the player's, another test's) is neither found nor disturbed; `o` are
// the device's options for it.
class FluidSynthIdle : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kadeno-pulse-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    std::ofstream(dir_ + "/null.pa") << "load-module module-null-sink sink_name=kadeno_test\n"
                                     << "load-module module-native-protocol-unix auth-anonymous=1 "
                                     << "socket=" << dir_ << "/socket\n";
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
      execlp("pulseaudio", "pulseaudio", "-n", "-F", (dir_ + "/null.pa").c_str(),
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

// What the server is given: a note panned hard left (column 1) is heard on the left, one
// panned hard right (column 7) on the right, as the sink's monitor records them.
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

// The server goes away mid-game and a new one starts on the same socket: the device says
// so once each way, plays on meanwhile, and renders into a new stream by itself, with no
// note needed to wake it.
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
  const std::string lost =
      "kadeno: the sound server went away; the game goes on without sound until one answers "
      "again\n";
  const std::string back = "kadeno: the sound server answers again; sound is back\n";
  EXPECT_EQ(testing::internal::GetCapturedStderr(), lost + back + lost + back);
}

// On a virtual clock: the stream fails at once, the server stays away for ten seconds and
// a new stream is tried every half second, no oftener (a try where no server runs is
// cheap, but a loop of them is not); the first try after the server is back brings the
// sound back, and each change is said once.
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
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "kadeno: the sound server went away; the game goes on without sound until one "
            "answers again\nkadeno: the sound server answers again; sound is back\n");
}

}  // namespace
}  // namespace kadeno
