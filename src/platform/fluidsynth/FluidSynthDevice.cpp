// The built-in synthesiser behind the audio seam.
#include "fluidsynth/FluidSynthDevice.h"

#include <fluidsynth.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "fluidsynth/FluidSynthWaveMixer.h"
#include "fluidsynth/PulseAudioStream.h"
#include "retry/Reconnect.h"

namespace kadeno {

namespace {

bool Readable(const std::string& path) { return !path.empty() && access(path.c_str(), R_OK) == 0; }

// While it lives, FluidSynth's messages do not go to stderr line by line: the last error
// or warning is kept as the reason an output failed, the rest is dropped.
class FluidSynthMessages {
 public:
  FluidSynthMessages() {
    for (int level : kLevels) fluid_set_log_function(level, Keep, this);
  }
  ~FluidSynthMessages() {
    for (int level : kLevels) fluid_set_log_function(level, fluid_default_log_function, nullptr);
  }
  FluidSynthMessages(const FluidSynthMessages&) = delete;
  FluidSynthMessages& operator=(const FluidSynthMessages&) = delete;
  // The last message since the previous call, or `otherwise`.
  std::string Take(const char* otherwise) {
    std::string last = last_.empty() ? otherwise : last_;
    last_.clear();
    return last;
  }

 private:
  static constexpr int kLevels[] = {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO};
  static void Keep(int level, const char* message, void* data) {
    if (message == nullptr || level > FLUID_WARN) return;
    std::string& last = static_cast<FluidSynthMessages*>(data)->last_;
    last = message;
    while (!last.empty() && (last.back() == '.' || last.back() == '\n')) last.pop_back();
  }
  std::string last_;
};

}  // namespace

std::vector<std::string> DefaultSoundfonts() {
  // TimGM6mb first: its voices follow the pan controller fully, so the seven columns
  // stand apart. FluidR3's stereo sample pairs keep a share of every note on the far
  // side, which blurs the columns, so it comes only after it.
  return {
      "/usr/share/sounds/sf2/TimGM6mb.sf2",   "/usr/share/sounds/sf2/default-GM.sf2",
      "/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/soundfonts/default.sf2",
      "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/MuseScore_General.sf3",
  };
}

std::string ChooseSoundfont(const char* chosen, const std::vector<std::string>& candidates) {
  if (chosen != nullptr && *chosen != '\0') return Readable(chosen) ? chosen : std::string();
  for (const auto& c : candidates) {
    if (Readable(c)) return c;
  }
  return {};
}

FluidSynthOptions FluidSynthOptions::FromEnvironment() {
  FluidSynthOptions o;
  o.soundfont = ChooseSoundfont(std::getenv("KADENO_SOUNDFONT"), DefaultSoundfonts());
  return o;
}

struct FluidSynthDevice::Impl {
  explicit Impl(FluidSynthOptions o) : options(std::move(o)), waves(options.sampleRate) {}

  // Joins the loader; true when the synthesiser holds its soundfont.
  bool WaitForSoundfont() {
    if (loader.joinable()) loader.join();
    return synth != nullptr && fontId != FLUID_FAILED;
  }

  static int AudioCallback(void* data, int len, int /*nfx*/, float* /*fx*/[], int nout,
                           float* out[]) {
    if (nout < 2 || out == nullptr) return FLUID_FAILED;
    static_cast<Impl*>(data)->RenderBlock(len, out[0], out[1]);
    return FLUID_OK;
  }

  // One block for the audio output, shown to the tap.
  void RenderBlock(int frames, float* left, float* right) {
    Render(frames, left, right);
    if (tap) tap(frames, left, right);
  }

  // Starts the named output: PulseAudio through our own stream, anything else through
  // FluidSynth's driver of that name. Caller holds streamMutex or is the only thread.
  // On failure, why says why when given (FluidSynth's drivers tell their own log).
  bool StartOutput(const std::string& name, std::string* why = nullptr) {
    if (name == "pulseaudio") {
      pulse = options.startStream(
          PulseOptions(), [this](int n, float* l, float* r) { RenderBlock(n, l, r); }, why);
      return pulse != nullptr;
    }
    if (fluid_settings_setstr(settings, "audio.driver", name.c_str()) != FLUID_OK) {
      if (why != nullptr) *why = "no such driver";
      return false;
    }
    driver = new_fluid_audio_driver2(settings, &Impl::AudioCallback, this);
    return driver != nullptr;
  }

  // Stops the output; joins its audio thread, so nothing renders after this.
  void StopOutput() {
    pulse.reset();
    if (driver != nullptr) delete_fluid_audio_driver(driver);
    driver = nullptr;
  }

  bool HasOutput() const { return pulse != nullptr || driver != nullptr; }

  void Render(int frames, float* left, float* right) {
    if (frames <= 0) return;
    if (open.load(std::memory_order_acquire)) {
      fluid_synth_write_float(synth, frames, left, 0, 1, right, 0, 1);
    } else {
      std::fill_n(left, frames, 0.0f);
      std::fill_n(right, frames, 0.0f);
    }
    waves.MixInto(frames, left, right);
  }

