#include "speechd/SpeechDispatcherSpeech.h"

#include <libspeechd.h>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "retry/Reconnect.h"

namespace kadeno {

struct SpeechDispatcherSpeech::Channel {
  std::mutex mutex;
  std::condition_variable wake;
  bool started = false;
  std::optional<std::string> text;  // the newest text not yet handed to the service
  bool stop = false;                // silence what the service is saying
  bool quit = false;
  bool failed = false;   // no worker could be started
  std::string language;  // of the texts, for the service's voice; "" leaves its own
  RetryClock clock;
};

namespace {

using Channel = SpeechDispatcherSpeech::Channel;

// A service that takes longer than this to answer one command counts as gone.
constexpr int kReplyTimeoutSeconds = 5;
// After the service is lost, the next box tries again, but no sooner than this after the
// last failure: a try may start the service, which takes about a second.
constexpr auto kRetryInterval = std::chrono::seconds(2);

// One line on stderr, however many lines the library's message has.
void Report(const std::string& what, const char* then = "; going on without speech") {
  std::string line = "kadeno: ";
  for (char c : what) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    if (c != ' ' || line.back() != ' ') line += c;
  }
  while (line.back() == ' ') line.pop_back();
  std::fprintf(stderr, "%s%s\n", line.c_str(), then);
}

// Null when there is no connection, with the reason in *why.
SPDConnection* Open(const std::string& language, std::string* why) {
  char* error = nullptr;
  SPDConnection* connection =
      spd_open2("kadeno", "boxes", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
  if (connection == nullptr) {
    *why = std::string("no speech service: ") + (error != nullptr ? error : "unknown error");
    std::free(error);
    return nullptr;
  }
  // libspeechd waits for every reply without a limit; the socket's own timeouts give one.
  timeval limit{kReplyTimeoutSeconds, 0};
  setsockopt(connection->socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(connection->socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  // A service without a voice for the language keeps its own; the texts are still said.
  if (!language.empty()) spd_set_language(connection, language.c_str());
  return connection;
}

// The service's protocol ends its lines with CR LF; the library then escapes a line that
// starts with a dot, which would otherwise end the text early.
std::string ProtocolLines(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Takes the next request off the channel: a text to say, a stop, or (false) the end of the
// run. While the service is lost a text waits here for its next try, keeping its place
// for a newer text or a stop; a stop alone has nothing to silence.
bool Next(Channel& channel, const ReconnectPacer& pacer, bool connected,
          std::optional<std::string>& text) {
  std::unique_lock lock(channel.mutex);
  for (;;) {
    if (channel.quit) return false;
    if (!connected && channel.stop && !channel.text) channel.stop = false;
    if (channel.text || channel.stop) {
      if (connected || pacer.Due(channel.clock.now())) break;
      channel.clock.waitUntil(lock, channel.wake, pacer.NextTry());
    } else {
      channel.wake.wait(lock);
    }
  }
  text = std::exchange(channel.text, std::nullopt);  // a text put back and since replaced goes
  channel.stop = false;
  return true;
}

// A text the service did not take is said at the next try, unless something newer came.
void PutBack(Channel& channel, std::optional<std::string>& text) {
  std::lock_guard lock(channel.mutex);
  if (!channel.text && !channel.stop) channel.text.swap(text);
}

bool Superseded(Channel& channel) {
  std::lock_guard lock(channel.mutex);
  return channel.text || channel.stop;
}

void Work(const std::shared_ptr<Channel>& channel) {
  // A service that goes away makes the next write fail; the signal that comes with it
  // must not end the program. It is blocked for this thread alone.
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

  SPDConnection* connection = nullptr;
  ReconnectPacer pacer(kRetryInterval);
  auto lose = [&](const std::string& why) {
    if (connection != nullptr) spd_close(connection);
    connection = nullptr;
    if (pacer.Failed(channel->clock.now())) Report(why);
  };
  std::optional<std::string> text;
  while (Next(*channel, pacer, connection != nullptr, text)) {
    if (connection == nullptr) {
      if (!text) continue;  // nothing is being said yet
      std::string why;
      if ((connection = Open(channel->language, &why)) == nullptr) {
        lose(why);
        PutBack(*channel, text);
        continue;
      }
    }
    // A text whose box closed, or that a newer one replaced, while the connection was being
    // made (a starting service may take seconds to answer) is left unsaid.
    if (Superseded(*channel)) text.reset();
    // Every text cuts off the one before it.
    if (spd_cancel(connection) != 0) {
      lose("the speech service stopped answering");
    } else if (text && spd_say(connection, SPD_MESSAGE, ProtocolLines(*text).c_str()) < 0) {
      lose("the speech service did not take a text");
    } else {
      if (text && pacer.Succeeded()) Report("the speech service answers again", "; speaking on");
      text.reset();
    }
    if (connection == nullptr) PutBack(*channel, text);
  }
  if (connection != nullptr) spd_close(connection);
}

}  // namespace

SpeechDispatcherSpeech::SpeechDispatcherSpeech(std::string language, RetryClock clock)
    : channel_(std::make_shared<Channel>()) {
  channel_->language = std::move(language);
  channel_->clock = std::move(clock);
}

SpeechDispatcherSpeech::~SpeechDispatcherSpeech() {
  {
    std::lock_guard lock(channel_->mutex);
    channel_->quit = true;
  }
  channel_->wake.notify_one();
}

void SpeechDispatcherSpeech::Say(const std::string& text) {
  {
    std::lock_guard lock(channel_->mutex);
    if (channel_->failed) return;
    channel_->text = text;
    if (!channel_->started) {
      // The worker may be stuck in the service for good at the end of the run; it holds
      // its own share of the channel and is never waited for.
      channel_->started = true;
      try {
        std::thread([channel = channel_] { Work(channel); }).detach();
      } catch (const std::system_error& e) {
        Report(std::string("no thread for speech: ") + e.what());
        channel_->failed = true;
      }
    }
  }
  channel_->wake.notify_one();
}

void SpeechDispatcherSpeech::Stop() {
  {
    std::lock_guard lock(channel_->mutex);
    if (!channel_->started || channel_->failed) return;
    channel_->text.reset();
    channel_->stop = true;
  }
  channel_->wake.notify_one();
}

}  // namespace kadeno
