// The clock seam: time, and the waits that let the window's events (keys, menu commands)
// run inside a game. The real program's event loop implements it; the tests a virtual
// clock that runs scripted events at their times.
#pragma once

#include <cstdint>

namespace kadeno {

class EventClock {
 public:
  virtual ~EventClock() = default;

  // Runs every pending window event (keys, menu commands) to completion.
  virtual void Yield() = 0;
  // A monotonic clock in whole milliseconds; never 0 and never jumps back.
  virtual int64_t ClockMs() = 0;
  // Blocks the thread; no events run meanwhile. Negative amounts sleep 0.
  virtual void SleepMs(int64_t ms) = 0;
  // The game's wait: sleeps ms, but wakes as soon as input arrives and runs its handlers
  // at once, as a yield would; then sleeps out the rest. The handlers' own time does not
  // count toward ms, so the wait is as long as a yield followed by a sleep would make it.
  // Negative amounts sleep 0.
  virtual void WaitMs(int64_t ms) = 0;
};

}  // namespace kadeno
