// What the self-voicing says for each box, and when it speaks at all.
#include "shell/SelfVoicing.h"

#include <gtest/gtest.h>

#include <sstream>

#include "shell/SpeakingWindow.h"
#include "support/FakeSpeech.h"
#include "support/FakeWindow.h"
#include "support/TestData.h"

namespace kadeno::test {
namespace {

TEST(SelfVoicing, ModeFromTheEnvironment) {
  const std::pair<const char*, std::optional<SpeechMode>> cases[] = {
      {nullptr, SpeechMode::Auto}, {"", SpeechMode::Auto},   {"auto", SpeechMode::Auto},
      {"ON", SpeechMode::On},      {"Off", SpeechMode::Off}, {" on", std::nullopt}};
  for (const auto& [value, mode] : cases) EXPECT_EQ(ParseSpeechMode(value), mode) << value;
}

// tests/data/self-voicing-steps.txt: boxes shown and answered, a screen reader coming and going.
TEST(SelfVoicing, SpeaksOnlyWithoutAScreenReader) {
  for (const auto& row : TestRows("self-voicing-steps.txt")) {
    FakeSpeech speech;
    SelfVoicing voicing(speech, ParseSpeechMode(row[0].c_str()).value());
    std::istringstream steps(row.at(1)), calls(row.at(2));
    for (std::string step; steps >> step;) {
      if (step[0] == '+') voicing.BoxShown(step.substr(1));
      if (step == "-") voicing.BoxClosed();
      if (step == "R" || step == "r") voicing.ScreenReaderRunning(step == "R");
    }
    std::vector<std::string> told;
    for (std::string call; std::getline(calls, call, '|');) told.push_back(call);
    EXPECT_EQ(speech.calls, told) << row[1];
  }
}

TEST(SelfVoicing, TheWindowSaysEachBoxButNotWhatIsTyped) {
  FakeWindow window;
  FakeSpeech speech;
  SelfVoicing voicing(speech, SpeechMode::On);
  SpeakingWindow speaking(window, voicing);
  window.Type("Cat");
  window.lenientBoxes = true;  // then Cancel, No, OK and Cancel
  EXPECT_EQ(speaking.InputBox("Your name", "You rank!", "who?"), "Cat");
  speaking.MsgBox("  In this brief help area   \r\n  will move on?  \r\n", Box::YesNoCancel,
                  "Kadeno Help");
  speaking.MsgBox("\r\n  \r\n", Box::YesNo | Box::IconQuestion, "");
  // Broken UTF-8 (a Latin-1 byte, a surrogate, an overlong slash, beyond U+10FFFF, a
  // cut-off character) and control characters are dropped; a tab is a blank.
  speaking.MsgBox(
      "An\xe9"
      "a\x01\tB\xc3\xa9\xed\xa0\x80\xc0\xaf\xe0\x80\xaf\xf4\x90\x80\x80\xc2\x85"
      "\xf0\x9f\x8e\xb5\x7f!\xe2\x82",
      Box::Ok, std::nullopt);
  speaking.InputBox("Sure:", std::nullopt, "");
  EXPECT_EQ(speech.calls,
            (std::vector<std::string>{
                "say You rank!\nYour name.\nIn the field: who?\nOK, Cancel.", "stop",
                "say Kadeno Help.\nIn this brief help area\nwill move on?\nYes, No, Cancel.",
                "stop", "say Yes, No.", "stop", "say Ana B\xc3\xa9\xf0\x9f\x8e\xb5!\nOK.", "stop",
                "say Sure:\nThe field is empty.\nOK, Cancel.", "stop"}));
  EXPECT_TRUE(speaking.WriteTextFile("/f", "x") && window.files.at("/f") == "x");  // passed on
}

}  // namespace
}  // namespace kadeno::test
