// How long the player waits for the built-in synthesiser at start-up, and what it costs
// in memory. The device starts loading its soundfont when it is made, at program start;
// the open comes after the help pages, which a player takes seconds to hear out.
//
//   bench_fluidsynth_startup [help pages in ms, default 2000] [soundfont...]
//
// With no soundfont given: the default one, and FluidR3 if it is installed. Each
// soundfont is measured in a fresh child process so that the resident memory is its own.
// Needs an audio output (see bench_fluidsynth_latency).
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "fluidsynth/FluidSynthDevice.h"

using namespace kadeno;
using Clock = std::chrono::steady_clock;

namespace {

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int Measure(const std::string& soundfont, int helpMs) {
  const long before = ResidentKb();
  const auto start = Clock::now();
  FluidSynthOptions options;
  options.soundfont = soundfont;
  FluidSynthDevice device(options);
  const double made = Ms(Clock::now() - start);
  std::this_thread::sleep_for(std::chrono::milliseconds(helpMs));
  const auto openStart = Clock::now();
  const OpenResult result = device.Open();
  const double open = Ms(Clock::now() - openStart);
  const long after = ResidentKb();
  const std::string driver = device.OutputDriver();
  device.Close();
  std::printf(
      "%-40s help %5d ms: construct %.3f ms, open %.3f ms (%s, %s), "
      "resident %ld kB (%+ld kB for the synthesiser)\n",
      soundfont.c_str(), helpMs, made, open, OpenResultName(result), driver.c_str(), after,
      after - before);
  std::fflush(stdout);  // the child leaves by _exit, which flushes nothing
  return result == OpenResult::Ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const int helpMs = argc > 1 ? std::atoi(argv[1]) : 2000;
  std::vector<std::string> fonts(argv + std::min(argc, 2), argv + argc);
  if (fonts.empty()) {
    fonts.push_back(ChooseSoundfont(nullptr, DefaultSoundfonts()));
    if (access("/usr/share/sounds/sf2/FluidR3_GM.sf2", R_OK) == 0) {
      fonts.push_back("/usr/share/sounds/sf2/FluidR3_GM.sf2");
    }
  }
  int failures = 0;
  for (const std::string& font : fonts) {
    for (int delay : {helpMs, 0}) {  // after the help pages, and with none at all
      std::fflush(stdout);
      const pid_t child = fork();
      if (child == 0) _exit(Measure(font, delay) == 0 ? 0 : 1);
      int status = 0;
      waitpid(child, &status, 0);
      failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
  }
  return failures == 0 ? 0 : 1;
}
