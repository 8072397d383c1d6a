// The built-in synthesiser's own way to the sound server: one PulseAudio playback stream
// that asks for sound when the server wants it. The server's request wakes one thread,
// which renders straight into the server's buffer; a blocking writer on a thread of its
// own would cost two more thread hand-overs for every small period.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace kadeno {

struct PulseAudioStreamOptions {
  int sampleRate = 44100;
  // The stream asks for this many frames at a time and keeps `periods` of them queued.
  int periodSize = 128;
  int periods = 2;
  std::string applicationName = "Kadeno";
  std::string mediaRole = "game";
};

class PulseAudioStream {
 public:
  // Called on the stream's thread for each block the server asks for.
  using Render = std::function<void(int frames, float* left, float* right)>;

  // Connects to the default server and starts playing; null when no server answers or
  // the stream cannot start, with the reason in *why.
  static std::unique_ptr<PulseAudioStream> Start(const PulseAudioStreamOptions& options,
                                                 Render render, std::string* why);
  // Whether the server connection or the stream has failed since Start (the server went
  // away, the stream was killed, its device removed): no sound flows any more, and only a
  // new stream brings it back. Any thread may ask.
  virtual bool Failed() const;
  // Stops the stream; no render call runs after it returns.
  virtual ~PulseAudioStream();
  PulseAudioStream(const PulseAudioStream&) = delete;
  PulseAudioStream& operator=(const PulseAudioStream&) = delete;

 protected:
  // A stream to no server, for a test's pretend one.
  PulseAudioStream();

 private:
  struct Impl;
  explicit PulseAudioStream(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace kadeno
