// A whole run in two starts, tests/data/transcript-script.txt, compared with
// tests/data/transcript.txt: every box and input box, menu caption, save (with the lines it
// changed), line on standard error, the registry around Uninstall, and the command line's
// output. Commands are chosen by caption through the menu table, as the window does, so an
// item wired to the wrong command shows.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "catalog/MoCatalog.h"
#include "registry/RegistryAccess.h"
#include "seams/Translate.h"
#include "shell/CommandLine.h"
#include "shell/MenuTable.h"
#include "shell/SelfVoicing.h"
#include "support/Harness.h"
#include "support/Script.h"
#include "support/TestData.h"
#include "support/TranslatorGuard.h"

namespace kadeno::test {
namespace {

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
  ExpectSameAsData("transcript.txt", Script("transcript-script.txt").Record());
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
  const Script run("transcript-script.txt");
  // What the run does not show: no device to play on, and the clean-up's end on Windows.
  Harness practice;
  practice.audio.deviceCount = 0;
  practice.window.lenientBoxes = true;
  EXPECT_THROW(practice.form.voices().OpenMidiOut(), ProgramEnded);
  practice.form.SetRegistry(nullptr, Removal::AddRemovePrograms);
  practice.window.Reply(Answer::Ok);
  practice.window.Reply(Answer::Yes);
  EXPECT_THROW(practice.form.mnuProgramUninstallKadeno_Click(), ProgramEnded);
  std::vector<BoxRecord> boxes = practice.window.boxes;
  std::vector<std::pair<MenuItem, std::string>> captions;
  for (const auto& r : run.runs) {
    boxes.insert(boxes.end(), r->h.window.boxes.begin(), r->h.window.boxes.end());
    captions.insert(captions.end(), r->h.window.captions.begin(), r->h.window.captions.end());
  }
  // What the platforms and the self-voicing ask the catalog for themselves.
  for (const MenuSpec& menu : MainMenus()) {
    Tr(menu.caption);
    for (const MenuItemSpec& item : menu.items) Tr(item.caption);
  }
  for (int style : {Box::Ok, Box::OkCancel, Box::YesNoCancel, Box::YesNo})
    SpokenMessageBox("", style, std::nullopt);
  SpokenInputBox("", std::nullopt, "");
  SpokenInputBox("", std::nullopt, "5");
  for (int code : {2, 5, 14, 87, 1009, 1010, 1011, 1012, 1013, 4})
    Tr(RegistryResultDescription(code).c_str());
  for (int code = 1; code < 8; ++code) Tr(RegistryErrorDescription(code).c_str());

  EXPECT_TRUE(Marked(ReadCommandLine({"--help"}, "1").out));
  EXPECT_TRUE(Marked(ReadCommandLine({"--x"}, "1").err));
  EXPECT_GE(boxes.size(), 40u);
  // Every box's text marked, but the empty hall of fame's listing: an empty box.
  size_t empty = 0;
  for (const BoxRecord& b : boxes) {
    EXPECT_TRUE(b.prompt.empty() || Marked(b.prompt)) << b.prompt;
    EXPECT_TRUE(!b.title || Marked(*b.title)) << *b.title;
    empty += b.prompt.empty();
  }
  EXPECT_EQ(empty, 1u);
  EXPECT_GE(captions.size(), 4u);
  for (const auto& [item, caption] : captions) EXPECT_TRUE(Marked(caption)) << caption;

  const std::optional<MoCatalog> pot = MoCatalog::Parse(ReadWhole(KADENO_TEMPLATE_MO));
  ASSERT_TRUE(pot) << KADENO_TEMPLATE_MO;
  for (const std::string& msgid : asked)
    EXPECT_NE(pot->Find(msgid), nullptr) << "not in po/kadeno.pot: " << msgid;
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
