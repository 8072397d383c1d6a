// The wave player of the built-in synthesiser: decodes a wave file and adds it to the
// synthesiser's output block by block, so that the program has one audio stream.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kadeno {

// A decoded sound, interleaved left/right at the output's sample rate.
struct StereoSound {
  std::vector<float> samples;
  size_t Frames() const { return samples.size() / 2; }
};

// Decodes any format the sound-file library reads, makes it stereo (mono to both sides,
// the first two channels of anything wider) and resamples it to `sampleRate`. Null for a
// missing, broken, empty or absurdly long file.
std::unique_ptr<StereoSound> DecodeWave(const std::string& path, int sampleRate);

class WaveMixer {
 public:
  explicit WaveMixer(int sampleRate) : sampleRate_(sampleRate) {}

  // Replaces whatever plays with this file; a file that cannot be decoded only stops it.
  // Decoding happens on the caller's thread, never on the audio thread.
  void Play(const std::string& path);
  void Stop();
  // Adds the next frames of the playing sound to the two channels (audio thread).
  void MixInto(int frames, float* left, float* right);

 private:
  // Sounds are freed on the caller's thread only: the audio thread never drops the last
  // reference, so it never waits on the allocator.
  void Swap(std::unique_ptr<StereoSound> next);

  const int sampleRate_;
  std::mutex mutex_;
  std::unique_ptr<StereoSound> sound_;
  size_t position_ = 0;
};

}  // namespace kadeno
