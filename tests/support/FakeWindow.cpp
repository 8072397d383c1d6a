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

// A text in the journal: each of its lines between bars, CR and LF written as \r and \n,
// so that blanks at either end and every line end show.
std::string Shown(const std::string& text, const std::string& indent = "  ") {
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

}  // namespace

std::string JournalText(const std::string& text) { return Shown(text); }

namespace {

// The start of a journal entry: the virtual time between brackets. Built by appending, as
// mingw-w64's g++ 12 sees a false overlap in "[" + std::to_string(...) and fails the build.
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
  auto lines = [](const std::string& s) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = s.find('\n', start)) != std::string::npos; start = end + 1)
      out.push_back(s.substr(start, end + 1 - start));
    if (start < s.size()) out.push_back(s.substr(start));
    return out;
  };
  const std::vector<std::string> a = lines(before), b = lines(after);
  std::string out;
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    if (i < b.size() && (i >= a.size() || a[i] != b[i])) out += Shown(b[i], "  +");
    if (i >= b.size()) out += Shown(a[i], "  -");
  }
  return out;
}

}  // namespace

void FakeWindow::At(int64_t timeMs, std::function<void()> action) {
  events_.push_back({timeMs, nextOrder_++, std::move(action)});
}

void FakeWindow::Reply(Answer a, std::string expectText) {
  replies_.push_back({a, std::nullopt, std::move(expectText)});
}

void FakeWindow::Type(std::string text, std::string expectText) {
  replies_.push_back({std::nullopt, std::move(text), std::move(expectText)});
}

ScriptedReply FakeWindow::NextReply(const std::string& prompt) {
  if (replies_.empty()) {
    if (lenientBoxes) return {};
    throw std::logic_error("no scripted answer for the box: " + prompt);
  }
  ScriptedReply r = replies_.front();
  replies_.pop_front();
  if (!r.expectText.empty() && prompt != r.expectText) {
    throw std::logic_error("expected the box \"" + r.expectText + "\", got: " + prompt);
  }
  return r;
}

Answer FakeWindow::MsgBox(const std::string& prompt, int style,
                          const std::optional<std::string>& title) {
  BoxRecord rec{now, false, prompt, style, title, {}, {}, Answer::Ok};
  const ScriptedReply r = NextReply(prompt);
  if (r.text) throw std::logic_error("scripted typing for a message box: " + prompt);
  // Unscripted (lenient): the button Escape gives, or OK or No where there is none.
  const int buttons = Box::ButtonsOf(style);
  rec.answer = r.answer.value_or(buttons == Box::Ok      ? Answer::Ok
                                 : buttons == Box::YesNo ? Answer::No
                                                         : Answer::Cancel);
  boxes.push_back(rec);
  journal += Stamp(rec.timeMs) + "message box, title " + TitleOf(title) + ", buttons " +
             ButtonsName(style) + "\n" + Shown(prompt) + "  answered " + AnswerName(rec.answer) +
             "\n";
  return rec.answer;
}

std::string FakeWindow::InputBox(const std::string& prompt, const std::optional<std::string>& title,
                                 const std::string& defaultText) {
  BoxRecord rec{now, true, prompt, Box::OkCancel, title, defaultText, {}, Answer::Ok};
  const ScriptedReply r = NextReply(prompt);
  if (r.answer) throw std::logic_error("scripted button for an input box: " + prompt);
  rec.typed = r.text.value_or("");
  rec.answer = r.text ? Answer::Ok : Answer::Cancel;
  boxes.push_back(rec);
  journal += Stamp(rec.timeMs) + "input box, title " + TitleOf(title) + "\n" + Shown(prompt) +
             "  offered |" + defaultText + "|, " +
             (r.text ? "typed |" + rec.typed + "| and OK" : std::string("Cancel")) + "\n";
  return rec.typed;
}

void FakeWindow::SetMenuCaption(MenuItem item, const std::string& caption) {
  captions.emplace_back(item, caption);
  journal += Stamp(now) + "menu caption of " +
             (item == MenuItem::mMidiStereo ? "Stereo" : "Falling Note Movement Sound") + ": \"" +
             caption + "\"\n";
}

std::vector<FakeWindow::Event>::iterator FakeWindow::Earliest() {
  return std::min_element(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
    return a.timeMs != b.timeMs ? a.timeMs < b.timeMs : a.order < b.order;
  });
}

void FakeWindow::WaitMs(int64_t ms) {
  int64_t left = ms > 0 ? ms : 0;
  for (auto next = Earliest(); next != events_.end() && next->timeMs < now + left;
       next = Earliest()) {  // one due at the very end is the next yield's
    if (next->timeMs > now) {
      left -= next->timeMs - now;
      now = next->timeMs;
    }
    Yield();
  }
  now += left;
}

void FakeWindow::Yield() {
  ++yields;
  // Run due events one at a time, earliest first; an event may yield again itself.
  for (auto due = Earliest(); due != events_.end() && due->timeMs <= now; due = Earliest()) {
    auto action = std::move(due->action);
    events_.erase(due);
    action();
  }
}

std::optional<std::string> FakeWindow::ReadTextFile(const std::string& path) {
  auto it = files.find(path);
  if (it == files.end() || unreadable.count(path) != 0) return std::nullopt;
  return it->second;
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
