// Prints the CPU a game takes at the fastest scan speed, the way the program runs it: the
// Qt window's event processing between the steps, the real sleeps and clock, and the audio
// device KADENO_MIDI_OUT chooses (the built-in synthesiser unless told otherwise, which
// needs an audio server). Boxes are answered at once, and a game that ends is started
// again at the same speed, so only the scanning is measured.
//
//   bench_qt_game_cpu [seconds]
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "fluidsynth/FluidSynthDeviceFactory.h"
#include "game/TestAccess.h"
#include "qt/QtWindow.h"
#include "shell/MainForm.h"

namespace {

using namespace kadeno;

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);  // every thread: the synthesiser's audio thread too
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class AnsweringWindow : public QtWindow {
 public:
  Answer MsgBox(const std::string&, int style, const std::optional<std::string>&) override {
    return Box::ButtonsOf(style) == Box::Ok ? Answer::Ok : Answer::Yes;
  }
  std::string InputBox(const std::string&, const std::optional<std::string>&,
                       const std::string&) override {
    return "bench";
  }
  void EndProgram() override {
    std::fprintf(stderr, "the audio device did not open (is an audio server running?)\n");
    std::_Exit(1);
  }
};

// Counts the scan steps: each places all sixteen channels, channel 0 first.
class CountingDevice : public AudioDevice {
 public:
  explicit CountingDevice(AudioDevice& inner) : inner_(inner) {}
  int DeviceCount() override { return inner_.DeviceCount(); }
  OpenResult Open() override { return inner_.Open(); }
  void SendShortMessage(uint32_t word) override {
    if ((word & 0xFFFF) == 0x0AB0) ++steps;
    ++messages;
    inner_.SendShortMessage(word);
  }
  void Close() override { inner_.Close(); }
  void PlayWave(const std::string& path) override { inner_.PlayWave(path); }
  void StopWave() override { inner_.StopWave(); }
  long steps = 0;
  long messages = 0;

 private:
  AudioDevice& inner_;
};

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 15.0;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The hall of fame saves the settings: into a scratch folder, never the player's own.
  char scratch[] = "/tmp/kadeno-bench-XXXXXX";
  if (mkdtemp(scratch) == nullptr) return 1;
  setenv("XDG_CONFIG_HOME", scratch, 1);
  QApplication app(argc, argv);
  AnsweringWindow window;
  std::unique_ptr<AudioDevice> device = MakeAudioDevice(std::getenv("KADENO_MIDI_OUT"));
  CountingDevice audio(*device);
  MainForm form(window, audio);
  Settings& s = SettingsTestAccess::Values(form.store());
  s.DrumVolume = s.Row1Volume = s.Row2Volume = s.Row3Volume = s.FallingVolume = 100;
  s.EffectVolume = 100;
  s.BaseLineVolume = 127;
  s.BaseLineInstrument = s.Row1Instrument = s.Row2Instrument = 24;
  s.Row3Instrument = s.FallingInstrument = 1;
  s.StereoWide = 40;
  s.StereoCurve = 30;
  s.StereoBalance = 60;
  s.Stereo = true;
  s.Difficulty = 0;  // at the floor the lower levels hold the speed there
  form.voices().OpenMidiOut();
  form.voices().BuildPanTable();
  GameState& g = GameTestAccess::State(form.game());

  const auto start = std::chrono::steady_clock::now();
  const double cpu0 = CpuSeconds();
  double elapsed = 0;
  int games = 0;
  while (elapsed < seconds) {
    g.HalfStepFloor = 1500;
    g.HalfStepTime = 1500;  // the fastest the speed-up lets a game go
    g.DifficultySpeedUp = 0.003;
    g.Score = 0;
    GameTestAccess::PlayGame(form.game());
    ++games;
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const double cpu = CpuSeconds() - cpu0;
  std::printf(
      "game at the fastest speed, %.1f s (%d games): CPU %.1f %% of a core, %.1f ms a "
      "scan step, %.0f MIDI messages a second\n",
      elapsed, games, 100.0 * cpu / elapsed, 1000.0 * elapsed / audio.steps,
      audio.messages / elapsed);
  form.voices().StopAllSound();
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  std::fflush(stdout);
  std::_Exit(0);
}
