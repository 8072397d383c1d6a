// The built-in synthesiser: FluidSynth with a General MIDI soundfont, heard through
// a PulseAudio stream of its own or FluidSynth's audio drivers, with the wave player mixed into the
// same stream so that synth and waves never fight over an audio device.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fluidsynth/PulseAudioStream.h"
#include "retry/Reconnect.h"
#include "seams/AudioDevice.h"

namespace kadeno {

struct FluidSynthOptions {
  // The soundfont to load; empty when none was found (the device count is then 0).
  std::string soundfont;
  // Tried in this order until one opens. "pulseaudio" is our own stream to the sound
  // server (PulseAudioStream); the others are FluidSynth's drivers of those names.
  std::vector<std::string> drivers{"pulseaudio", "alsa", "jack", "sdl2", "oss"};
  // Small periods: a key press must be heard at once, and FluidSynth's own defaults
  // (16 periods of 64 frames) hold about 23 ms of audio. Two periods of 128 frames hold
  // 5.8 ms; 64-frame periods would save 2.9 ms more but cost half again the CPU in
  // wake-ups while sound plays.
  int sampleRate = 44100;
  int periodSize = 128;
  int periods = 2;
  // Reverb and chorus tails would hide the start of the next note from a measurement.
  bool reverbAndChorus = true;
  // False for offline use: Open starts no audio driver and the owner pulls the sound
  // with Render.
  bool audioOutput = true;
  // Small periods cost wake-ups even in silence, so after this long with no message, no
  // wave and no voice sounding the audio stream is let go, and the next note or wave
  // takes it up again. 0 keeps the stream for the whole run.
  int suspendAfterIdleMs = 3000;
  // The clock the watch over the stream goes by, and how a stream to the sound server is
  // started: the tests put a virtual clock and a pretend server here.
  RetryClock clock{};
  std::function<std::unique_ptr<PulseAudioStream>(const PulseAudioStreamOptions&,
                                                  PulseAudioStream::Render, std::string*)>
      startStream = &PulseAudioStream::Start;

  // The soundfont from KADENO_SOUNDFONT or the usual places, with the defaults above.
  static FluidSynthOptions FromEnvironment();
};

// The soundfonts looked for when KADENO_SOUNDFONT is not set, best first.
std::vector<std::string> DefaultSoundfonts();
// The soundfont to use: `chosen` when given (and nothing else, so that a mistyped path
// is noticed rather than quietly replaced), else the first readable candidate; empty when
// there is none.
std::string ChooseSoundfont(const char* chosen, const std::vector<std::string>& candidates);

class FluidSynthDevice : public AudioDevice {
 public:
  // Starts loading the soundfont in the background at once, so that by the time the
  // player has read the help pages the synthesiser is ready.
  explicit FluidSynthDevice(FluidSynthOptions options = FluidSynthOptions::FromEnvironment());
  ~FluidSynthDevice() override;
  FluidSynthDevice(const FluidSynthDevice&) = delete;
  FluidSynthDevice& operator=(const FluidSynthDevice&) = delete;

  int DeviceCount() override;
  // Waits for the soundfont, then starts the first audio driver that opens. NoSoundfont
  // when the soundfont cannot be loaded, NoOutput when no audio output opens; either way
  // one line on stderr says why (for NoOutput: each output tried and why it failed).
  OpenResult Open() override;
  void SendShortMessage(uint32_t word) override;
  void Close() override;
  void PlayWave(const std::string& path) override;
  void StopWave() override;

  // Renders the next frames of synthesiser and wave into two channels. The audio driver
  // calls this on its own thread; offline users call it themselves.
  void Render(int frames, float* left, float* right);
  // The audio driver that opened, empty before Open or offline.
  const std::string& OutputDriver() const;
  // Whether the audio stream is let go for want of sound (see suspendAfterIdleMs).
  bool Suspended() const;
  // Whether the sound server went away (or the stream failed) and no new stream has
  // started yet; one is tried every half second meanwhile.
  bool OutputLost() const;

  // Sees every block the audio driver renders, on the audio thread, for measuring the
  // latency. Set it before Open.
  using OutputTap = std::function<void(int frames, const float* left, const float* right)>;
  void SetOutputTap(OutputTap tap);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kadeno
