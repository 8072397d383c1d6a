// Every text the program shows goes through the catalog, and every message it asks the
// catalog for is in the template: a player's session through the help, the menus' commands,
// the keys and the command line, with a catalog that marks each text it translates.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "catalog/MoCatalog.h"
#include "registry/RegistryAccess.h"
#include "seams/Translate.h"
#include "shell/CommandLine.h"
#include "shell/MenuTable.h"
#include "shell/SelfVoicing.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

// Translates every message into itself between guillemets, and keeps what it was asked.
class MarkingTranslator : public Translator {
 public:
  const char* Lookup(const char* msgid) const override {
    asked.insert(msgid);
    return texts.insert("\u00ab" + std::string(msgid) + "\u00bb").first->c_str();
  }
  mutable std::set<std::string> asked;
  mutable std::set<std::string> texts;
};

constexpr const char* kNotAsked[] = {
    "Cancel",
    "&Yes",
    "&No",
    "Kadeno: Musical Tumbla",
    "from",
    "Can't Score two scales in a row.  You need to score at least one chord in between.",
    "Kadeno",
    "Musical falling-notes game",
    "A musical game of tumbla, played entirely by ear",
    "music;game;audio game;blind;accessible;",
    "Musical falling-notes game played entirely by ear",
    "Quenloft",
    "music",
    "audio game",
    "blind",
    "accessible",
    "screen reader",
    "The first release as a package: a menu entry, this description and a manual page.",
    "A first start sounds: Kadeno comes with its factory sound settings, difficulty 2 and stereo "
    "on, and a player's own settings are written at the first save. Kadeno is now free software "
    "under the MIT licence.",
    "Kadeno is a musical game of tumbla with nothing to see: everything it shows of the game is "
    "sound, and every word it says is a message box that your screen reader, such as Orca, reads "
    "aloud. Blind and sighted players meet on a level field.",
    "Seven columns are swept from left to right in stereo. A falling note sounds in the step of "
    "its own column, so you hear where it is by when, and where, it plays. Steer it with the arrow "
    "keys, lower it an octave and a step of the scale with Down or drop it with the space bar. "
    "Stack a major or "
    "minor chord in one column, or lay the whole major scale across the top row, to score. Every "
    "round plays in a new key and goes faster, and the five best games are kept in a hall of fame.",
    "The game is played from the keyboard alone: F1 reads the help page by page, S says your "
    "score, P pauses, Escape asks to quit, and F10 or Alt with a letter opens the menus for the "
    "difficulty, the hall of fame and every sound setting. Kadeno turns on its own accessibility "
    "support, so the screen reader hears it even where the desktop has not announced one, and it "
    "brings its own synthesiser, so it makes sound out of the box.",
};

bool Marked(const std::string& text) { return text.rfind("\u00ab", 0) == 0; }

std::optional<MoCatalog> Template() {
  std::ifstream in(std::filesystem::path(KADENO_TEMPLATE_MO), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return MoCatalog::Parse(bytes.str());
}

// Five places taken, the last with 800 points.
void SeedHallOfFame(Harness& h) {
  h.window.files[h.SettingsPath()] =
      "1stPlaceScore = 1203\r\n1stPlaceName = Ana\r\n2ndPlaceScore = 1102\r\n"
      "2ndPlaceName = Bo\r\n3rdPlaceScore = 1001\r\n3rdPlaceName = Cy\r\n"
      "4thPlaceScore = 900.1\r\n4thPlaceName = Di\r\n5thPlaceScore = 800.1\r\n"
      "5thPlaceName = Ed\r\n";
}

void PlayEverything(Harness& h) {
  using enum Answer;
  SeedHallOfFame(h);
  for (int page = 0; page < 6; ++page) h.window.Reply(Yes);
  h.form.Form_Load();
  h.window.lenientBoxes = true;
  h.form.mnuHelpAbout_Click();
  h.form.mnuFileStartGame_Click();  // No: the game is called off
  h.form.Form_KeyDown(Key::S, 0);
  h.form.Form_KeyDown(Key::Escape, 0);  // No: the program goes on
  h.G().Score = 5000;
  h.window.Type("Flo");
  h.form.mnuFileHallOfFame_Click();  // the first place, and the name asked for it
  // Every value command, each switch twice, and Uninstall answered No, through the menus:
  // every item but those above and those that start, end or reset something.
  const std::set<std::string_view> skipped = {"mnuFileStartGame",    "mnuFileHallOfFame",
                                              "mnuFileExit",         "mnuMidiBackToDefault",
                                              "mnuHelpInstructions", "mnuHelpAbout"};
  for (const MenuSpec& menu : MainMenus()) {
    for (const MenuItemSpec& item : menu.items) {
      for (int i = skipped.count(item.name) ? 0 : item.live ? 2 : 1; i > 0; --i)
        (h.form.*item.command)();
    }
  }
  h.window.Reply(Yes);
  h.form.mnuMidiBackToDefault_Click();
  h.window.Reply(Ok);
  h.window.Reply(Yes);
  EXPECT_THROW(h.form.mnuProgramUninstallKadeno_Click(), ProgramEnded);
  // No device to play on: the program says so and ends.
  h.audio.deviceCount = 0;
  EXPECT_THROW(h.form.voices().OpenMidiOut(), ProgramEnded);
}

TEST(TextsInCatalogTest, EveryBoxAndCaptionComesFromTheCatalogAndEveryMessageIsInTheTemplate) {
  MarkingTranslator catalog;
  SetTranslator(&catalog);
  Harness h;
  PlayEverything(h);
  Harness practice;  // 0 points: no place, but a word of comfort
  SeedHallOfFame(practice);
  practice.form.store().LoadSettings();
  practice.window.lenientBoxes = true;
  practice.form.mnuFileHallOfFame_Click();
  h.window.boxes.insert(h.window.boxes.end(), practice.window.boxes.begin(),
                        practice.window.boxes.end());
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
  SetTranslator(nullptr);

  EXPECT_TRUE(Marked(help));
  EXPECT_TRUE(Marked(refused));
  EXPECT_GE(h.window.boxes.size(), 40u);
  for (const BoxRecord& b : h.window.boxes) {
    EXPECT_TRUE(Marked(b.prompt)) << b.prompt;
    EXPECT_TRUE(!b.title || Marked(*b.title)) << *b.title;
  }
  EXPECT_EQ(h.window.captions.size(), 4u);
  for (const auto& [item, caption] : h.window.captions) EXPECT_TRUE(Marked(caption)) << caption;

  const std::optional<MoCatalog> pot = Template();
  ASSERT_TRUE(pot) << KADENO_TEMPLATE_MO;
  for (const std::string& msgid : catalog.asked) {
    EXPECT_NE(pot->Find(msgid), nullptr) << "not in po/kadeno.pot: " << msgid;
  }
  // The rest of the template: what the windows ask for themselves, what only a game in
  // play shows, and the desktop's and software centre's texts.
  for (const char* msgid : kNotAsked) {
    EXPECT_NE(pot->Find(msgid), nullptr) << msgid;
    EXPECT_EQ(catalog.asked.count(msgid), 0u) << msgid;
  }
  EXPECT_EQ(catalog.asked.size() + std::size(kNotAsked), pot->Size());
}

}  // namespace
}  // namespace kadeno::test
