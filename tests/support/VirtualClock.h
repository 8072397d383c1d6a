// A clock for a retrying thread: each wait jumps to its end, so tries take no time, until
// Hold() makes the waits real (short) ones, for the thread to rest while the test looks.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "retry/Reconnect.h"

namespace kadeno::test {

struct VirtualClock {
  using Clock = RetryClock::Clock;
  static constexpr Clock::time_point kStart{std::chrono::hours(1)};
  struct Shared {
    std::atomic<int64_t> ms{0};
    std::atomic<bool> held{false};
  };
  // Shared with the thread, which may outlive the test's scope.
  std::shared_ptr<Shared> s = std::make_shared<Shared>();

  int64_t Ms() const { return s->ms; }
  void Hold() const { s->held = true; }
  RetryClock Make() const {
    return {[s = s] { return kStart + std::chrono::milliseconds(s->ms.load()); },
            [s = s](std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                    Clock::time_point until) {
              using std::chrono::duration_cast, std::chrono::milliseconds;
              if (s->held)
                wake.wait_for(lock, milliseconds(10));
              else
                s->ms = std::max(s->ms.load(), duration_cast<milliseconds>(until - kStart).count());
            }};
  }
};

// Polls `done` every 20 ms of real time for up to `limit`; whether it came true.
template <typename Done>
bool Within(std::chrono::milliseconds limit, Done done) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace kadeno::test
