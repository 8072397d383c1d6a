// Start-up: the help pages, then the stereo table from the loaded settings; and the About box.
#include <gtest/gtest.h>

#include "shell/HelpPages.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(StartUp, HelpPagesThenTheStereoTableFromTheLoadedSettings) {
  Harness h;
  h.window.files[h.SettingsPath()] =
      "StereoWide = 40\r\nStereoCurve = 30\r\nStereoBalance = 60\r\n";
  for (Answer a : {Answer::No, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes, Answer::Yes,
                   Answer::Yes, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes})
    h.window.Reply(a);
  h.form.Form_Load();
  EXPECT_TRUE(h.form.settings().Stereo);
  // Wide 40, curve 30, balance 60: the left column (nominal 0) sits at 45, the right
  // column (126) at 101.
  h.form.voices().SendPan(0, Channel::Drum);
  h.form.voices().SendPan(126, Channel::Drum);
  EXPECT_EQ(h.audio.Hex(), (std::vector<std::string>{"B9 0A 2D", "B9 0A 65"}));

  h.window.Reply(Answer::Cancel);  // a new call starts at page 1 again
  ShowInstructions(h.window);
  std::vector<std::string> pages;  // in the order first shown
  std::vector<int> shown, lines;
  for (const BoxRecord& b : h.window.boxes) {
    auto at = std::find(pages.begin(), pages.end(), b.prompt);
    if (at == pages.end()) {
      at = pages.insert(at, b.prompt);
      lines.push_back(std::count(b.prompt.begin(), b.prompt.end(), '\n'));
    }
    shown.push_back(at - pages.begin() + 1);
    EXPECT_EQ(std::tuple(b.style, b.title, b.prompt.substr(b.prompt.size() - 2)),
              std::tuple(Box::YesNoCancel, "Kadeno Help", "\r\n"));
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 1, 2, 1, 2, 3, 4, 5, 6, 5, 6, 1}));
  EXPECT_EQ(lines, (std::vector<int>{6, 10, 12, 14, 10, 9}));

  h.window.Reply(Answer::Ok);
  ShowAbout(h.window);
  const BoxRecord& about = h.window.boxes.back();
  EXPECT_EQ(std::tuple(about.style, about.title, about.prompt.substr(0, 30)),
            std::tuple(Box::Ok, std::nullopt, "  It does not interfere with o"));
}

}  // namespace
}  // namespace kadeno::test
