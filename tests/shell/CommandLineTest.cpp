#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace kadeno {
namespace {

TEST(CommandLine, PlaysPrintsOrRefuses) {
  // {arguments, first line printed, argument refused}; with no arguments the game plays.
  const std::tuple<std::vector<std::string>, std::string, std::string> rows[] = {
      {{}, "", ""},
      {{"--help"}, "Usage: kadeno [--help | --version]", ""},
      {{"--version", "--help"}, "kadeno 1.2.3", ""},
      {{"--Help"}, "", "--Help"},
      {{"--help", "extra"}, "", "extra"}};  // refused even after a known one
  for (const auto& [args, out, refused] : rows) {
    const CommandLineAnswer a = ReadCommandLine(args, "1.2.3");
    const std::string err =
        refused.empty() ? "" : "kadeno: unknown argument '" + refused + "' (try kadeno --help)\n";
    EXPECT_EQ(std::tuple(a.play, a.status, a.out.substr(0, a.out.find('\n')), a.err),
              std::tuple(args.empty(), refused.empty() ? 0 : 2, out, err))
        << testing::PrintToString(args);
  }
  // The help fits an 80-column terminal and ends with a new line.
  const std::string help = ReadCommandLine({"--help"}, "1.2.3").out;
  size_t start = 0;
  for (size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 79u) << help.substr(start, end - start);
  EXPECT_EQ(start, help.size());
}

}  // namespace
}  // namespace kadeno
