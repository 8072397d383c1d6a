// A player's script played against the fakes: its commands are described at the top of
// tests/data/game-scripts.txt.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "registry/RegistryAccess.h"
#include "support/Harness.h"

namespace kadeno::test {

class Script {
 public:
  struct Run {
    Harness h;
    MemoryRegistry reg;
    RegistryAccess access{reg, h.window, h.window};
    size_t word = 0, wave = 0, journal = 0;  // where the next play's record starts
  };

  // Plays tests/data/NAME; a line's failures name it.
  explicit Script(std::string_view name);

  // The command lines' answers, then each run's journal.
  std::string Record() const;

  std::vector<std::unique_ptr<Run>> runs;
  int plays = 0;

 private:
  void Do(const std::string& line);
  void Input(Run& r, const std::string& line);
  std::string Play(Run& r, const std::string& menuItem);
  Run& New(const std::string& settings);

  std::string settings_, commandLines_;
  bool echo_ = false;
};

}  // namespace kadeno::test
