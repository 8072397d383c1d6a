// The games of tests/data/game-scripts.txt: every MIDI word and wave with its time, then
// the journal, compared with tests/data/stream-*.txt.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "support/Harness.h"
#include "support/TestData.h"

namespace kadeno::test {
namespace {

// A program started on a settings file and a difficulty, its help pages closed at once.
struct Program {
  Harness h;
  int64_t start = 0;
  size_t word = 0, wave = 0, journal = 0;  // where the next game's record starts

  Program(const std::string& settings, const std::string& difficulty) {
    h.window.files[h.SettingsPath()] = settings + "Difficulty = " + difficulty;
    h.window.Reply(Answer::Cancel);
    h.form.Form_Load();
    NextGame();
  }
  void NextGame() {
    start = h.window.now;
    word = h.audio.words.size();
    wave = h.audio.waves.size();
    journal = h.window.journal.size();
  }
  // Plays a game, tour or practice to its end; returns each word (as the message log writes
  // it) and wave (or "stop") since its start, a line each after its time; then the journal.
  std::string Play(const std::string& menu, const std::string& item) {
    try {
      h.Choose(menu, item);
    } catch (const ProgramEnded&) {
      h.window.Note("the program ended");
    }
    const FakeAudio& a = h.audio;
    std::string out;
    auto waves = [&](size_t before) {
      for (; wave < a.waves.size() && a.waves[wave].wordsBefore <= before; ++wave)
        out += std::to_string(a.waves[wave].timeMs) + " wave " +
               (a.waves[wave].path.empty() ? "stop" : a.waves[wave].path) + "\n";
    };
    for (size_t i = word; i < a.words.size(); ++i) {
      waves(i);
      out += std::to_string(a.words[i].timeMs) + " " + a.words[i].Hex() + "\n";
    }
    waves(a.words.size());
    out += "\n== what the player read\n" + h.window.journal.substr(journal);
    NextGame();
    return out;
  }
};

// "Menu > Item" as the two names.
std::pair<std::string, std::string> MenuItem(const std::string& text) {
  const size_t at = text.find(" > ");
  return {text.substr(0, at), at == std::string::npos ? "" : text.substr(at + 3)};
}

TEST(Streams, ScriptedGamesMatchTheirRecords) {
  // The keys by name; a letter is its own code.
  const std::map<std::string, int> keys = {{"Up", Key::Up},       {"Down", Key::Down},
                                           {"Left", Key::Left},   {"Right", Key::Right},
                                           {"Space", Key::Space}, {"Escape", Key::Escape}};
  const std::map<std::string, Answer> answers = {
      {"OK", Answer::Ok}, {"Cancel", Answer::Cancel}, {"Yes", Answer::Yes}, {"No", Answer::No}};
  std::unique_ptr<Program> r;
  std::string settings;
  std::istringstream script{std::string(TestData("game-scripts.txt"))};
  int records = 0;
  for (std::string line; std::getline(script, line);) {
    std::istringstream in(line);
    std::string word, rest;
    in >> word >> std::ws;
    std::getline(in, rest);
    SCOPED_TRACE(line);
    if (word.empty() || word[0] == '#') continue;
    if (word == "setting") {
      settings += rest + "\r\n";
    } else if (word == "program") {
      r = std::make_unique<Program>(settings, rest);
    } else if (word == "reply") {
      r->h.window.Reply(answers.at(rest));
    } else if (word == "type") {
      r->h.window.Type(rest);
    } else if (word == "lenient") {
      r->h.window.lenientBoxes = rest == "on";
    } else if (word == "play") {
      const std::string record = rest.substr(0, rest.find(' '));
      const auto [menu, item] = MenuItem(rest.substr(record.size() + 1));
      ExpectSameAsData(record, r->Play(menu, item));
      EXPECT_EQ(r->h.window.PendingReplies(), 0u) << record;
      ++records;
    } else if (rest.rfind("key ", 0) == 0) {
      std::vector<int> codes;
      std::istringstream names(rest.substr(4));
      for (std::string k; names >> k;) codes.push_back(k.size() == 1 ? k[0] : keys.at(k));
      r->h.window.At(r->start + std::stoll(word), [&h = r->h, codes] {
        for (int k : codes) h.form.Form_KeyDown(k, 0);
      });
    } else if (rest.rfind("menu ", 0) == 0) {
      r->h.window.At(r->start + std::stoll(word),
                     [&h = r->h, mi = MenuItem(rest.substr(5))] { h.Choose(mi.first, mi.second); });
    } else {
      ADD_FAILURE() << "not a script line";
    }
  }
  EXPECT_EQ(records, 7);
}

}  // namespace
}  // namespace kadeno::test
