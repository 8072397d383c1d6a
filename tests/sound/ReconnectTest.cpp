// When a lost service is tried again, and which failures and returns are worth a line.
#include "retry/Reconnect.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

namespace kadeno {
namespace {

TEST(ReconnectPacer, TriesAndLinesFollowTheFailures) {
  // {what happens, interval ms, steps}. A step: "F" a failure (answer: say it?), "S" a
  // success (say it is back?) or "D" (is a try due?), the clock in ms, the answer "+" or "-".
  const std::tuple<const char*, int, const char*> cases[] = {
      {"a first try is due at once, and a first success is not news", 500, "D0+ S0- D10+"},
      {"the first failure is said; the next try waits the whole interval", 500,
       "F1000+ D1000- D1499- D1500+"},
      {"failed tries are not said, and each pushes the next try back", 500,
       "F0+ F500- D999- D1000+ F1000- D1400-"},
      {"the return is said once, and a second loss is said again", 2000,
       "F0+ S2000+ D2001+ S2500- F3000+ D4999- D5000+"},
      {"the speech service's two seconds", 2000, "F0+ D1999- D2000+"},
  };
  for (const auto& [name, intervalMs, steps] : cases) {
    ReconnectPacer pacer{std::chrono::milliseconds(intervalMs)};
    const ReconnectPacer::Clock::time_point start{std::chrono::hours(1)};
    std::istringstream in(steps);
    for (std::string step; in >> step;) {
      const auto now = start + std::chrono::milliseconds(std::stoi(step.substr(1)));
      const bool answer = step[0] == 'F'   ? pacer.Failed(now)
                          : step[0] == 'S' ? pacer.Succeeded()
                                           : pacer.Due(now);
      EXPECT_EQ(answer, step.back() == '+') << name << ": " << step;
    }
  }
}

}  // namespace
}  // namespace kadeno
