#include "support/Script.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

#include "registry/RegistryText.h"
#include "shell/CommandLine.h"
#include "support/TestData.h"

namespace kadeno::test {
namespace {

// A line's first word and the rest after the blanks that follow it.
std::pair<std::string, std::string> Split(const std::string& line) {
  std::istringstream in(line);
  std::string word, rest;
  in >> word >> std::ws;
  std::getline(in, rest);
  return {word, rest};
}

// tests/data/NAME, each two-character \r in it made the CR it stands for. (MinGW's g++ 12
// takes a replace loop here for an overlapping copy at -O2.)
std::string WithCr(std::string_view name) {
  return std::regex_replace(std::string(TestData(name)), std::regex(R"(\\r)"), "\r");
}

// A key's code, and into shift the modifiers written before it (in this order).
int KeyCode(std::string name, int& shift) {
  static const std::pair<std::string, int> modifiers[] = {{"Shift+", 1}, {"Ctrl+", 2}, {"Alt+", 4}};
  static const std::map<std::string, int> keys = {
      {"Up", Key::Up},       {"Down", Key::Down},     {"Left", Key::Left}, {"Right", Key::Right},
      {"Space", Key::Space}, {"Escape", Key::Escape}, {"F1", Key::F1},     {"F4", Key::F4}};
  for (const auto& [prefix, bit] : modifiers) {
    if (!name.starts_with(prefix)) continue;
    name.erase(0, prefix.size());
    shift |= bit;
  }
  return name.size() == 1 ? name[0] : keys.at(name);
}

}  // namespace

Script::Script(std::string_view name) {
  std::istringstream script{std::string(TestData(name))};
  for (std::string line; std::getline(script, line);) {
    SCOPED_TRACE(line);
    Do(line);
  }
  for (const auto& r : runs) EXPECT_EQ(r->h.window.PendingReplies(), 0u) << name;
}

std::string Script::Record() const {
  std::string out = commandLines_;
  for (const auto& r : runs) out += r->h.window.journal;
  return out;
}

Script::Run& Script::New(const std::string& settings) {
  Run& r = *runs.emplace_back(std::make_unique<Run>());
  r.h.window.files[r.h.SettingsPath()] = settings;
  return r;
}

void Script::Do(const std::string& line) {
  static const std::map<std::string, Answer> answers = {
      {"OK", Answer::Ok}, {"Cancel", Answer::Cancel}, {"Yes", Answer::Yes}, {"No", Answer::No}};
  const auto [word, rest] = Split(line);
  if (word.empty() || word[0] == '#') return;
  if (word == "setting") {
    settings_ += rest + "\r\n";
  } else if (word == "program") {
    Run& r = New(settings_ + "Difficulty = " + rest);
    r.h.window.Reply(Answer::Cancel);
    r.h.form.Form_Load();
    Play(r, "");
  } else if (word == "start") {
    const Harness* last = runs.empty() ? nullptr : &runs.back()->h;
    New((last ? last->window.files.at(last->SettingsPath()) : "") + WithCr(rest));
  } else if (word == "$") {
    std::vector<std::string> args;
    std::istringstream in(rest.substr(rest.find("kadeno") + 6));
    for (std::string a; in >> a;) args.push_back(a);
    const CommandLineAnswer a = ReadCommandLine(args, "1.4.0");
    commandLines_ += line + "\nexit status " + std::to_string(a.status) +
                     (a.play ? ", the game starts" : "") + "\nstdout:\n" + a.out + "stderr:\n" +
                     a.err + "\n";
  } else if (word == "echo") {
    echo_ = rest == "on";
  } else if (word == "end") {
    try {
      Do(rest);
      ADD_FAILURE() << "the program did not end";
    } catch (const ProgramEnded&) {
    }
  } else {
    Run& r = *runs.back();
    if (word == "load") {
      r.h.form.Form_Load();
    } else if (word == "note") {
      r.h.window.Note(rest);
    } else if (word == "installed") {
      std::istringstream in(rest);
      std::string key, valueName, value;
      in >> key >> valueName >> value;
      r.access.WriteRegistryValue(key, valueName, value);
      r.h.form.SetRegistry(&r.access, Removal::PackageManager);
    } else if (line == "registry") {
      r.h.window.journal += JournalText(FormatRegistryText(r.reg.Keys()));
    } else if (word == "reply") {
      std::istringstream in(rest);
      for (std::string a; in >> a;) r.h.window.Reply(answers.at(a));
    } else if (word == "type") {
      r.h.window.Type(rest);
    } else if (word == "lenient") {
      r.h.window.lenientBoxes = rest == "on";
    } else if (word == "play") {
      const std::string name = rest.substr(0, rest.find(' '));
      ExpectSameAsData(name, Play(r, rest.substr(name.size() + 1)));
      EXPECT_EQ(r.h.window.PendingReplies(), 0u) << name;
      ++plays;
    } else if (word == "key" || word == "menu" || word == "hear") {
      Input(r, line);
    } else if (std::isdigit(static_cast<unsigned char>(word[0]))) {
      r.h.window.At(r.h.window.now + std::stoll(word), [this, &r, rest] { Input(r, rest); });
    } else {
      ADD_FAILURE() << "not a script line";
    }
  }
}

void Script::Input(Run& r, const std::string& line) {
  const auto [word, rest] = Split(line);
  if (word == "key") {
    std::istringstream names(rest);
    for (std::string name; names >> name;) {
      int shift = 0;
      const int code = KeyCode(name, shift);
      if (echo_) r.h.window.Note("key " + name + " at " + std::to_string(r.h.window.now) + " ms");
      r.h.form.Form_KeyDown(code, shift);
    }
    return;
  }
  const size_t from = r.h.audio.words.size();
  const size_t at = rest.find(" > ");
  if (echo_) r.h.window.Note("menu " + rest);
  r.h.Choose(rest.substr(0, at), rest.substr(at + 3));
  if (word != "hear") return;
  const std::vector<std::string> words = r.h.audio.Hex(from);
  std::string& journal = r.h.window.journal;
  for (size_t i = 0; i < words.size(); ++i)
    journal += (i % 16 == 0 ? "midi " : " ") + words[i] + (i % 16 == 15 ? "\n" : "");
  if (words.size() % 16 != 0) journal += "\n";
}

// Plays a game, tour or practice to its end (none when menuItem is empty); returns each word
// (as the message log writes it) and wave (or "stop") since the last play, a line each after
// its time; then the journal.
std::string Script::Play(Run& r, const std::string& menuItem) {
  try {
    if (!menuItem.empty()) Input(r, "menu " + menuItem);
  } catch (const ProgramEnded&) {
    r.h.window.Note("the program ended");
  }
  const FakeAudio& a = r.h.audio;
  std::string out;
  auto waves = [&](size_t before) {
    for (; r.wave < a.waves.size() && a.waves[r.wave].wordsBefore <= before; ++r.wave)
      out += std::to_string(a.waves[r.wave].timeMs) + " wave " +
             (a.waves[r.wave].path.empty() ? "stop" : a.waves[r.wave].path) + "\n";
  };
  for (size_t i = r.word; i < a.words.size(); ++i) {
    waves(i);
    out += std::to_string(a.words[i].timeMs) + " " + a.words[i].Hex() + "\n";
  }
  waves(a.words.size());
  out += "\n== what the player read\n" + r.h.window.journal.substr(r.journal);
  r.word = a.words.size();
  r.journal = r.h.window.journal.size();
  return out;
}

}  // namespace kadeno::test
