// A whole run in two starts, compared with tests/data/transcript.txt: every box and input
// box, menu caption, save (with the lines it changed), line on standard error, the registry
// around Uninstall, and the command line's output. Commands are chosen by caption through
// the menu table, as the window does, so an item wired to the wrong command shows. Before
// each start the settings file is edited by hand: tests/data/hand-edited-settings.txt (a
// byte-order mark, mixed line ends, blanks, a comment, an unknown key, Stereo and
// StereoBalance missing, every figure different), then five places, two of them tied.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string_view>

#include "catalog/MoCatalog.h"
#include "registry/MemoryRegistry.h"
#include "registry/RegistryAccess.h"
#include "registry/RegistryText.h"
#include "seams/Translate.h"
#include "shell/CommandLine.h"
#include "shell/MenuTable.h"
#include "shell/MoFixtures.h"
#include "shell/SelfVoicing.h"
#include "support/Harness.h"
#include "support/TestData.h"
#include "support/TranslatorGuard.h"

namespace kadeno::test {
namespace {

void Choose(Harness& h, const std::string& menu, const std::string& item) {
  h.window.Note("menu " + menu + " > " + item);
  h.Choose(menu, item);
}

// A command outside a game, then what it sounded: its MIDI words, sixteen a line.
void ChooseAndHear(Harness& h, const std::string& menu, const std::string& item) {
  const size_t from = h.audio.words.size();
  Choose(h, menu, item);
  const std::vector<std::string> words = h.audio.Hex(from);
  for (size_t i = 0; i < words.size(); ++i)
    h.window.journal += (i % 16 == 0 ? "midi " : " ") + words[i] + (i % 16 == 15 ? "\n" : "");
  if (words.size() % 16 != 0) h.window.journal += "\n";
}

void Press(Harness& h, const std::string& name, int key, int shift = 0) {
  h.window.Note("key " + name + " at " + std::to_string(h.window.now) + " ms");
  h.form.Form_KeyDown(key, shift);
}

std::string CommandLineRecord(const std::vector<std::string>& args) {
  std::string line = "$ kadeno";
  for (const std::string& a : args) line += " " + a;
  const CommandLineAnswer a = ReadCommandLine(args, "1.4.0");
  return line + "\nexit status " + std::to_string(a.status) + (a.play ? ", the game starts" : "") +
         "\nstdout:\n" + a.out + "stderr:\n" + a.err;
}

// tests/data/NAME, each two-character \r in it made the CR it stands for.
std::string WithCr(std::string_view name) {
  return std::regex_replace(std::string(TestData(name)), std::regex(R"(\\r)"), "\r");
}

// Every value command of the menus, in menu order: each item of File and Midi but the
// switches (their captions change) and those that start, list, end or reset something.
std::vector<std::pair<std::string, std::string>> ValueCommands() {
  const std::set<std::string_view> others = {"mnuFileStartGame", "mnuFilePractice",
                                             "mnuFileHallOfFame", "mnuFileExit",
                                             "mnuMidiBackToDefault"};
  std::vector<std::pair<std::string, std::string>> out;
  for (const MenuSpec& m : MainMenus()) {
    for (const MenuItemSpec& i : m.items) {
      if (std::string_view(m.name) != "mnuProgram" && std::string_view(m.name) != "mnuHelp" &&
          !i.live && !others.count(i.name))
        out.emplace_back(Harness::Shown(m.caption), Harness::Shown(i.caption));
    }
  }
  return out;
}
// What the player types into each: each kind's limit passed once (101 a stereo shape, 200 a
// volume, 128 an instrument, 150 the scaling; 10 the highest difficulty).
const char* const kTyped[] = {"10", "55",  "101", "12.5", "-4", "200", "33", "92", "34",
                              "93", "abc", "94",  "128",  "95", "37",  "",   "38", "150"};

void FirstStart(Harness& h, MemoryRegistry& reg, RegistryAccess& access) {
  using enum Answer;
  h.window.files[h.SettingsPath()] = WithCr("hand-edited-settings.txt");
  h.form.SetRegistry(&access, Removal::PackageManager);
  access.WriteRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno", "Path",
                            std::string("C:\\Games\\Kadeno"));
  h.window.Note("start");
  // No on page 1 shows it again, No on page 6 goes back to 5.
  for (Answer a : {No, Yes, No, Yes, Yes, Yes, Yes, Yes, No, Yes, Yes}) h.window.Reply(a);
  h.form.Form_Load();
  h.window.Reply(Ok);
  Choose(h, "Help", "About");
  h.window.Reply(Cancel);
  Press(h, "F1", Key::F1);
  h.window.Reply(Ok);
  h.window.Reply(Ok);
  Choose(h, "File", "Hall Of Fame");
  const auto commands = ValueCommands();
  ASSERT_EQ(commands.size(), std::size(kTyped));
  for (size_t i = 0; i < commands.size(); ++i) {
    h.window.Type(kTyped[i]);  // "": Cancel
    ChooseAndHear(h, commands[i].first, commands[i].second);
  }
  for (int i = 0; i < 2; ++i) {
    h.window.Reply(Ok);
    ChooseAndHear(h, "Midi", "Stereo (on)");
    h.window.Reply(Ok);
    ChooseAndHear(h, "Midi", "Falling Note Movement Sound (Note)");
  }
  h.window.Reply(No);
  ChooseAndHear(h, "Midi", "Set Midi Back to Default");
  h.window.Reply(Yes);
  h.window.Reply(Ok);
  ChooseAndHear(h, "Midi", "Set Midi Back to Default");
  h.window.Reply(No);
  h.window.Reply(Ok);
  Choose(h, "File", "Start Game");
  // The player's two keys, at their times from the game's start (worked out from the
  // scan: the sixth and seventh notes of round 1 have just been made): Up sends F# to the
  // centre, Right sends C to column 7, and the top row is the C# major scale.
  h.window.Reply(Yes);
  const int64_t start = h.window.now;
  h.window.At(start + 25166, [&h] { Press(h, "Up", Key::Up); });
  h.window.At(start + 35833, [&h] { Press(h, "Right", Key::Right); });
  h.window.Reply(Ok);    // round 1's score
  h.window.Reply(Ok);    // round 2's: under half of round 1, the last
  h.window.Type("Ace");  // the name for the hall of fame
  h.window.Reply(Ok);    // the listing
  Choose(h, "File", "Start Game");
  h.window.Reply(Ok);
  Choose(h, "File", "Hall Of Fame");
  // The tour whole, then left at its third box. Practice: the column key; F# dropped in
  // column 6; C# moved there, lowered twice to A# and dropped: F# major scores; the tour and
  // a game asked for meanwhile; Escape ends practice without a question.
  for (int i = 0; i < 15; ++i) h.window.Reply(Ok);
  Choose(h, "Help", "Hear the Field");
  for (Answer a : {Ok, Ok, Cancel}) h.window.Reply(a);
  Choose(h, "Help", "Hear the Field");
  for (int i = 0; i < 6; ++i) h.window.Reply(Ok);
  const int64_t practice = h.window.now;
  const std::pair<int64_t, std::vector<std::pair<const char*, int>>> keys[] = {
      {4000, {{"C", Key::C}}},
      {6000, {{"Space", Key::Space}}},
      {12000, {{"Right", Key::Right}, {"Right", Key::Right}, {"Right", Key::Right}}},
      {12500, {{"Right", Key::Right}, {"Right", Key::Right}}},
      {12700, {{"Down", Key::Down}, {"Down", Key::Down}}},
      {13000, {{"Space", Key::Space}}},
      {20000, {{"S", Key::S}}}};
  for (const auto& [ms, presses] : keys) {
    h.window.At(practice + ms, [&h, presses] {
      for (const auto& [name, code] : presses) Press(h, name, code);
    });
  }
  h.window.At(practice + 21000, [&h] {
    Choose(h, "Help", "Hear the Field");
    Choose(h, "File", "Start Game");
  });
  h.window.At(practice + 24000, [&h] { Press(h, "Escape", Key::Escape); });
  Choose(h, "File", "Practice");
  h.window.Reply(No);
  Press(h, "Escape", Key::Escape);
  h.window.Reply(Ok);
  h.window.Reply(No);
  h.window.Reply(Ok);
  Choose(h, "Program", "Uninstall Kadeno");
  h.window.Note("the registry");
  h.window.journal += JournalText(FormatRegistryText(reg.Keys()));
  h.window.Reply(Ok);
  h.window.Reply(Yes);
  h.window.Reply(Ok);
  try {
    Choose(h, "Program", "Uninstall Kadeno");
    ADD_FAILURE() << "Uninstall did not end the program";
  } catch (const ProgramEnded&) {
    h.window.Note("the program ended; the registry");
    h.window.journal += JournalText(FormatRegistryText(reg.Keys()));
  }
}

void SecondStart(Harness& h, const std::string& saved) {
  using enum Answer;
  h.window.files[h.SettingsPath()] = saved + WithCr("five-places.txt");
  h.window.Note("start again, five places added to the end of the settings file by hand");
  h.window.Reply(Cancel);
  h.form.Form_Load();
  h.window.Reply(Ok);
  h.window.Reply(Ok);
  Choose(h, "File", "Hall Of Fame");
  Press(h, "F4", Key::F4);
  Press(h, "Shift+Ctrl+F4", Key::F4, 3);
  h.window.Reply(Yes);
  try {
    Press(h, "Escape", Key::Escape);
    ADD_FAILURE() << "Yes to the quit question did not end the program";
  } catch (const ProgramEnded&) {
    h.window.Note("the program ended");
  }
}

// The desktop entry's and the software centre's texts, as the template holds them: each
// field's value, and each element's text with its blanks and line breaks made one blank.
std::set<std::string> DesktopTexts() {
  std::set<std::string> out;
  std::istringstream desktop(ReadWhole(KADENO_SOURCE_DIR "/desktop/kadeno.desktop"));
  for (std::string line; std::getline(desktop, line);) {
    for (const std::string key : {"Name=", "GenericName=", "Comment=", "Keywords="})
      if (line.starts_with(key)) out.insert(line.substr(key.size()));
  }
  const std::string xml = ReadWhole(KADENO_SOURCE_DIR "/desktop/kadeno.metainfo.xml.in");
  const std::regex element("<(name|summary|developer_name|p|keyword)>([^<]*)</");
  for (std::sregex_iterator i(xml.begin(), xml.end(), element), end; i != end; ++i) {
    std::istringstream words((*i)[2].str());
    std::string text, word;
    while (words >> word) text += (text.empty() ? "" : " ") + word;
    out.insert(text);
  }
  return out;
}

bool Marked(const std::string& text) { return text.rfind("\u00ab", 0) == 0; }

}  // namespace

