#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace kadeno {
namespace {

TEST(CommandLine, PlaysPrintsOrRefuses) {
  struct Row {
    std::vector<std::string> args;
    bool play;
    int status;
    std::string out;  // the first line of standard output
    std::string err;
  };
  const auto refusing = [](const std::string& arg) {
    return "kadeno: unknown argument '" + arg + "' (try kadeno --help)\n";
  };
  const Row rows[] = {
      {{}, true, 0, "", ""},
      {{"--version"}, false, 0, "kadeno 1.2.3", ""},
      {{"--help"}, false, 0, "Usage: kadeno [--help | --version]", ""},
      {{"--version", "--help"}, false, 0, "kadeno 1.2.3", ""},
      {{"--help", "--version"}, false, 0, "Usage: kadeno [--help | --version]", ""},
      {{"-h"}, false, 2, "", refusing("-h")},
      {{"--Help"}, false, 2, "", refusing("--Help")},
      {{""}, false, 2, "", refusing("")},
      {{"-platform", "offscreen"}, false, 2, "", refusing("-platform")},
      // An unknown argument is refused even after a known one.
      {{"--help", "extra"}, false, 2, "", refusing("extra")},
  };
  for (const Row& row : rows) {
    const std::string args = ::testing::PrintToString(row.args);
    const CommandLineAnswer a = ReadCommandLine(row.args, "1.2.3");
    EXPECT_EQ(a.play, row.play) << args;
    EXPECT_EQ(a.status, row.status) << args;
    EXPECT_EQ(a.out.substr(0, a.out.find('\n')), row.out) << args;
    EXPECT_EQ(a.err, row.err) << args;
  }
}

TEST(CommandLine, HelpNamesTheOptionsTheEnvironmentAndTheFiles) {
  const std::string help = ReadCommandLine({"--help"}, "1.2.3").out;
  for (const char* word :
       {"--help", "--version", "KADENO_MIDI_OUT", "log:PATH", "none", "KADENO_SOUNDFONT",
        "KADENO_SPEECH", "Kadeno.ini", "registry.reg", "kadeno(6)"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
  // Every line fits an 80-column terminal.
  size_t start = 0;
  for (size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_LE(end - start, 79u) << help.substr(start, end - start);
  }
  EXPECT_EQ(start, help.size()) << "the help ends with a new line";
}

}  // namespace
}  // namespace kadeno
