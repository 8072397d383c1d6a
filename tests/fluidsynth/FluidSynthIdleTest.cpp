// The built-in synthesiser lets its audio stream go when nothing sounds and takes it up
// again with the next note. This needs a real audio driver: a private PulseAudio server
// with a null sink is started for the test.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "fluidsynth/FluidSynthDevice.h"
#include "sound/MidiOut.h"

namespace kadeno {
namespace {

using namespace std::chrono_literals;

// A PulseAudio server with a null sink, in a runtime folder of its own so that a server
// already running (the player's, another test's) is neither found nor disturbed.
class PrivateSoundServer {
 public:
  PrivateSoundServer() {
    char tmpl[] = "/tmp/kadeno-pulse-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return;
    dir_ = tmpl;
    std::ofstream(dir_ + "/null.pa") << "load-module module-null-sink sink_name=kadeno_test\n"
                                     << "load-module module-native-protocol-unix auth-anonymous=1 "
                                     << "socket=" << dir_ << "/socket\n";
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
  ~PrivateSoundServer() {
    if (pid_ > 0 && kill(pid_, SIGTERM) == 0) waitpid(pid_, nullptr, 0);
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  bool Ready() const { return !dir_.empty() && access((dir_ + "/socket").c_str(), F_OK) == 0; }
  std::string dir_;
  pid_t pid_ = -1;
};

TEST(FluidSynthIdle, LetsTheStreamGoInSilenceAndWakesForTheNextNote) {
  PrivateSoundServer server;
  if (!server.Ready()) GTEST_SKIP() << "pulseaudio could not be started here";
  setenv("PULSE_SERVER", ("unix:" + server.dir_ + "/socket").c_str(), 1);
  FluidSynthOptions o = FluidSynthOptions::FromEnvironment();
  ASSERT_FALSE(o.soundfont.empty());
  o.drivers = {"pulseaudio"};
  o.suspendAfterIdleMs = 300;
  FluidSynthDevice device(o);
  ASSERT_EQ(device.Open(), OpenResult::Ok);

  device.SendShortMessage(NoteOnWord(5, 60, 100));
  std::this_thread::sleep_for(700ms);
  EXPECT_FALSE(device.Suspended()) << "a note still sounds";
  device.SendShortMessage(NoteOffWord(5, 60, 100));
  bool suspended = false;
  for (int i = 0; i < 60 && !suspended; ++i) {  // the release tail dies away first
    std::this_thread::sleep_for(100ms);
    suspended = device.Suspended();
  }
  EXPECT_TRUE(suspended);
  device.SendShortMessage(NoteOnWord(5, 62, 100));
  EXPECT_FALSE(device.Suspended());
  device.PlayWave("/nonexistent.wav");
  device.Close();
  EXPECT_FALSE(device.Suspended());
  unsetenv("PULSE_SERVER");
}

}  // namespace
}  // namespace kadeno
