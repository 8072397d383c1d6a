// The latency budget of a key press through the built-in synthesiser, as the game meets
// it: the time from a note-on word handed to the device to the first rendered sample of
// that note (measured on the audio driver's own thread), plus the audio the driver
// holds after that (its periods times period size over the sample rate).
//
//   bench_fluidsynth_latency [notes, default 300] [periods] [period size] [driver]
//
// Without the last three it measures the device as the game configures it. Needs an
// audio output; on a machine without a sound server, a PulseAudio server with a null
// sink serves (module-null-sink, PULSE_SERVER pointing at it).
//
// The probe note is a nylon guitar (the base line and rows at the factory settings),
// whose sample sounds from its first frames, with reverb and chorus off so that the
// silence before each note is true silence. Some soundfont samples begin with silence
// of their own; that lead-in is the soundfont's, not the device's, and is printed apart
// for the instruments the game uses at the factory settings, measured offline.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "fluidsynth/FluidSynthDevice.h"
#include "sound/MidiOut.h"

using namespace kadeno;
using Clock = std::chrono::steady_clock;

namespace {

constexpr float kSilence = 1e-6f;
constexpr int kProbeProgram = 24;

// Frames from a note-on to the first sound, rendered offline on a fresh synthesiser.
int LeadIn(int program, int note) {
  FluidSynthOptions o = FluidSynthOptions::FromEnvironment();
  o.audioOutput = false;
  FluidSynthDevice d(o);
  if (d.Open() != OpenResult::Ok) return -1;
  d.SendShortMessage(ProgramChangeWord(0, program));
  d.SendShortMessage(NoteOnWord(0, note, 100));
  float l[64], r[64];
  for (int frame = 0; frame < 44100; frame += 64) {
    d.Render(64, l, r);
    for (int i = 0; i < 64; ++i) {
      if (std::fabs(l[i]) > kSilence || std::fabs(r[i]) > kSilence) return frame + i;
    }
  }
  return -1;
}

int64_t NowNs() { return Clock::now().time_since_epoch().count(); }

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const auto rank = static_cast<size_t>(std::ceil(p / 100 * static_cast<double>(v.size())));
  return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

void Summary(const char* what, const std::vector<double>& v) {
  std::printf("%s: median %.3f ms, p99 %.3f ms, max %.3f ms\n", what, Percentile(v, 50),
              Percentile(v, 99), Percentile(v, 100));
}

// Filled on the audio thread; the main thread reads the gaps below `callbacks` only.
struct Probe {
  std::atomic<bool> armed{false};
  std::atomic<int64_t> sentNs{0};
  std::atomic<int64_t> heardNs{0};
  std::vector<double> gapsMs = std::vector<double>(1 << 20);
  std::atomic<size_t> callbacks{0};
  int64_t lastNs = 0;
  std::atomic<int> blockFrames{0};
  std::atomic<int> silentBlocks{0};

