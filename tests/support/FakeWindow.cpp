#include "support/FakeWindow.h"

#include <algorithm>

namespace kadeno::test {

void FakeWindow::At(int64_t timeMs, std::function<void()> action) {
  events_.push_back({timeMs, nextOrder_++, std::move(action)});
}

void FakeWindow::Reply(Answer a, std::string expectPrefix, int64_t thinkMs) {
  replies_.push_back({a, std::nullopt, std::move(expectPrefix), thinkMs});
}

void FakeWindow::Type(std::string text, std::string expectPrefix) {
  replies_.push_back({std::nullopt, std::move(text), std::move(expectPrefix), 0});
}

std::vector<std::string> FakeWindow::Prompts() const {
  std::vector<std::string> out;
  for (const auto& b : boxes) {
    if (!b.input) out.push_back(b.prompt);
  }
  return out;
}

ScriptedReply FakeWindow::NextReply(const std::string& prompt) {
  if (replies_.empty()) {
    if (lenientBoxes) return {};
    throw std::logic_error("no scripted answer for the box: " + prompt);
  }
  ScriptedReply r = replies_.front();
  replies_.pop_front();
  if (!r.expectPrefix.empty() && prompt.rfind(r.expectPrefix, 0) != 0) {
    throw std::logic_error("expected a box starting \"" + r.expectPrefix + "\", got: " + prompt);
  }
  now += r.thinkMs;
  return r;
}

Answer FakeWindow::MsgBox(const std::string& prompt, int style,
                          const std::optional<std::string>& title) {
  BoxRecord rec{now, false, prompt, style, title, {}, {}, Answer::Ok};
  const ScriptedReply r = NextReply(prompt);
  if (r.text) throw std::logic_error("scripted typing for a message box: " + prompt);
  if (r.answer) {
    rec.answer = *r.answer;
  } else {
    switch (Box::ButtonsOf(style)) {
      case Box::Ok:
        rec.answer = Answer::Ok;
        break;
      case Box::YesNo:
        rec.answer = Answer::No;
        break;
      default:
        rec.answer = Answer::Cancel;
        break;
    }
  }
  boxes.push_back(rec);
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
  return rec.typed;
}

void FakeWindow::SetMenuCaption(MenuItem item, const std::string& caption) {
  captions.emplace_back(item, caption);
}

std::optional<int64_t> FakeWindow::NextEventTime() const {
  std::optional<int64_t> t;
  for (const Event& e : events_) {
    if (!t || e.timeMs < *t) t = e.timeMs;
  }
  return t;
}

void FakeWindow::WaitMs(int64_t ms) {
  int64_t left = ms > 0 ? ms : 0;
  for (;;) {
    const auto next = NextEventTime();
    if (!next || *next >= now + left) break;  // due at the very end: the next yield
    if (*next > now) {
      left -= *next - now;
      now = *next;
    }
    Yield();
  }
  now += left;
}

void FakeWindow::Yield() {
  ++yields;
  // Run due events one at a time, earliest first; an event may yield again itself.
  for (;;) {
    auto due = std::min_element(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
      return a.timeMs != b.timeMs ? a.timeMs < b.timeMs : a.order < b.order;
    });
    if (due == events_.end() || due->timeMs > now) return;
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
  if (failWrites) return false;
  ++writes;
  files[path] = contents;
  return true;
}

}  // namespace kadeno::test
