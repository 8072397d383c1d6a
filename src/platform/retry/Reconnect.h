// When to try a lost connection again (the sound server, the speech service, a MIDI
// device), and when that is worth a line on stderr: one when it is lost, one when it is
// back, none for the tries in between. Times come from the caller, so that the tests run
// it on a virtual clock.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

namespace kadeno {

class ReconnectPacer {
 public:
  using Clock = std::chrono::steady_clock;
  // At most one try in each `interval` after a failure.
  explicit ReconnectPacer(Clock::duration interval) : interval_(interval) {}

  // The connection was lost, or a try to make it failed, at `now`. True for the first
  // failure since it last worked (or since the start): the one to say.
  bool Failed(Clock::time_point now) {
    lastFailure_ = now;
    return std::exchange(up_, false);
  }
  // A connection is made. True when it had been lost: say that it is back.
  bool Succeeded() { return !std::exchange(up_, true); }
  bool Up() const { return up_; }
  // Whether a try may be made at `now`: always while nothing has failed.
  bool Due(Clock::time_point now) const { return up_ || now >= NextTry(); }
  // When the next try is due after a failure.
  Clock::time_point NextTry() const { return lastFailure_ + interval_; }

 private:
  Clock::duration interval_;
  Clock::time_point lastFailure_{};
  bool up_ = true;
};

// The clock a retrying thread reads and waits by: the steady clock, or in the tests a
// virtual one, so that the tries of ten seconds without a service are counted at once.
struct RetryClock {
  using Clock = ReconnectPacer::Clock;
  std::function<Clock::time_point()> now = [] { return Clock::now(); };
  // Waits on `wake` with `lock` held until `until` or a notification.
  std::function<void(std::unique_lock<std::mutex>&, std::condition_variable&, Clock::time_point)>
      waitUntil = [](std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                     Clock::time_point until) { wake.wait_until(lock, until); };
};

}  // namespace kadeno
