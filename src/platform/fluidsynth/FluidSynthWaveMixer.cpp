// The wave player of the built-in synthesiser. Decoding is left to libsndfile, which
// already comes with FluidSynth and copes with any damaged file we could be given.
#include "fluidsynth/FluidSynthWaveMixer.h"

#include <sndfile.h>

#include <algorithm>

namespace kadeno {

namespace {

// The game's two waves last a second or two; anything longer than this is not one of
// them and is refused rather than decoded into memory.
constexpr sf_count_t kMaxSourceSeconds = 60;

// At FluidSynth's default gain a whole scan step (five voices and the drum) comes to an
// RMS of about 0.03 and peaks near 0.12. Our waves are normalised to -1 dBFS (RMS about
// 0.2), so they are brought down to stand just above the music, not 10 dB over it.
constexpr float kWaveGain = 0.25f;

struct SndFileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};

}  // namespace

std::unique_ptr<StereoSound> DecodeWave(const std::string& path, int sampleRate) {
  SF_INFO info{};
  std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file || sampleRate <= 0) return nullptr;
  if (info.channels < 1 || info.channels > 64 || info.samplerate < 1000 ||
      info.samplerate > 768000 || info.frames <= 0 ||
      info.frames > kMaxSourceSeconds * info.samplerate) {
    return nullptr;
  }
  std::vector<float> raw(static_cast<size_t>(info.frames) * info.channels);
  const sf_count_t got = sf_readf_float(file.get(), raw.data(), info.frames);
  if (got <= 0) return nullptr;

  const size_t channels = static_cast<size_t>(info.channels);
  auto source = [&](size_t frame, size_t side) {
    return raw[frame * channels + (channels == 1 ? 0 : side)];
  };
  const size_t inFrames = static_cast<size_t>(got);
  const double step = static_cast<double>(info.samplerate) / sampleRate;
  const auto outFrames = static_cast<size_t>(static_cast<double>(inFrames) / step);
  if (outFrames == 0) return nullptr;

  // Linear interpolation is plenty for short speech and effects, and costs nothing.
  auto sound = std::make_unique<StereoSound>();
  sound->samples.resize(outFrames * 2);
  for (size_t i = 0; i < outFrames; ++i) {
    const double at = static_cast<double>(i) * step;
    const size_t a = std::min(static_cast<size_t>(at), inFrames - 1);
    const size_t b = std::min(a + 1, inFrames - 1);
    const auto t = static_cast<float>(at - static_cast<double>(a));
    for (size_t side = 0; side < 2; ++side) {
      const float v = source(a, side) + (source(b, side) - source(a, side)) * t;
      sound->samples[i * 2 + side] = v * kWaveGain;
    }
  }
  return sound;
}

void WaveMixer::Play(const std::string& path) { Swap(DecodeWave(path, sampleRate_)); }

void WaveMixer::Stop() { Swap(nullptr); }

void WaveMixer::Swap(std::unique_ptr<StereoSound> next) {
  {
    std::lock_guard lock(mutex_);
    sound_.swap(next);
    position_ = 0;
  }
  // `next` now holds the old sound and is freed here, outside the lock.
}

void WaveMixer::MixInto(int frames, float* left, float* right) {
  std::lock_guard lock(mutex_);
  if (!sound_ || frames <= 0) return;
  const size_t total = sound_->Frames();
  const size_t n = std::min(static_cast<size_t>(frames), total - std::min(position_, total));
  const float* s = sound_->samples.data() + position_ * 2;
  for (size_t i = 0; i < n; ++i) {
    left[i] += s[i * 2];
    right[i] += s[i * 2 + 1];
  }
  position_ += n;
}

}  // namespace kadeno