TEST(Transcript, AWholeRunReadsAsRecorded) {
  std::string record;
  for (const auto& args : std::vector<std::vector<std::string>>{{"--version"},
                                                                {"--help"},
                                                                {"--version", "--help"},
                                                                {"--help", "--sound"},
                                                                {"--Help"},
                                                                {"-h"},
                                                                {}})
    record += CommandLineRecord(args) + "\n";

  Harness h;
  MemoryRegistry reg;
  RegistryAccess access(reg, h.window, h.window);
  FirstStart(h, reg, access);
  record += h.window.journal;
  Harness again;
  SecondStart(again, h.window.files[h.SettingsPath()]);
  record += again.window.journal;
  ExpectSameAsData("transcript.txt", record);
}

// The whole run with a marking catalog: every text shown went through it, and every
// message asked for is in the template.
TEST(Transcript, EveryBoxAndCaptionComesFromTheCatalogAndEveryMessageIsInTheTemplate) {
  // Translates every message into itself between guillemets, and keeps what it was asked.
  std::set<std::string> asked, texts;
  const TranslatorGuard catalog([&](const char* msgid) {
    asked.insert(msgid);
    return texts.insert("\u00ab" + std::string(msgid) + "\u00bb").first->c_str();
  });
  Harness h;
  MemoryRegistry reg;
  RegistryAccess access(reg, h.window, h.window);
  FirstStart(h, reg, access);
  Harness again;
  SecondStart(again, h.window.files[h.SettingsPath()]);
  // What the run does not show: no device to play on, and the clean-up's end on Windows.
  Harness practice;
  practice.audio.deviceCount = 0;
  practice.window.lenientBoxes = true;
  EXPECT_THROW(practice.form.voices().OpenMidiOut(), ProgramEnded);
  practice.form.SetRegistry(nullptr, Removal::AddRemovePrograms);
  practice.window.Reply(Answer::Ok);
  practice.window.Reply(Answer::Yes);
  EXPECT_THROW(practice.form.mnuProgramUninstallKadeno_Click(), ProgramEnded);
  std::vector<BoxRecord> boxes = h.window.boxes;
  for (const Harness* other : {&again, &practice})
    boxes.insert(boxes.end(), other->window.boxes.begin(), other->window.boxes.end());
  // What the platforms and the self-voicing ask the catalog for themselves.
  for (const MenuSpec& menu : MainMenus()) {
    Tr(menu.caption);
    for (const MenuItemSpec& item : menu.items) Tr(item.caption);
  }
  for (int style : {Box::Ok, Box::OkCancel, Box::YesNoCancel, Box::YesNo}) {
    SpokenMessageBox("", style, std::nullopt);
  }
  SpokenInputBox("", std::nullopt, "");
  SpokenInputBox("", std::nullopt, "5");
  for (int code : {2, 5, 14, 87, 1009, 1010, 1011, 1012, 1013, 4}) {
    Tr(RegistryResultDescription(code).c_str());
  }
  for (int code = 1; code < 8; ++code) Tr(RegistryErrorDescription(code).c_str());
  const std::string help = ReadCommandLine({"--help"}, "1").out;
  const std::string refused = ReadCommandLine({"--x"}, "1").err;

  EXPECT_TRUE(Marked(help));
  EXPECT_TRUE(Marked(refused));
  EXPECT_GE(boxes.size(), 40u);
  // Every box's text marked, but the empty hall of fame's listing: an empty box.
  size_t empty = 0;
  for (const BoxRecord& b : boxes) {
    EXPECT_TRUE(b.prompt.empty() || Marked(b.prompt)) << b.prompt;
    EXPECT_TRUE(!b.title || Marked(*b.title)) << *b.title;
    empty += b.prompt.empty();
  }
  EXPECT_EQ(empty, 1u);
  EXPECT_GE(h.window.captions.size(), 4u);
  for (const auto& [item, caption] : h.window.captions) EXPECT_TRUE(Marked(caption)) << caption;

  const std::optional<MoCatalog> pot = MoCatalog::Parse(ReadWhole(KADENO_TEMPLATE_MO));
  ASSERT_TRUE(pot) << KADENO_TEMPLATE_MO;
  for (const std::string& msgid : asked) {
    EXPECT_NE(pot->Find(msgid), nullptr) << "not in po/kadeno.pot: " << msgid;
  }
  // The rest of the template: what the windows ask for themselves, what only a game in play
  // shows (tests/data/template-not-asked.txt), and the desktop's and software centre's.
  std::set<std::string> notAsked = DesktopTexts();
  std::istringstream listed{std::string(TestData("template-not-asked.txt"))};
  for (std::string line; std::getline(listed, line);) notAsked.insert(line);
  for (const std::string& msgid : notAsked) {
    EXPECT_NE(pot->Find(msgid), nullptr) << msgid;
    EXPECT_EQ(asked.count(msgid), 0u) << msgid;
  }
  EXPECT_EQ(asked.size() + notAsked.size(), pot->Size());
}

}  // namespace kadeno::test
