// The .mo reader (damaged catalogs refused without reading outside the bytes, which the sanitizer
// build checks too), and the menus' access keys in every compiled catalog. The translation seam,
// and the catalogs and speech language a language setting asks for.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "catalog/LanguageChoice.h"
#include "catalog/MoCatalog.h"
#include "seams/Translate.h"
#include "shell/MenuTable.h"
#include "shell/MoFixtures.h"
#include "support/TestData.h"
#include "support/TranslatorGuard.h"

namespace kadeno {
namespace {

using test::kBigEndianMo;
using test::kLittleEndianMo;
using test::PutMoWord;
using test::ReadWhole;

// Where the fixtures hold the count, the originals' table, its first entry (length, offset)
// and that entry's text: the header's empty msgid, whose NUL is all it has.
constexpr size_t kCountAt = 8, kOriginalsAt = 12, kFirstOriginal = 28, kFirstText = 92;

// Read from a copy of the bytes that is gone, then moved: the texts outlive both.
TEST(MoCatalogTest, ReadsMsgfmtsCatalogsInBothByteOrders) {
  for (const std::string* bytes : {&kLittleEndianMo, &kBigEndianMo}) {
    std::string why;
    std::optional<MoCatalog> parsed = MoCatalog::Parse(std::string(*bytes), &why);
    ASSERT_TRUE(parsed) << why;
    const std::optional<MoCatalog> catalog = std::move(*parsed);
    parsed.reset();
    EXPECT_EQ(catalog->Size(), 3u);
    const std::pair<const char*, const char*> cases[] = {
        {"Are you ready?", "Bist du bereit?"},
        {"  two\n  lines\n", "  zwei\n  Zeilen\n"},
        {"%1 note", "%1 Note"},  // a plural message: its singular, its first form
        {"%1 notes", nullptr},
        {"untranslated", nullptr},
        {"Are you ready", nullptr},
        {"", nullptr},  // the header is no message
    };
    for (const auto& [msgid, text] : cases) EXPECT_STREQ(catalog->Find(msgid), text) << msgid;
    EXPECT_EQ(catalog->HeaderField("Language"), "de");
    EXPECT_EQ(catalog->HeaderField("Language-Team"), "German");
    EXPECT_EQ(catalog->HeaderField("Content-Type"), "text/plain; charset=UTF-8");
    EXPECT_EQ(catalog->HeaderField("Plural-Forms"), "");
  }
}

TEST(MoCatalogTest, RefusesDamagedCatalogs) {
  const std::string& good = kLittleEndianMo;
  const std::tuple<const char*, std::function<void(std::string&)>, const char*> cases[] = {
      {"empty", [](std::string& b) { b.clear(); }, "too short for a catalog"},
      {"cut in its header", [](std::string& b) { b.resize(19); }, "too short for a catalog"},
      {"another magic", [](std::string& b) { b[0] = 'x'; }, "not a compiled catalog"},
      {"revision 2", [](std::string& b) { PutMoWord(b, 4, 2u << 16); }, "an unknown revision"},
      {"too many messages", [](std::string& b) { PutMoWord(b, kCountAt, 0xFFFFFFFF); },
       "its tables run past its end"},
      {"its table past its end", [](std::string& b) { PutMoWord(b, kOriginalsAt, 0xFFFFFFF0); },
       "its tables run past its end"},
      {"a message past its end",
       [](std::string& b) { PutMoWord(b, kFirstOriginal + 4, 0xFFFFFFFF); },
       "a message runs past its end"},
      {"a message longer than the file",
       [](std::string& b) { PutMoWord(b, kFirstOriginal, 0x7FFFFFFF); },
       "a message runs past its end"},
      {"a message without its NUL", [](std::string& b) { b[kFirstText] = 'x'; },
       "a message runs past its end"},
  };
  for (const auto& [name, damage, reason] : cases) {
    std::string bytes = good;
    damage(bytes);
    std::string why;
    EXPECT_FALSE(MoCatalog::Parse(bytes, &why)) << name;
    EXPECT_EQ(why, reason) << name;
  }
  // A catalog cut anywhere loses the NUL of its last text at least.
  for (size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(MoCatalog::Parse(good.substr(0, size))) << size;
  }
}

// The lower-case code point after the caption's "&"; 0 when it has none. The catalogs'
// scripts (Latin, Latin-1, Cyrillic) take one or two bytes a letter.
uint32_t AccessKey(const std::string& caption) {
  const size_t amp = caption.find('&');
  if (amp == std::string::npos || amp + 1 >= caption.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(caption.data() + amp + 1);
  uint32_t cp = p[0];
  if (cp >= 0xC0) cp = (cp & 0x1F) << 6 | (p[1] & 0x3F);
  if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) return cp + 0x20;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
  return cp;
}

// Which captions share a key; "" when none do.
std::string Clashes(const std::vector<std::string>& captions) {
  std::map<uint32_t, std::string> seen;
  std::string out;
  for (const std::string& caption : captions) {
    const uint32_t key = AccessKey(caption);
    if (key == 0) continue;
    auto [it, fresh] = seen.emplace(key, caption);
    if (!fresh) out += "'" + it->second + "' and '" + caption + "' share a key; ";
  }
  return out;
}

void ExpectUniqueKeys(const std::string& language) {
  std::vector<std::string> bar;
  for (const MenuSpec& menu : MainMenus()) {
    bar.push_back(Tr(menu.caption));
    EXPECT_NE(AccessKey(bar.back()), 0u) << language << ": menu " << bar.back();
    std::vector<std::string> items;
    for (const MenuItemSpec& item : menu.items) {
      items.push_back(Tr(item.caption));
      // An item with a key in English keeps one; one without gains none.
      EXPECT_EQ(AccessKey(items.back()) != 0, AccessKey(item.caption) != 0)
          << language << ": " << items.back();
    }
    EXPECT_EQ(Clashes(items), "") << language << ": menu " << bar.back();
  }
  EXPECT_EQ(Clashes(bar), "") << language << ": the menu bar";
  EXPECT_EQ(Clashes({Tr("&Yes"), Tr("&No")}), "") << language << ": the boxes' buttons";
}

TEST(CatalogMenuTest, AccessKeysAreUniquePerMenuInEveryLanguage) {
  SetTranslator(nullptr);
  ExpectUniqueKeys("English");
  const std::filesystem::path locale(KADENO_BUILD_LOCALE);
  std::error_code none;
  int catalogs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(locale, none)) {
    const std::filesystem::path mo = entry.path() / "LC_MESSAGES" / "kadeno.mo";
    std::string why;
    const auto catalog = MoCatalog::Parse(ReadWhole(mo.string()), &why);
    ASSERT_TRUE(catalog) << mo << ": " << why;
    const TranslatorGuard in([&](const char* msgid) { return catalog->Find(msgid); });
    ExpectUniqueKeys(entry.path().filename().string());
    ++catalogs;
  }
  // Every po/<lang>.po of the source has its compiled catalog here.
  EXPECT_EQ(catalogs, KADENO_CATALOG_COUNT);
}

TEST(CatalogMenuTest, AccessKeyReadsOneLetterInAnyScript) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"&File", 'f'},    {"E&xit", 'x'},   {"Stereo (on)", 0}, {"&Über", 0xFC},   {"&Файл", 0x444},
      {"В&ыход", 0x44B}, {"&Ёлка", 0x451}, {"&Ajuda", 'a'},    {"trailing &", 0},
  };
  for (const auto& [caption, key] : cases) EXPECT_EQ(AccessKey(caption), key) << caption;
  EXPECT_NE(Clashes({"&Datei", "&Spiel", "&Dauer"}), "");
  EXPECT_EQ(Clashes({"&Datei", "&Spiel", "&Hilfe"}), "");
}