  using Clock = std::chrono::steady_clock;

  // Takes the audio stream up again after an idle spell (any thread but the audio one).
  // While the sound is lost it leaves the tries to the watch, so that no note waits for
  // a server that is not there.
  void Wake() {
    std::lock_guard<std::mutex> lock(streamMutex);
    lastActivity = options.clock.now();
    if (!suspended || lost || driverName.empty()) return;
    suspended = !StartOutput(driverName);
    if (suspended && driverName == "pulseaudio") Lose();
  }

  // The stream failed or would not start again: the game goes on silent and the watch
  // tries a new stream every kRetryInterval. Caller holds streamMutex.
  void Lose() {
    StopOutput();
    suspended = false;
    lost = true;
    if (pacer.Failed(options.clock.now())) {
      std::fputs(
          "kadeno: the sound server went away; the game goes on without sound until one "
          "answers again\n",
          stderr);
    }
  }

  // One try at a new stream, made without the lock so that notes are not held up by a
  // slow server. The synthesiser kept its instruments, volumes and pans meanwhile, but
  // every note started while nothing rendered stands still at its first sample: a few
  // seconds away gather dozens of them (the drums never end theirs), which would all
  // start at once. They are let go first, so the return sounds as if nothing happened.
  void TryAgain(std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    fluid_synth_all_sounds_off(synth, -1);
    auto stream = options.startStream(
        PulseOptions(), [this](int n, float* l, float* r) { RenderBlock(n, l, r); }, nullptr);
    lock.lock();
    if (stream == nullptr || stopWatch) {
      pacer.Failed(options.clock.now());
      return;
    }
    pulse = std::move(stream);
    lost = false;
    lastActivity = options.clock.now();
    if (pacer.Succeeded())
      std::fputs("kadeno: the sound server answers again; sound is back\n", stderr);
  }

  // Lets the stream go once nothing has sounded for a while, notices a stream that
  // failed and brings the sound back; stops when Close asks.
  void WatchOutput() {
    const auto idle = std::chrono::milliseconds(options.suspendAfterIdleMs);
    std::unique_lock<std::mutex> lock(streamMutex);
    while (!stopWatch) {
      auto until = options.clock.now() + kWatchTick;
      if (lost) until = std::min(until, pacer.NextTry());
      options.clock.waitUntil(lock, watchWake, until);
      if (stopWatch) break;
      if (lost) {
        if (pacer.Due(options.clock.now())) TryAgain(lock);
        continue;
      }
      if (pulse != nullptr && pulse->Failed()) {
        Lose();
        continue;
      }
      if (options.suspendAfterIdleMs <= 0 || suspended || !HasOutput()) continue;
      if (options.clock.now() - lastActivity < idle) continue;
      if (fluid_synth_get_active_voice_count(synth) > 0) continue;
      StopOutput();
      suspended = true;
    }
  }

  PulseAudioStreamOptions PulseOptions() const {
    PulseAudioStreamOptions o;
    o.sampleRate = options.sampleRate;
    o.periodSize = options.periodSize;
    o.periods = options.periods;
    return o;
  }

  // How often the watch looks at the stream, and how long after a failure it tries a new
  // one: a server back after a restart is heard within about 0.6 s, and a try where none
  // runs (a refused socket) costs well under a millisecond of CPU.
  static constexpr auto kWatchTick = std::chrono::milliseconds(250);
  static constexpr auto kRetryInterval = std::chrono::milliseconds(500);

