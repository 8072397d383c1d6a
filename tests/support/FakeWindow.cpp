#include "support/FakeWindow.h"

#include <algorithm>

namespace kadeno::test {

namespace {

// Indexed by the button set: Ok 0, OkCancel 1, YesNoCancel 3, YesNo 4.
const char* ButtonsName(int style) {
  static const char* const names[] = {"OK", "OK Cancel", "?", "Yes No Cancel", "Yes No"};
  return Box::ButtonsOf(style) < 5 ? names[Box::ButtonsOf(style)] : "?";
}

const char* AnswerName(Answer a) {
  return a == Answer::Ok ? "OK" : a == Answer::Cancel ? "Cancel" : a == Answer::Yes ? "Yes" : "No";
}

// "[time ms] ", built by appending: mingw-w64's g++ 12 sees a false overlap in
// "[" + std::to_string(...) and fails the build.
std::string Stamp(int64_t ms) {
  std::string s = "[";
  s += std::to_string(ms);
  s += " ms] ";
  return s;
}

std::string TitleOf(const std::optional<std::string>& title) {
  return title ? "\"" + *title + "\"" : "none";
}

// The lines of a file that differ from those at the same place in its previous version.
std::string ChangedLines(const std::string& before, const std::string& after) {
  auto lines = [](const std::string& s) {  // each with its line end, if it has one
    std::vector<std::string> out;
    for (size_t start = 0, end; start < s.size(); start = end) {
      end = std::min(s.find('\n', start), s.size() - 1) + 1;
      out.push_back(s.substr(start, end - start));
    }
    return out;
  };
  const std::vector<std::string> a = lines(before), b = lines(after);
  std::string out;
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    if (i < b.size() && (i >= a.size() || a[i] != b[i])) out += JournalText(b[i], "  +");
    if (i >= b.size()) out += JournalText(a[i], "  -");
  }
  return out;
}

}  // namespace

std::string JournalText(const std::string& text, const std::string& indent) {
  std::string out = indent + "|";
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\\r";
    } else if (text[i] == '\n') {
      out += "\\n|\n";
      if (i + 1 < text.size()) out += indent + "|";
    } else {
      out += text[i];
    }
  }
  return out.back() == '\n' ? out : out + "|\n";
}

ScriptedReply FakeWindow::NextReply(const std::string& prompt) {
  if (replies_.empty()) {
    if (lenientBoxes) return {};
    throw std::logic_error("no scripted answer for the box: " + prompt);
  }
  ScriptedReply r = replies_.front();
  replies_.pop_front();
  if (!r.expectText.empty() && prompt != r.expectText)
    throw std::logic_error("expected the box \"" + r.expectText + "\", got: " + prompt);
  return r;
}

Answer FakeWindow::MsgBox(const std::string& prompt, int style,
                          const std::optional<std::string>& title) {
  const ScriptedReply r = NextReply(prompt);
  if (r.text) throw std::logic_error("scripted typing for a message box: " + prompt);
  // Unscripted (lenient): the button Escape gives, or OK or No where there is none.
  const int buttons = Box::ButtonsOf(style);
  const Answer answer = r.answer.value_or(buttons == Box::Ok      ? Answer::Ok
                                          : buttons == Box::YesNo ? Answer::No
                                                                  : Answer::Cancel);
  boxes.push_back({prompt, style, title});
  journal += Stamp(now) + "message box, title " + TitleOf(title) + ", buttons " +
             ButtonsName(style) + "\n" + JournalText(prompt) + "  answered " + AnswerName(answer) +
             "\n";
  return answer;
}

std::string FakeWindow::InputBox(const std::string& prompt, const std::optional<std::string>& title,
                                 const std::string& defaultText) {
  const ScriptedReply r = NextReply(prompt);
  if (r.answer) throw std::logic_error("scripted button for an input box: " + prompt);
  boxes.push_back({prompt, Box::OkCancel, title});
  journal += Stamp(now) + "input box, title " + TitleOf(title) + "\n" + JournalText(prompt) +
             "  offered |" + defaultText + "|, " +
             (r.text ? "typed |" + *r.text + "| and OK" : std::string("Cancel")) + "\n";
  return r.text.value_or("");
}

void FakeWindow::SetMenuCaption(MenuItem item, const std::string& caption) {
  captions.emplace_back(item, caption);
  journal += Stamp(now) + "menu caption of " +
             (item == MenuItem::mMidiStereo ? "Stereo" : "Falling Note Movement Sound") + ": \"" +
             caption + "\"\n";
}

void FakeWindow::WaitMs(int64_t ms) {
  int64_t left = ms > 0 ? ms : 0;
  // One due at the very end of the wait is the next yield's.
  while (!events_.empty() && events_.begin()->first < now + left) {
    if (const int64_t at = events_.begin()->first; at > now) {
      left -= at - now;
      now = at;
    }
    Yield();
  }
  now += left;
}

void FakeWindow::Yield() {
  ++yields;
  // Run due events one at a time, earliest first; an event may yield again itself.
  while (!events_.empty() && events_.begin()->first <= now) {
    auto action = std::move(events_.begin()->second);
    events_.erase(events_.begin());
    action();
  }
}

bool FakeWindow::WriteTextFile(const std::string& path, const std::string& contents) {
  if (failWrites) {
    journal += Stamp(now) + "save of " + path + " failed\n";
    return false;
  }
  ++writes;
  // The first save of a file is shown whole, later ones by the lines they changed.
  const bool first = savedBefore_.insert(path).second;
  journal += Stamp(now) + "saved " + path + (first ? ", all of it" : "") + "\n" +
             ChangedLines(first ? std::string() : files[path], contents);
  files[path] = contents;
  return true;
}

}  // namespace kadeno::test
