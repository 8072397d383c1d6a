// Self-voicing: when no screen reader speaks the boxes, the program speaks each box itself
// as it shows (its title, its text, its buttons; an input box its prompt and the value
// offered). While a screen reader runs it stays silent, so that the player never hears
// two voices; KADENO_SPEECH=on or off overrides that.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "seams/Speech.h"

namespace kadeno {

enum class SpeechMode { Auto, On, Off };

// KADENO_SPEECH's value: unset or empty is auto; auto, on and off in any case; anything
// else is nullopt.
std::optional<SpeechMode> ParseSpeechMode(const char* value);

// What is said for a message box and for an input box. Lines are joined by line feeds,
// padding blanks dropped, and bytes a synthesiser cannot take (broken UTF-8, control
// characters) left out.
std::string SpokenMessageBox(const std::string& prompt, int style,
                             const std::optional<std::string>& title);
std::string SpokenInputBox(const std::string& prompt, const std::optional<std::string>& title,
                           const std::string& offered);

class SelfVoicing {
 public:
  SelfVoicing(Speech& speech, SpeechMode mode) : speech_(speech), mode_(mode) {}

  // What the desktop says of its screen reader: the first answer, then every change.
  // Until the first answer comes, auto mode keeps silent and speaks the box that is
  // showing once it knows no screen reader runs.
  void ScreenReaderRunning(bool running);
  // A box shows with what is to be said of it; it interrupts what is still being said.
  void BoxShown(std::string utterance);
  // The box that showed last has been answered.
  void BoxClosed();
  // Whether the program speaks for itself now.
  bool Speaks() const;

 private:
  Speech& speech_;
  SpeechMode mode_;
  std::optional<bool> screenReader_;
  std::vector<std::string> boxes_;  // what each open box says, the newest last
};

}  // namespace kadeno