  FluidSynthOptions options;
  fluid_settings_t* settings = nullptr;
  // Made and filled by the loader thread; touched elsewhere only after it is joined.
  fluid_synth_t* synth = nullptr;
  int fontId = FLUID_FAILED;
  std::thread loader;
  fluid_audio_driver_t* driver = nullptr;
  std::unique_ptr<PulseAudioStream> pulse;
  std::string driverName;
  // Whether messages reach the synthesiser and Render asks it for sound.
  std::atomic<bool> open{false};
  // Guards the outputs, suspended, lost, pacer and lastActivity between the caller and
  // the watch.
  mutable std::mutex streamMutex;
  std::condition_variable watchWake;
  std::thread idleWatch;
  bool stopWatch = false;
  bool suspended = false;
  bool lost = false;  // the stream failed; the watch is trying for a new one
  ReconnectPacer pacer{kRetryInterval};
  Clock::time_point lastActivity = options.clock.now();
  WaveMixer waves;
  OutputTap tap;
};

FluidSynthDevice::FluidSynthDevice(FluidSynthOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {
  Impl& d = *impl_;
  if (d.options.soundfont.empty()) return;
  d.settings = new_fluid_settings();
  if (d.settings == nullptr) return;
  fluid_settings_setnum(d.settings, "synth.sample-rate", d.options.sampleRate);
  fluid_settings_setint(d.settings, "audio.period-size", d.options.periodSize);
  fluid_settings_setint(d.settings, "audio.periods", d.options.periods);
  if (!d.options.reverbAndChorus) {
    fluid_settings_setint(d.settings, "synth.reverb.active", 0);
    fluid_settings_setint(d.settings, "synth.chorus.active", 0);
  }
  d.loader = std::thread([&d] {
    d.synth = new_fluid_synth(d.settings);
    if (d.synth != nullptr) d.fontId = fluid_synth_sfload(d.synth, d.options.soundfont.c_str(), 1);
  });
}

FluidSynthDevice::~FluidSynthDevice() {
  Close();
  Impl& d = *impl_;
  if (d.loader.joinable()) d.loader.join();
  if (d.synth != nullptr) delete_fluid_synth(d.synth);
  if (d.settings != nullptr) delete_fluid_settings(d.settings);
}

int FluidSynthDevice::DeviceCount() { return impl_->options.soundfont.empty() ? 0 : 1; }

OpenResult FluidSynthDevice::Open() {
  Impl& d = *impl_;
  if (d.open) return OpenResult::Ok;
  if (d.options.soundfont.empty()) {
    std::fputs("kadeno: no soundfont to play with: set KADENO_SOUNDFONT to a General MIDI one\n",
               stderr);
    return OpenResult::NoSoundfont;
  }
  if (!d.WaitForSoundfont()) {
    std::fprintf(stderr, "kadeno: the soundfont %s could not be loaded\n",
                 d.options.soundfont.c_str());
    return OpenResult::NoSoundfont;
  }
  if (d.options.audioOutput) {
    std::string tried;
    {
      FluidSynthMessages messages;
      for (const auto& name : d.options.drivers) {
        // Must be open before the first callback asks the synthesiser for sound.
        d.open.store(true, std::memory_order_release);
        std::string why;
        if (d.StartOutput(name, &why)) {
          d.driverName = name;
          break;
        }
        d.open.store(false, std::memory_order_release);
        if (why.empty()) why = messages.Take("it did not start");
        tried += (tried.empty() ? "" : "; ") + name + ": " + why;
      }
    }
    if (!d.HasOutput()) {
      std::fprintf(stderr, "kadeno: no audio output opened (%s)\n",
                   tried.empty() ? "none to try" : tried.c_str());
      return OpenResult::NoOutput;
    }
    d.lastActivity = d.options.clock.now();
    d.stopWatch = false;
    d.idleWatch = std::thread([&d] { d.WatchOutput(); });
  }
  d.open.store(true, std::memory_order_release);
  return OpenResult::Ok;
}

void FluidSynthDevice::SendShortMessage(uint32_t word) {
  Impl& d = *impl_;
  if (!d.open.load(std::memory_order_acquire)) return;
  const int status = static_cast<int>(word & 0xF0);
  const int channel = static_cast<int>(word & 0x0F);
  const int data1 = static_cast<int>((word >> 8) & 0x7F);
  const int data2 = static_cast<int>((word >> 16) & 0x7F);
  if (d.options.audioOutput) d.Wake();
  switch (status) {
    case 0x80:
      fluid_synth_noteoff(d.synth, channel, data1);
      break;
    case 0x90:  // a note on with velocity 0 is a note off
      if (data2 == 0) {
        fluid_synth_noteoff(d.synth, channel, data1);
      } else {
        fluid_synth_noteon(d.synth, channel, data1, data2);
      }
      break;
    case 0xB0:
      fluid_synth_cc(d.synth, channel, data1, data2);
      break;
    case 0xC0:  // on channel 9 FluidSynth picks from the drum kits
      fluid_synth_program_change(d.synth, channel, data1);
      break;
    default:  // the game sends nothing else
      break;
  }
}

void FluidSynthDevice::Close() {
  Impl& d = *impl_;
  if (d.idleWatch.joinable()) {
    {
      std::lock_guard<std::mutex> lock(d.streamMutex);
      d.stopWatch = true;
    }
    d.watchWake.notify_all();
    d.idleWatch.join();
  }
  d.suspended = false;
  d.lost = false;
  d.StopOutput();
  d.driverName.clear();
  d.open.store(false, std::memory_order_release);
}

void FluidSynthDevice::PlayWave(const std::string& path) {
  if (impl_->open.load(std::memory_order_acquire) && impl_->options.audioOutput) impl_->Wake();
  impl_->waves.Play(path);
}

void FluidSynthDevice::StopWave() { impl_->waves.Stop(); }

void FluidSynthDevice::Render(int frames, float* left, float* right) {
  impl_->Render(frames, left, right);
}

const std::string& FluidSynthDevice::OutputDriver() const { return impl_->driverName; }

bool FluidSynthDevice::Suspended() const {
  std::lock_guard<std::mutex> lock(impl_->streamMutex);
  return impl_->suspended;
}

bool FluidSynthDevice::OutputLost() const {
  std::lock_guard<std::mutex> lock(impl_->streamMutex);
  return impl_->lost;
}

void FluidSynthDevice::SetOutputTap(OutputTap tap) { impl_->tap = std::move(tap); }

}  // namespace kadeno