TEST(TranslateTest, FormatFillsEachPlaceholderOnce) {
  const std::pair<std::string, std::string> cases[] = {
      {Format("Your score is %1", {"12.5"}), "Your score is 12.5"},
      // A translation may turn the order round.
      {Format("%2 hat %1 Punkte", {"40", "Ann"}), "Ann hat 40 Punkte"},
      // A name that looks like a placeholder is the player's and stays as typed.
      {Format("%1 points is %2 at a level of %3", {"40", "%3%1", " 2"}),
       "40 points is %3%1 at a level of  2"},
      {Format("%1%1", {"7"}), "77"},
      // No argument for it, a "%" before no digit, "%0" and a "%" at the end stay.
      {Format("%1 of %2", {"3"}), "3 of %2"},
      {Format("100% sure %0 %", {"x"}), "100% sure %0 %"},
      {Format("%9", {"a", "b", "c", "d", "e", "f", "g", "h", "i"}), "i"},
      {Format("", {"a"}), ""},
  };
  for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(TranslateTest, TrTakesTheCatalogsTextOrKeepsTheEnglish) {
  EXPECT_EQ(Tr("Are you ready?"), "Are you ready?");  // no catalog at all
  const std::map<std::string, std::string> german = {{"Are you ready?", "Bist du bereit?"},
                                                     {"Stereo (on)", ""}};
  int asked = 0;
  const TranslatorGuard guard([&](const char* msgid) {
    ++asked;
    const auto it = german.find(msgid);
    return it == german.end() ? nullptr : it->second.c_str();
  });
  const std::pair<const char*, const char*> cases[] = {
      {"Are you ready?", "Bist du bereit?"},
      {"Do you really want to quit?", "Do you really want to quit?"},  // not in the catalog
      {"Stereo (on)", "Stereo (on)"},  // an empty translation would be an empty box
  };
  for (const auto& [msgid, text] : cases) EXPECT_EQ(Tr(msgid), text) << msgid;
  // The empty message is a catalog's header, never a text.
  const int before = asked;
  EXPECT_EQ(Tr(""), "");
  EXPECT_EQ(asked, before);
}

TEST(TranslateTest, TrLinesEndsEveryLineAsTheBoxesDo) {
  EXPECT_EQ(TrLines("  one  \n  two\n"), "  one  \r\n  two\r\n");
  const TranslatorGuard guard(
      [](const char* msgid) { return std::string_view(msgid) == "a\nb" ? "x\ny\nz" : nullptr; });
  EXPECT_EQ(TrLines("a\nb"), "x\r\ny\r\nz");
  EXPECT_EQ(TrLines("no line end"), "no line end");
}

// tests/data/language-settings.txt: the catalogs a setting asks for, and whether English.
TEST(LanguageChoiceTest, CandidatesBestFirstAndEnglish) {
  const auto rows = test::TestRows("language-settings.txt");
  for (const auto& row : rows) {
    std::istringstream split(row.at(1));
    const std::vector<std::string> candidates{std::istream_iterator<std::string>(split), {}};
    EXPECT_EQ(CatalogCandidates(row[0]), candidates) << row[0];
    EXPECT_EQ(AsksForEnglish(row[0]), row.at(2) == "English") << row[0];
  }
  EXPECT_EQ(rows.size(), 21u);
}

TEST(LanguageChoiceTest, SpeechLanguageAsTheServiceTakesIt) {
  EXPECT_EQ(SpeechLanguage("pt_BR"), "pt-BR");
  EXPECT_EQ(SpeechLanguage("de"), "de");
  EXPECT_EQ(SpeechLanguage("ru_RU.UTF-8"), "ru-RU");
}

}  // namespace
}  // namespace kadeno
