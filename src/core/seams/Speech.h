// The speech seam: a voice of the program's own, for a player whose screen reader is not
// running. The real program speaks through the desktop's speech service; the tests record
// every utterance.
#pragma once

#include <string>

namespace kadeno {

class Speech {
 public:
  virtual ~Speech() = default;

  // Says text, cutting off whatever is still being said. Returns at once: the speaking
  // goes on while the program does.
  virtual void Say(const std::string& text) = 0;
  // Silences what is being said.
  virtual void Stop() = 0;
};

}  // namespace kadeno
