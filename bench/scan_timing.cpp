// Plays scans of a game on the real clock with a silent device and prints how far each
// wait part overshoots the sleep it asked for, and how far each whole scan strays from
// the sum of the sleeps it asked for. The window here is the plainest real one: a
// monotonic clock and std::this_thread::sleep_for, no events.
//
//   bench_scan_timing [scans] [half-step time, hundredths of a ms] [timer slack, ns]
//
// A timer slack of 0 leaves the thread's default (50 us on Linux).
#include <sys/prctl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "game/TestAccess.h"
#include "shell/MainForm.h"

namespace {

using Clock = std::chrono::steady_clock;

class SteadyWindow : public kadeno::WindowServices {
 public:
  std::vector<double> overshootUs;  // one per sleep of a positive length
  int64_t askedMs = 0;              // sum of the sleeps asked for

  kadeno::Answer MsgBox(const std::string&, int, const std::optional<std::string>&) override {
    return kadeno::Answer::Ok;
  }
  std::string InputBox(const std::string&, const std::optional<std::string>&,
                       const std::string&) override {
    return {};
  }
  void SetMenuCaption(kadeno::MenuItem, const std::string&) override {}
  void Yield() override {}
  int64_t ClockMs() override {
    return 1 + std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
  }
  void SleepMs(int64_t ms) override {
    if (ms <= 0) return;
    askedMs += ms;
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    const double tookUs = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    overshootUs.push_back(tookUs - 1000.0 * static_cast<double>(ms));
  }
  // No input ever arrives here: the wait is the plain sleep.
  void WaitMs(int64_t ms) override { SleepMs(ms); }
  std::string ProgramFolder() override { return "."; }
  std::string SettingsFolder() override { return "."; }
  bool FileExists(const std::string&) override { return false; }
  std::optional<std::string> ReadTextFile(const std::string&) override { return std::nullopt; }
  bool WriteTextFile(const std::string&, const std::string&) override { return true; }
  void LogProblem(const std::string& line) override { std::fprintf(stderr, "%s\n", line.c_str()); }
  [[noreturn]] void EndProgram() override { std::exit(0); }

 private:
  Clock::time_point start_ = Clock::now();
};

class SilentDevice : public kadeno::AudioDevice {
 public:
  int DeviceCount() override { return 1; }
  kadeno::OpenResult Open() override { return kadeno::OpenResult::Ok; }
  void SendShortMessage(uint32_t) override {}
  void Close() override {}
  void PlayWave(const std::string&) override {}
  void StopWave() override {}
};

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  const int scans = argc > 1 ? std::atoi(argv[1]) : 30;
  const int32_t halfStepTime = argc > 2 ? std::atoi(argv[2]) : 4000;
  const long slackNs = argc > 3 ? std::atol(argv[3]) : 0;
  if (slackNs > 0) prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(slackNs), 0, 0, 0);

  SteadyWindow window;
  SilentDevice device;
  kadeno::MainForm form(window, device);
  kadeno::VoicesTestAccess::State(form.voices()).MidiIsOpen = true;
  kadeno::SettingsTestAccess::Values(form.store()).Difficulty =
      0;  // the speed stays as given below
  kadeno::Game& game = form.game();
  kadeno::GameState& g = kadeno::GameTestAccess::State(game);
  g.HalfStepFloor = halfStepTime;
  g.HalfStepTime = halfStepTime;
  g.KeyNote = 36;
  kadeno::GameTestAccess::StartRound(game);

  std::vector<double> strayUs;
  std::vector<double> lengthMs;
  for (int i = 0; i < scans; ++i) {
    // A new round once the ground has passed the ceiling, as the driver would.
    bool over = false;
    for (int c = 1; c <= kadeno::kColumns; ++c)
      over |= kadeno::GameTestAccess::FieldOf(game).At(c, kadeno::Row2) > 84;
    if (over) {
      g.KeyNote = 36;
      kadeno::GameTestAccess::StartRound(game);
    }
    kadeno::GameTestAccess::SpeedUp(game);
    const int64_t asked0 = window.askedMs;
    const auto t0 = Clock::now();
    kadeno::GameTestAccess::Scan(game);
    const double tookUs = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    const double askedUs = 1000.0 * static_cast<double>(window.askedMs - asked0);
    strayUs.push_back(tookUs - askedUs);
    lengthMs.push_back(tookUs / 1000.0);
  }

  std::printf("scan_timing: %d scans, %zu wait parts, half-step time %d, timer slack %s\n", scans,
              window.overshootUs.size(), halfStepTime,
              slackNs > 0 ? std::to_string(slackNs).append(" ns").c_str() : "default");
  std::printf("wait-part overshoot (us): median %.0f  p99 %.0f  max %.0f\n",
              Percentile(window.overshootUs, 0.5), Percentile(window.overshootUs, 0.99),
              Percentile(window.overshootUs, 1.0));
  std::printf(
      "scan length minus sleeps asked (us): median %.0f  p99 %.0f  max %.0f"
      "  (median scan %.1f ms)\n",
      Percentile(strayUs, 0.5), Percentile(strayUs, 0.99), Percentile(strayUs, 1.0),
      Percentile(lengthMs, 0.5));
  return 0;
}