  void Block(int frames, const float* l, const float* r) {
    const int64_t now = NowNs();
    const size_t n = callbacks.load(std::memory_order_relaxed);
    if (lastNs != 0 && n < gapsMs.size()) {
      gapsMs[n] = static_cast<double>(now - lastNs) / 1e6;
      callbacks.store(n + 1, std::memory_order_release);
    }
    lastNs = now;
    blockFrames = frames;
    bool sound = false;
    for (int i = 0; i < frames && !sound; ++i)
      sound = std::fabs(l[i]) > kSilence || std::fabs(r[i]) > kSilence;
    silentBlocks = sound ? 0 : silentBlocks + 1;
    if (!armed.load(std::memory_order_acquire)) return;
    for (int i = 0; i < frames; ++i) {
      if (std::fabs(l[i]) > kSilence || std::fabs(r[i]) > kSilence) {
        heardNs = now;
        armed.store(false, std::memory_order_release);
        return;
      }
    }
  }
  // Two silent blocks in a row after the last note, or false after a second.
  bool WaitForSilence() const {
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    while (silentBlocks.load() < 2 && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return silentBlocks.load() >= 2;
  }
  std::vector<double> Gaps(size_t from, size_t to) const {
    return {gapsMs.begin() + static_cast<long>(from), gapsMs.begin() + static_cast<long>(to)};
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int notes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  FluidSynthOptions options = FluidSynthOptions::FromEnvironment();
  if (argc > 2) options.periods = std::atoi(argv[2]);
  if (argc > 3) options.periodSize = std::atoi(argv[3]);
  if (argc > 4) options.drivers = {argv[4]};
  options.reverbAndChorus = false;
  FluidSynthDevice device(options);
  Probe probe;
  device.SetOutputTap([&probe](int n, const float* l, const float* r) { probe.Block(n, l, r); });
  if (device.DeviceCount() == 0 || device.Open() != OpenResult::Ok) {
    std::fprintf(stderr, "no soundfont or no audio output\n");
    return 1;
  }
  const std::string driver = device.OutputDriver();

  // The stream takes a moment to settle after the open. The game sounds its first note
  // seconds later (settings, window, the player's Start Game), so the notes are measured
  // from then on and the settling is reported on its own.
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const size_t settled = probe.callbacks.load(std::memory_order_acquire);

  const int channel = Channel::Falling;
  device.SendShortMessage(ProgramChangeWord(channel, kProbeProgram));
  std::mt19937 random(4);
  std::uniform_int_distribution<int> phaseUs(0, 3000);
  std::vector<double> latency, sendMs;
  int missed = 0, unsettled = 0;
  for (int n = 0; n < notes; ++n) {
    device.SendShortMessage(PackShortMessage(0xB0 + channel, 120, 0));  // all sound off
    // A random wait, so notes arrive at every phase of the driver's period.
    std::this_thread::sleep_for(std::chrono::microseconds(5000 + phaseUs(random)));
    if (!probe.WaitForSilence()) {
      ++unsettled;
      continue;
    }
    probe.sentNs = NowNs();
    probe.armed.store(true, std::memory_order_release);
    device.SendShortMessage(NoteOnWord(channel, 69, 100));
    sendMs.push_back(static_cast<double>(NowNs() - probe.sentNs) / 1e6);
    const auto deadline = Clock::now() + std::chrono::milliseconds(500);
    while (probe.armed.load(std::memory_order_acquire) && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (probe.armed.exchange(false)) {
      ++missed;
    } else {
      latency.push_back(static_cast<double>(probe.heardNs - probe.sentNs) / 1e6);
    }
    device.SendShortMessage(NoteOffWord(channel, 69, 100));
  }
  device.Close();  // joins the audio thread: the probe is ours alone from here
  if (latency.empty()) {
    std::fprintf(stderr, "no note was heard\n");
    return 1;
  }

  double mean = 0, var = 0;
  for (double x : latency) mean += x / static_cast<double>(latency.size());
  for (double x : latency) var += (x - mean) * (x - mean) / static_cast<double>(latency.size());
  const double period = 1000.0 * options.periodSize / options.sampleRate;
  const double held = period * options.periods;
  const double median = Percentile(latency, 50), p99 = Percentile(latency, 99);

  std::printf("driver %s, %d Hz, %d periods x %d frames, callback blocks of %d frames\n",
              driver.c_str(), options.sampleRate, options.periods, options.periodSize,
              probe.blockFrames.load());
  Summary("callback gaps while settling (first 3 s)", probe.Gaps(0, settled));
  Summary("callback gaps while measuring", probe.Gaps(settled, probe.callbacks));
  Summary("the note-on send call", sendMs);
  std::printf(
      "notes: %zu heard, %d missed (none within 500 ms), %d not sent (no silence before), "
      "%td later than two periods\n",
      latency.size(), missed, unsettled,
      std::count_if(latency.begin(), latency.end(), [&](double x) { return x > 2 * period; }));
  std::printf(
      "note-on to first rendered sample: median %.3f ms, p99 %.3f ms, min %.3f, max %.3f, "
      "jitter (std dev) %.3f ms\n",
      median, p99, Percentile(latency, 0), Percentile(latency, 100), std::sqrt(var));
  // The lead-in belongs to single samples, so it is looked for over the notes the game
  // plays, for the factory instruments (pianos 0 and 1, guitar 24).
  for (int program : {0, 1, kProbeProgram}) {
    std::vector<double> ms;
    int worstNote = 0;
    for (int note = 36; note <= 96; ++note) {
      ms.push_back(1000.0 * LeadIn(program, note) / options.sampleRate);
      if (ms.back() >= Percentile(ms, 100)) worstNote = note;
    }
    std::printf(
        "soundfont lead-in of program %d over notes 36-96: median %.3f ms, max %.3f ms "
        "(note %d), %td notes over 1 ms\n",
        program, Percentile(ms, 50), Percentile(ms, 100), worstNote,
        std::count_if(ms.begin(), ms.end(), [](double x) { return x > 1; }));
  }
  std::printf("audio held by the driver: %.3f ms\n", held);
  std::printf("budget: median %.3f ms, p99 %.3f ms (targets 10 and 12)\n", median + held,
              p99 + held);
  return 0;
}
