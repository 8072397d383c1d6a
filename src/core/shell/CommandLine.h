// What the command line asks of the program before any window opens: the game itself, or
// a text to print and an exit status, as command-line users expect of --help and --version.
#pragma once

#include <string>
#include <vector>

namespace kadeno {

struct CommandLineAnswer {
  bool play = true;  // no arguments: start the game
  int status = 0;    // the exit status when not playing
  std::string out;   // for standard output
  std::string err;   // for standard error, one line
};

// args are the arguments after the program's name.
CommandLineAnswer ReadCommandLine(const std::vector<std::string>& args, const std::string& version);

}  // namespace kadeno
