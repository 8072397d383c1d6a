// A scripted window on a virtual clock: sleeps advance it, a yield runs the events due,
// boxes take scripted answers, files live in memory. What the player would see or the
// program leave behind (boxes, captions, saves, standard error) also goes, in order, to a
// plain-text journal that a test can compare whole.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "seams/WindowServices.h"

namespace kadeno::test {

// A text as the journal shows it: each line between bars, CR and LF as \r and \n, so that
// blanks at either end and every line end show.
std::string JournalText(const std::string& text, const std::string& indent = "  ");

// Thrown by EndProgram, so that a test sees the program end where it would.
struct ProgramEnded {};

struct BoxRecord {
  std::string prompt;
  int style = 0;  // Box::OkCancel for an input box
  std::optional<std::string> title;
};

// One scripted reply to the next box.
struct ScriptedReply {
  std::optional<Answer> answer;     // for a message box
  std::optional<std::string> text;  // for an input box (Cancel gives "")
  std::string expectText;           // when set, the box's whole prompt must be this
};

class FakeWindow : public WindowServices {
 public:
  void At(int64_t ms, std::function<void()> action) { events_.emplace(ms, std::move(action)); }
  void Reply(Answer a, std::string expectText = {}) {
    replies_.push_back({a, std::nullopt, std::move(expectText)});
  }
  void Type(std::string text, std::string expectText = {}) {
    replies_.push_back({std::nullopt, std::move(text), std::move(expectText)});
  }
  // Answers every unscripted box with OK, Cancel, No or "" instead of failing the test.
  bool lenientBoxes = false;
  bool failWrites = false;

  int64_t now = 1000;
  int yields = 0;
  std::vector<BoxRecord> boxes;
  std::vector<std::pair<MenuItem, std::string>> captions;
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // files that exist but cannot be read
  int writes = 0;
  std::vector<std::string> problems;  // the lines LogProblem was given
  std::string journal;                // see the top of this file
  std::string programFolder = "/opt/kadeno";
  std::string settingsFolder = "/home/player/.config/kadeno";

  void Note(const std::string& line) { journal += "\n== " + line + "\n"; }
  size_t PendingReplies() const { return replies_.size(); }

  Answer MsgBox(const std::string& prompt, int style,
                const std::optional<std::string>& title) override;
  std::string InputBox(const std::string& prompt, const std::optional<std::string>& title,
                       const std::string& defaultText) override;
  void SetMenuCaption(MenuItem item, const std::string& caption) override;
  void Yield() override;
  int64_t ClockMs() override { return now; }
  void SleepMs(int64_t ms) override { now += ms > 0 ? ms : 0; }
  // Events due inside the wait run at their time; the clock time they take does not count.
  void WaitMs(int64_t ms) override;
  std::string ProgramFolder() override { return programFolder; }
  std::string SettingsFolder() override { return settingsFolder; }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  std::optional<std::string> ReadTextFile(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end() || unreadable.count(path) != 0) return std::nullopt;
    return it->second;
  }
  bool WriteTextFile(const std::string& path, const std::string& contents) override;
  void LogProblem(const std::string& line) override {
    problems.push_back(line);
    journal += "stderr: " + line + "\n";
  }
  [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }

 private:
  ScriptedReply NextReply(const std::string& prompt);
  // By time; of those at one time, the first scripted first.
  std::multimap<int64_t, std::function<void()>> events_;
  std::deque<ScriptedReply> replies_;
  std::set<std::string> savedBefore_;
};

}  // namespace kadeno::test
