// Start-up (command line, help pages, stereo table), the About box, and the hall of fame.
#include <gtest/gtest.h>

#include "shell/CommandLine.h"
#include "shell/HelpPages.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(CommandLine, PlaysPrintsOrRefuses) {
  // {arguments, first line printed, complaint}: no arguments play; an unknown one is refused
  // even after a known one.
  const std::tuple<std::vector<std::string>, std::string, std::string> rows[] = {
      {{}, "", ""},
      {{"--help"}, "Usage: kadeno [--help | --version]", ""},
      {{"--version", "--help"}, "kadeno 1.2.3", ""},
      {{"--Help"}, "", "kadeno: unknown argument '--Help' (try kadeno --help)\n"},
      {{"--help", "extra"}, "", "kadeno: unknown argument 'extra' (try kadeno --help)\n"}};
  for (const auto& [args, out, err] : rows) {
    const CommandLineAnswer a = ReadCommandLine(args, "1.2.3");
    EXPECT_EQ(std::tuple(a.play, a.status, a.out.substr(0, a.out.find('\n')), a.err),
              std::tuple(args.empty(), err.empty() ? 0 : 2, out, err))
        << testing::PrintToString(args);
  }
  // The version, then the copyright and, last, the licence.
  EXPECT_EQ(ReadCommandLine({"--version"}, "1.2.3").out,
            "kadeno 1.2.3\nCopyright (c) 2026 The Kadeno developers\n"
            "Licence: MIT <https://opensource.org/license/mit>\n");
  const std::string help = ReadCommandLine({"--help"}, "1.2.3").out;
  size_t start = 0;
  for (size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 79u) << help.substr(start, end - start);
  EXPECT_EQ(start, help.size());
}

TEST(StartUp, HelpPagesThenTheStereoTableFromTheLoadedSettings) {
  Harness h;
  h.window.files[h.SettingsPath()] = "StereoWide = 40\r\nStereoCurve = 30\r\nStereoBalance = 60";
  using enum Answer;
  for (Answer a : {No, Yes, No, Yes, Yes, Yes, Yes, Yes, No, Yes, Yes}) h.window.Reply(a);
  h.form.Form_Load();
  h.form.voices().SendPan(126, Channel::Drum);  // the right column at 101
  EXPECT_EQ(h.audio.Hex(), std::vector<std::string>{"B9 0A 65"});

  h.window.Reply(Cancel);  // a new call starts at page 1 again
  ShowInstructions(h.window);
  const int pageOf[] = {1, 1, 2, 1, 2, 3, 4, 5, 6, 5, 6, 1};
  ASSERT_EQ(h.window.boxes.size(), std::size(pageOf));
  for (size_t i = 0; i < std::size(pageOf); ++i) {
    const BoxRecord& b = h.window.boxes[i];
    EXPECT_EQ(std::tuple(b.style, b.title, b.prompt.substr(b.prompt.size() - 2)),
              std::tuple(Box::YesNoCancel, "Kadeno Help", "\r\n"));
    for (size_t j = 0; j < i; ++j)
      EXPECT_EQ(b.prompt == h.window.boxes[j].prompt, pageOf[i] == pageOf[j]) << i << " " << j;
  }

  h.window.Reply(Ok, "  It does not interfere with or depend upon");
  ShowAbout(h.window);
  EXPECT_EQ(std::tuple(h.window.boxes.back().style, h.window.boxes.back().title == std::nullopt),
            std::tuple(Box::Ok, true));
}

TEST(HallOfFame, TiesGoBelowAndTheFifthPlaceIsListed) {
  Harness h;
  const std::string heading = "Here is the Kadeno Masters Hall of Fame:\r\n";
  // The level is kept in the tenths (level 0 as .05).
  h.S().HallOfFame = {{{500.4, "a"}, {400, "b"}, {300.9, "c"}, {200, "d"}, {100, "e"}}};
  h.window.Reply(Answer::Ok, "With practice, you will soon rank among the Kadeno Masters!");
  h.window.Reply(Answer::Ok, heading);
  h.form.hallOfFame().OfferAtGameEnd(100);  // no better than place 5: no name asked
  h.window.Type("", "Please enter your name for the Hall of Fame");
  h.window.Reply(Answer::Ok, heading);
  h.S().Difficulty = 0;
  h.form.hallOfFame().OfferAtGameEnd(400);
  EXPECT_EQ(h.window.boxes.back().prompt,
            heading +
                "First Place, with 500 points is a at a difficulty level of  5\r\n"
                "Second Place, with 400 points is b at a difficulty level of  1\r\n"
                "Third Place, with 400 points is  at a difficulty level of  0\r\n"
                "Fourth Place, with 300 points is c at a difficulty level of  10\r\n"
                "Fifth Place, with 200 points is d at a difficulty level of  1\r\n");
  EXPECT_EQ(h.window.writes, 2);
}

}  // namespace
}  // namespace kadeno::test
