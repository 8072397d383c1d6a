#include "shell/SelfVoicing.h"

#include <gtest/gtest.h>

#include "shell/SpeakingWindow.h"
#include "support/FakeSpeech.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(SelfVoicing, ModeFromTheEnvironment) {
  const struct {
    const char* value;
    std::optional<SpeechMode> mode;
  } cases[] = {{nullptr, SpeechMode::Auto}, {"", SpeechMode::Auto},   {"auto", SpeechMode::Auto},
               {"ON", SpeechMode::On},      {"Off", SpeechMode::Off}, {"yes", std::nullopt},
               {" on", std::nullopt},       {"0", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ParseSpeechMode(c.value), c.mode) << c.value;
}

TEST(SelfVoicing, WhatAMessageBoxSays) {
  const struct {
    std::string prompt;
    int style;
    std::optional<std::string> title;
    std::string said;
  } cases[] = {
      // Padding and line ends go; the title and the buttons stand as sentences of their own.
      {"  In this brief help area   \r\n  will move on.  \r\n", Box::YesNoCancel, "Kadeno Help",
       "Kadeno Help.\nIn this brief help area\nwill move on.\nYes, No, Cancel."},
      {"Are you ready?", Box::YesNo, "About to start Game Play",
       "About to start Game Play.\nAre you ready?\nYes, No."},
      {"Your score is 12", Box::Ok | Box::IconInformation, std::nullopt, "Your score is 12.\nOK."},
      {"Sure:", Box::OkCancel | Box::IconQuestion, std::nullopt, "Sure:\nOK, Cancel."},
      // An empty listing and an empty title leave only the button.
      {"\r\n  \r\n", Box::Ok, "", "OK."},
      // Broken UTF-8 (a Latin-1 byte, a surrogate, an overlong slash, beyond U+10FFFF, a
      // cut-off character) and control characters are dropped; a tab is a blank.
      {"An\xe9"
       "a\x01\tB\xc3\xa9\xed\xa0\x80\xc0\xaf\xe0\x80\xaf\xf4\x90\x80\x80\xc2\x85\xf0\x9f\x8e\xb5"
       "\x7f!\xe2\x82",
       Box::Ok, std::nullopt, "Ana B\xc3\xa9\xf0\x9f\x8e\xb5!\nOK."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpokenMessageBox(c.prompt, c.style, c.title), c.said) << c.prompt;
  }
}

TEST(SelfVoicing, WhatAnInputBoxSays) {
  EXPECT_EQ(SpokenInputBox("Please enter your name for the Hall of Fame",
                           "You have have ranked among the Kadeno Masters!", "who?"),
            "You have have ranked among the Kadeno Masters!\nPlease enter your name for the "
            "Hall of Fame.\nIn the field: who?\nOK, Cancel.");
  EXPECT_EQ(SpokenInputBox("Drum Volume is now 100 out of 127.", std::nullopt, ""),
            "Drum Volume is now 100 out of 127.\nThe field is empty.\nOK, Cancel.");
}

// Steps: "+X" a box saying X shows, "-" the newest box is answered, "R" the desktop says a
// screen reader runs, "r" that none does.
TEST(SelfVoicing, SpeaksOnlyWithoutAScreenReader) {
  const struct {
    SpeechMode mode;
    std::vector<std::string> steps;
    std::vector<std::string> calls;
  } cases[] = {
      // Auto waits for the desktop's first word, then speaks the box that is showing.
      {SpeechMode::Auto, {"+A", "r", "-", "+B"}, {"say A", "stop", "say B"}},
      {SpeechMode::Auto, {"r", "r", "+A", "-", "r"}, {"say A", "stop"}},
      // A screen reader that stops hands the box showing back; one that starts silences us.
      {SpeechMode::Auto, {"R", "+A", "r", "R", "-", "+B", "-"}, {"say A", "stop"}},
      {SpeechMode::Auto, {"r", "R", "+A", "R"}, {"stop"}},
      // Nested boxes: the newest one is the one spoken.
      {SpeechMode::Auto,
       {"r", "+A", "+B", "R", "r", "-", "-"},
       {"say A", "say B", "stop", "say B", "stop", "stop"}},
      {SpeechMode::On, {"R", "+A", "r", "R", "-"}, {"say A", "stop"}},
      {SpeechMode::Off, {"r", "+A", "-", "R", "r"}, {}},
  };
  for (const auto& c : cases) {
    FakeSpeech speech;
    SelfVoicing voicing(speech, c.mode);
    std::string trace;
    for (const std::string& step : c.steps) {
      trace += step + " ";
      if (step[0] == '+') voicing.BoxShown(step.substr(1));
      if (step == "-") voicing.BoxClosed();
      if (step == "R" || step == "r") voicing.ScreenReaderRunning(step == "R");
    }
    EXPECT_EQ(speech.calls, c.calls) << trace;
  }
}

TEST(SelfVoicing, TheWindowSpeaksEachBoxButNotWhatIsTyped) {
  FakeWindow window;
  FakeAudio audio;
  FakeSpeech speech;
  SelfVoicing voicing(speech, SpeechMode::On);
  SpeakingWindow speaking(window, voicing);
  MainForm form(speaking, audio);
  window.Type("Cat");
  window.Reply(Answer::Ok);
  form.hallOfFame().RecordAndShowHallOfFame(500);

  ASSERT_EQ(window.boxes.size(), 2u);
  EXPECT_EQ(window.boxes[0].typed, "Cat");
  EXPECT_EQ(
      speech.calls,
      (std::vector<std::string>{
          "say " + SpokenInputBox(window.boxes[0].prompt, window.boxes[0].title, "who?"), "stop",
          "say " + SpokenMessageBox(window.boxes[1].prompt, Box::Ok, std::nullopt), "stop"}));
  EXPECT_NE(speech.calls[2].find("points is Cat at"), std::string::npos) << speech.calls[2];
  // Everything else goes straight through to the window: the settings were saved there.
  EXPECT_EQ(window.files.count(window.settingsFolder + "/Kadeno.ini"), 1u);
}

}  // namespace
}  // namespace kadeno::test
