// When a lost service is tried again, and which failures and returns are worth a line.
#include "retry/Reconnect.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/TestData.h"

namespace kadeno {
namespace {

// tests/data/reconnect-steps.txt: what each failure, success and question gets.
TEST(ReconnectPacer, TriesAndLinesFollowTheFailures) {
  for (const auto& row : test::TestRows("reconnect-steps.txt")) {
    ReconnectPacer pacer{std::chrono::milliseconds(std::stoi(row.at(1)))};
    const ReconnectPacer::Clock::time_point start{std::chrono::hours(1)};
    std::istringstream in(row.at(2));
    for (std::string step; in >> step;) {
      const auto now = start + std::chrono::milliseconds(std::stoi(step.substr(1)));
      const bool answer = step[0] == 'F'   ? pacer.Failed(now)
                          : step[0] == 'S' ? pacer.Succeeded()
                                           : pacer.Due(now);
      EXPECT_EQ(answer, step.back() == '+') << row[0] << ": " << step;
    }
  }
}

}  // namespace
}  // namespace kadeno
