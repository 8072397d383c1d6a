// A recording speech: every utterance and every stop, in order.
#pragma once

#include <string>
#include <vector>

#include "seams/Speech.h"

namespace kadeno::test {

class FakeSpeech : public Speech {
 public:
  std::vector<std::string> calls;

  void Say(const std::string& text) override { calls.push_back("say " + text); }
  void Stop() override { calls.push_back("stop"); }
};

}  // namespace kadeno::test
