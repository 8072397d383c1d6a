// What the self-voicing says for each box, and when it speaks at all.
#include "shell/SelfVoicing.h"

#include <gtest/gtest.h>

#include "shell/SpeakingWindow.h"
#include "support/FakeSpeech.h"
#include "support/FakeWindow.h"

namespace kadeno::test {
namespace {

TEST(SelfVoicing, ModeFromTheEnvironment) {
  const std::pair<const char*, std::optional<SpeechMode>> cases[] = {
      {nullptr, SpeechMode::Auto}, {"", SpeechMode::Auto},   {"auto", SpeechMode::Auto},
      {"ON", SpeechMode::On},      {"Off", SpeechMode::Off}, {" on", std::nullopt}};
  for (const auto& [value, mode] : cases) EXPECT_EQ(ParseSpeechMode(value), mode) << value;
}

TEST(SelfVoicing, SpeaksOnlyWithoutAScreenReader) {
  // Steps: "+X" a box saying X shows, "-" the newest box is answered, "R" the desktop says a
  // screen reader runs, "r" that none does. Auto waits for the desktop's first word.
  const std::tuple<SpeechMode, std::vector<std::string>, std::vector<std::string>> cases[] = {
      {SpeechMode::Auto, {"+A", "r", "-", "+B"}, {"say A", "stop", "say B"}},
      {SpeechMode::Auto, {"R", "+A", "r", "R", "-", "+B", "-"}, {"say A", "stop"}},
      {SpeechMode::Auto,
       {"r", "+A", "+B", "R", "r", "-", "-"},
       {"say A", "say B", "stop", "say B", "stop", "stop"}},
      {SpeechMode::On, {"R", "+A", "r", "R", "-"}, {"say A", "stop"}},
      {SpeechMode::Off, {"r", "+A", "-", "R", "r"}, {}}};
  for (const auto& [mode, steps, calls] : cases) {
    FakeSpeech speech;
    SelfVoicing voicing(speech, mode);
    for (const std::string& step : steps) {
      if (step[0] == '+') voicing.BoxShown(step.substr(1));
      if (step == "-") voicing.BoxClosed();
      if (step == "R" || step == "r") voicing.ScreenReaderRunning(step == "R");
    }
    EXPECT_EQ(speech.calls, calls) << testing::PrintToString(steps);
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
