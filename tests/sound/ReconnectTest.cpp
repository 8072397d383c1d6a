// When a lost sound server, speech service or MIDI device is tried again, and which of
// the failures and returns are worth a line, on a virtual clock.
#include "retry/Reconnect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kadeno {
namespace {

using namespace std::chrono_literals;

// One step of a connection's life at `ms` on the clock: a failure (the answer is whether
// to say it), a success (whether to say it is back), or the question whether a try is due.
struct Step {
  int ms;
  enum { Fail, Succeed, Due } what;
  bool answer;
};

struct Case {
  std::string name;
  int intervalMs;
  std::vector<Step> steps;
};

TEST(ReconnectPacer, TriesAndLinesFollowTheFailures) {
  const std::vector<Case> cases = {
      {"a first try is due at once, and a first success is not news",
       500,
       {{0, Step::Due, true}, {0, Step::Succeed, false}, {10, Step::Due, true}}},
      {"the first failure is said; the next try waits the whole interval",
       500,
       {{1000, Step::Fail, true},
        {1000, Step::Due, false},
        {1499, Step::Due, false},
        {1500, Step::Due, true}}},
      {"failed tries are not said, and each pushes the next try back",
       500,
       {{0, Step::Fail, true},
        {500, Step::Fail, false},
        {999, Step::Due, false},
        {1000, Step::Due, true},
        {1000, Step::Fail, false},
        {1400, Step::Due, false}}},
      {"the return is said once, and a second loss is said again",
       2000,
       {{0, Step::Fail, true},
        {2000, Step::Succeed, true},
        {2001, Step::Due, true},
        {2500, Step::Succeed, false},
        {3000, Step::Fail, true},
        {4999, Step::Due, false},
        {5000, Step::Due, true}}},
      {"the speech service's two seconds",
       2000,
       {{0, Step::Fail, true}, {1999, Step::Due, false}, {2000, Step::Due, true}}},
  };
  for (const Case& c : cases) {
    ReconnectPacer pacer{std::chrono::milliseconds(c.intervalMs)};
    const ReconnectPacer::Clock::time_point start{std::chrono::hours(1)};
    for (const Step& s : c.steps) {
      const auto now = start + std::chrono::milliseconds(s.ms);
      bool answer = false;
      if (s.what == Step::Fail) answer = pacer.Failed(now);
      if (s.what == Step::Succeed) answer = pacer.Succeeded();
      if (s.what == Step::Due) answer = pacer.Due(now);
      EXPECT_EQ(answer, s.answer) << c.name << ", at " << s.ms << " ms";
    }
  }
}

}  // namespace
}  // namespace kadeno
