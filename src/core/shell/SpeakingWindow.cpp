#include "shell/SpeakingWindow.h"

#include <cstdlib>

namespace kadeno {

Answer SpeakingWindow::MsgBox(const std::string& prompt, int style,
                              const std::optional<std::string>& title) {
  voicing_.BoxShown(SpokenMessageBox(prompt, style, title));
  const Answer answer = window_.MsgBox(prompt, style, title);
  voicing_.BoxClosed();
  return answer;
}

std::string SpeakingWindow::InputBox(const std::string& prompt,
                                     const std::optional<std::string>& title,
                                     const std::string& defaultText) {
  // Only the box is spoken: what the player types there is not echoed.
  voicing_.BoxShown(SpokenInputBox(prompt, title, defaultText));
  std::string typed = window_.InputBox(prompt, title, defaultText);
  voicing_.BoxClosed();
  return typed;
}

void SpeakingWindow::EndProgram() {
  window_.EndProgram();
  std::abort();  // the window does not come back from ending the program
}

}  // namespace kadeno
