#include "fluidsynth/PulseAudioStream.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <type_traits>
#include <vector>

namespace kadeno {

struct PulseAudioStream::Impl {
  ~Impl() {
    if (loop != nullptr) pa_threaded_mainloop_stop(loop);  // joins the stream's thread
    if (stream != nullptr) {
      pa_stream_disconnect(stream);
      pa_stream_unref(stream);
    }
    if (context != nullptr) {
      pa_context_disconnect(context);
      pa_context_unref(context);
    }
    if (loop != nullptr) pa_threaded_mainloop_free(loop);
  }

  static void ContextState(pa_context* c, void* data) {
    auto* self = static_cast<Impl*>(data);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(c))) self->failed.store(true);
    pa_threaded_mainloop_signal(self->loop, 0);
  }
  static void StreamState(pa_stream* s, void* data) {
    auto* self = static_cast<Impl*>(data);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(s))) self->failed.store(true);
    pa_threaded_mainloop_signal(self->loop, 0);
  }

  static void Write(pa_stream* s, size_t bytes, void* data) {
    auto* self = static_cast<Impl*>(data);
    while (bytes >= kFrameBytes) {
      void* buffer = nullptr;
      size_t size = bytes;
      if (pa_stream_begin_write(s, &buffer, &size) < 0 || buffer == nullptr) return;
      const size_t frames = std::min(size, bytes) / kFrameBytes;
      if (frames == 0) {
        pa_stream_cancel_write(s);
        return;
      }
      self->Fill(static_cast<float*>(buffer), frames);
      if (pa_stream_write(s, buffer, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
        return;
      }
      bytes -= frames * kFrameBytes;
    }
  }

  // Renders into the two channels, then interleaves them into the server's buffer.
  void Fill(float* out, size_t frames) {
    if (left.size() < frames) {
      left.resize(frames);
      right.resize(frames);
    }
    render(static_cast<int>(frames), left.data(), right.data());
    for (size_t i = 0; i < frames; ++i) {
      out[2 * i] = left[i];
      out[2 * i + 1] = right[i];
    }
  }

  // Waits, with the loop locked, until the context or the stream settles.
  template <typename State, typename Get>
  bool WaitFor(State ready, Get get) {
    for (;;) {
      const auto state = get();
      if (state == ready) return true;
      if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) return false;
      if constexpr (std::is_same_v<State, pa_stream_state_t>) {
        if (!PA_STREAM_IS_GOOD(state)) return false;
      }
      pa_threaded_mainloop_wait(loop);
    }
  }

  static constexpr size_t kFrameBytes = 2 * sizeof(float);
  Render render;
  std::vector<float> left, right;
  pa_threaded_mainloop* loop = nullptr;
  pa_context* context = nullptr;
  pa_stream* stream = nullptr;
  std::atomic<bool> failed{false};
};

PulseAudioStream::PulseAudioStream(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

PulseAudioStream::PulseAudioStream() = default;
PulseAudioStream::~PulseAudioStream() = default;

bool PulseAudioStream::Failed() const { return impl_->failed.load(); }

std::unique_ptr<PulseAudioStream> PulseAudioStream::Start(const PulseAudioStreamOptions& options,
                                                          Render render, std::string* why) {
  auto d = std::make_unique<Impl>();
  d->render = std::move(render);
  auto fail = [&](const char* what) -> std::unique_ptr<PulseAudioStream> {
    if (why != nullptr) {
      *why = what;
      if (d->context != nullptr) {
        *why += std::string(": ") + pa_strerror(pa_context_errno(d->context));
      }
    }
    if (d->loop != nullptr) pa_threaded_mainloop_unlock(d->loop);
    return nullptr;
  };
  const size_t block = static_cast<size_t>(std::max(1, options.periodSize));
  d->left.resize(block);
  d->right.resize(block);

  d->loop = pa_threaded_mainloop_new();
  if (d->loop == nullptr) return fail("no main loop");
  // Held from here on, so that every way out through fail() has it to let go.
  pa_threaded_mainloop_lock(d->loop);
  pa_proplist* props = pa_proplist_new();
  pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, options.applicationName.c_str());
  pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, options.mediaRole.c_str());
  d->context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(d->loop),
                                            options.applicationName.c_str(), props);
  if (d->context == nullptr) {
    pa_proplist_free(props);
    return fail("no context");
  }
  pa_context_set_state_callback(d->context, &Impl::ContextState, d.get());
  if (pa_threaded_mainloop_start(d->loop) < 0) {
    pa_proplist_free(props);
    return fail("the main loop did not start");
  }
  // Never start a server of our own: where none runs, the next output is the better try.
  if (pa_context_connect(d->context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
      !d->WaitFor(PA_CONTEXT_READY, [&] { return pa_context_get_state(d->context); })) {
    pa_proplist_free(props);
    return fail("no sound server");
  }

  const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, static_cast<uint32_t>(options.sampleRate), 2};
  d->stream = pa_stream_new_with_proplist(d->context, "Kadeno", &spec, nullptr, props);
  pa_proplist_free(props);
  if (d->stream == nullptr) return fail("no stream");
  pa_stream_set_state_callback(d->stream, &Impl::StreamState, d.get());
  pa_stream_set_write_callback(d->stream, &Impl::Write, d.get());
  const auto bytes = static_cast<uint32_t>(block * Impl::kFrameBytes);
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.tlength = bytes * static_cast<uint32_t>(std::max(1, options.periods));
  attr.prebuf = static_cast<uint32_t>(-1);
  attr.minreq = bytes;
  attr.fragsize = static_cast<uint32_t>(-1);
  // No latency adjustment: the small buffer is this stream's own, and the sink keeps the
  // latency the other streams (a screen reader's speech) want.
  if (pa_stream_connect_playback(d->stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr, nullptr) <
          0 ||
      !d->WaitFor(PA_STREAM_READY, [&] { return pa_stream_get_state(d->stream); })) {
    return fail("the playback stream did not start");
  }
  pa_threaded_mainloop_unlock(d->loop);
  return std::unique_ptr<PulseAudioStream>(new PulseAudioStream(std::move(d)));
}

}  // namespace kadeno
