#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

int Lines(const std::string& text) {
  int n = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
  return n;
}

TEST(HelpPages, PagerTurnsWithYesAndNo) {
  Harness h;
  // No on page 1 stays; Yes to page 6; No back to 5; Yes twice leaves after page 6.
  for (Answer a : {Answer::No, Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes,
                   Answer::No, Answer::Yes, Answer::Yes})
    h.window.Reply(a);
  h.form.ShowInstructions();
  const int expectedLines[] = {6, 6, 10, 12, 14, 10, 9, 10, 9};
  ASSERT_EQ(h.window.boxes.size(), 9u);
  for (size_t i = 0; i < 9; ++i) {
    const BoxRecord& b = h.window.boxes[i];
    EXPECT_EQ(Lines(b.prompt), expectedLines[i]) << "box " << i;
    EXPECT_EQ(b.style, Box::YesNoCancel);
    EXPECT_EQ(b.title, "Kadeno Help");
  }
  EXPECT_EQ(h.window.boxes[0].prompt, h.window.boxes[1].prompt);
  EXPECT_EQ(h.window.boxes[5].prompt, h.window.boxes[7].prompt);
  EXPECT_EQ(h.window.boxes[6].prompt, h.window.boxes[8].prompt);
  EXPECT_EQ(h.window.boxes[0].prompt,
            "  In this brief help area, if you hit yes then I   \r\n"
            "  will move on to the next part.  If you hit no    \r\n"
            "  then I will rewind to the previous part.  If     \r\n"
            "  you hit cancel I will abort this help dialog.    \r\n"
            "  You can hit Y for Yes, N for No or Escape for    \r\n"
            "  cancel.                                          \r\n");

  h.window.Reply(Answer::Yes);
  h.window.Reply(Answer::Cancel);
  h.form.ShowInstructions();
  EXPECT_EQ(h.window.boxes.size(), 11u);
}

TEST(HelpPages, AboutIsOneOkBox) {
  Harness h;
  h.window.Reply(Answer::Ok);
  h.form.ShowAbout();
  ASSERT_EQ(h.window.boxes.size(), 1u);
  EXPECT_EQ(h.window.boxes[0].style, Box::Ok);
  EXPECT_EQ(h.window.boxes[0].title, std::nullopt);
  EXPECT_EQ(h.window.boxes[0].prompt,
            "  It does not interfere with or depend upon any particular \r\n"
            "  speech that you may have.  It uses only Midi and Wave.\r\n"
            "  It is a tumbla type game that is all sound; there is  \r\n"
            "  nothing to see, which makes for a level playing field. \r\n");
}

}  // namespace
}  // namespace kadeno::test
