#include "shell/SelfVoicing.h"

#include <cstdint>
#include <cstring>

#include "seams/Boxes.h"
#include "seams/Translate.h"

namespace kadeno {

std::optional<SpeechMode> ParseSpeechMode(const char* value) {
  if (value == nullptr || *value == '\0') return SpeechMode::Auto;
  std::string lower(value);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (lower == "auto") return SpeechMode::Auto;
  if (lower == "on") return SpeechMode::On;
  if (lower == "off") return SpeechMode::Off;
  return std::nullopt;
}

namespace {

// The length of the well-formed UTF-8 character at s[i], or 0 where the bytes there are
// not one (stray continuation bytes, overlong forms, surrogates, beyond U+10FFFF, cut off).
size_t Utf8Length(const std::string& s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t b = byte(i);
  if (b < 0x80) return 1;
  size_t n;
  uint32_t cp;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    cp = b & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  if (overlong || surrogate || cp > 0x10FFFF) return 0;
  // The C1 control characters say nothing either.
  if (cp >= 0x80 && cp <= 0x9F) return 0;
  return n;
}

// One line as a synthesiser can take it: whole characters only, tabs as blanks, other
// control characters dropped, no blanks at either end.
std::string SayableLine(const std::string& line) {
  std::string out;
  for (size_t i = 0; i < line.size();) {
    const size_t n = Utf8Length(line, i);
    if (n == 0) {
      ++i;
      continue;
    }
    const char c = line[i];
    if (n == 1 && (static_cast<uint8_t>(c) < 0x20 || c == 0x7F)) {
      if (c == '\t') out += ' ';
    } else {
      out.append(line, i, n);
    }
    i += n;
  }
  const size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// The text's lines, each made sayable, the empty ones left out, joined by line feeds.
std::string SayableText(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = SayableLine(text.substr(start, end - start));
    if (!line.empty()) out += (out.empty() ? "" : "\n") + line;
    start = end + 1;
  }
  return out;
}

// Each part of what is said ends as a sentence does, so the voice pauses between them.
void AddPart(std::string& said, const std::string& part) {
  if (part.empty()) return;
  if (!said.empty()) said += '\n';
  said += part;
  if (std::strchr(".!?:", part.back()) == nullptr) said += '.';
}

// The buttons, named after the box's text.
std::string ButtonNames(int style) {
  switch (Box::ButtonsOf(style)) {
    case Box::OkCancel:
      // TRANSLATORS: The buttons of a box, as the self-voicing names them.
      return Tr("OK, Cancel");
    case Box::YesNoCancel:
      // TRANSLATORS: The buttons of a box, as the self-voicing names them.
      return Tr("Yes, No, Cancel");
    case Box::YesNo:
      // TRANSLATORS: The buttons of a box, as the self-voicing names them.
      return Tr("Yes, No");
    default:
      // TRANSLATORS: The button of a box, as the self-voicing names it.
      return Tr("OK");
  }
}

void AddTitle(std::string& said, const std::optional<std::string>& title) {
  if (title) AddPart(said, SayableText(*title));
}

}  // namespace

std::string SpokenMessageBox(const std::string& prompt, int style,
                             const std::optional<std::string>& title) {
  std::string said;
  AddTitle(said, title);
  AddPart(said, SayableText(prompt));
  AddPart(said, ButtonNames(style));
  return said;
}

std::string SpokenInputBox(const std::string& prompt, const std::optional<std::string>& title,
                           const std::string& offered) {
  std::string said;
  AddTitle(said, title);
  AddPart(said, SayableText(prompt));
  const std::string value = SayableText(offered);
  // TRANSLATORS: The self-voicing of an input box: after its prompt, what its field holds;
  // %1 is the text in the field.
  AddPart(said, value.empty() ? Tr("The field is empty") : Format(Tr("In the field: %1"), {value}));
  AddPart(said, ButtonNames(Box::OkCancel));
  return said;
}

bool SelfVoicing::Speaks() const {
  switch (mode_) {
    case SpeechMode::On:
      return true;
    case SpeechMode::Off:
      return false;
    case SpeechMode::Auto:
      break;
  }
  return screenReader_.has_value() && !*screenReader_;
}

void SelfVoicing::ScreenReaderRunning(bool running) {
  const bool spoke = Speaks();
  screenReader_ = running;
  if (spoke == Speaks()) return;
  if (spoke) {
    speech_.Stop();
  } else if (!boxes_.empty()) {
    // The box showing was left unspoken while another voice had it, or before we knew.
    speech_.Say(boxes_.back());
  }
}

void SelfVoicing::BoxShown(std::string utterance) {
  boxes_.push_back(std::move(utterance));
  if (Speaks()) speech_.Say(boxes_.back());
}

void SelfVoicing::BoxClosed() {
  if (!boxes_.empty()) boxes_.pop_back();
  // What is left of the answered box would only talk over the game.
  if (Speaks()) speech_.Stop();
}

}  // namespace kadeno
