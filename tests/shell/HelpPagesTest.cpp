#include <gtest/gtest.h>

#include "shell/HelpPages.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(HelpPages, PagerTurnsWithYesAndNoAndLeavesWithCancel) {
  Harness h;
  // No on page 1 stays; Yes to 2, No back to 1; Yes to page 6; No back to 5; Yes twice
  // leaves after page 6; then a new call starts at page 1 again and Cancel leaves at once.
  for (Answer a : {Answer::No, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes, Answer::Yes,
                   Answer::Yes, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes})
    h.window.Reply(a);
  ShowInstructions(h.window);
  h.window.Reply(Answer::Cancel);
  ShowInstructions(h.window);
  h.window.Reply(Answer::Ok);
  ShowAbout(h.window);
  const BoxRecord about = h.window.boxes.back();
  EXPECT_EQ(std::tuple(about.style, about.title,
                       std::count(about.prompt.begin(), about.prompt.end(), '\n')),
            std::tuple(Box::Ok, std::nullopt, 4));
  h.window.boxes.pop_back();
  const int pageOf[] = {1, 1, 2, 1, 2, 3, 4, 5, 6, 5, 6, 1};
  const int linesOf[] = {0, 6, 10, 12, 14, 10, 9};
  ASSERT_EQ(h.window.boxes.size(), std::size(pageOf));
  for (size_t i = 0; i < std::size(pageOf); ++i) {
    const BoxRecord& b = h.window.boxes[i];
    const std::string& text = b.prompt;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), linesOf[pageOf[i]]) << "box " << i;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(b.style, Box::YesNoCancel);
    EXPECT_EQ(b.title, "Kadeno Help");
    for (size_t j = 0; j < i; ++j) {
      EXPECT_EQ(b.prompt == h.window.boxes[j].prompt, pageOf[i] == pageOf[j]) << i << " " << j;
    }
  }
}

}  // namespace
}  // namespace kadeno::test
