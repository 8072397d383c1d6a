// The menus' access keys in every compiled catalog of the build (and in English): one key
// per item that has one, different from the other items' of its menu, and different from
// the other menus' in the menu bar; the boxes' Yes and No keep keys of their own.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/MoCatalog.h"
#include "seams/Translate.h"
#include "shell/MenuTable.h"
#include "support/TranslatorGuard.h"

namespace kadeno {
namespace {

class CatalogTranslator : public Translator {
 public:
  explicit CatalogTranslator(const MoCatalog& catalog) : catalog_(catalog) {}
  const char* Lookup(const char* msgid) const override { return catalog_.Find(msgid); }

 private:
  const MoCatalog& catalog_;
};

// The letter after the caption's "&", as one lower-case code point; 0 when it has none.
uint32_t AccessKey(const std::string& caption) {
  const size_t amp = caption.find('&');
  if (amp == std::string::npos || amp + 1 >= caption.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(caption.data() + amp + 1);
  uint32_t cp = p[0];
  if (cp >= 0xF0) {
    cp = (cp & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F);
  } else if (cp >= 0xE0) {
    cp = (cp & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F);
  } else if (cp >= 0xC0) {
    cp = (cp & 0x1F) << 6 | (p[1] & 0x3F);
  }
  // Upper case to lower in the scripts of the catalogs: Latin, Latin-1 and Cyrillic.
  if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) return cp + 0x20;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
  return cp;
}

// Where two captions share a key, a line naming them; "" when every key is unique.
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

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
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
    const auto catalog = MoCatalog::Parse(ReadWhole(mo), &why);
    ASSERT_TRUE(catalog) << mo << ": " << why;
    const CatalogTranslator translator(*catalog);
    const TranslatorGuard in(&translator);
    ExpectUniqueKeys(entry.path().filename().string());
    ++catalogs;
  }
  // Every po/<lang>.po of the source has its compiled catalog here.
  EXPECT_EQ(catalogs, KADENO_CATALOG_COUNT);
}

TEST(CatalogMenuTest, AccessKeyReadsOneLetterInAnyScript) {
  struct Case {
    const char* caption;
    uint32_t want;
  } const cases[] = {
      {"&File", 'f'},    {"E&xit", 'x'},   {"Stereo (on)", 0}, {"&Über", 0xFC},   {"&Файл", 0x444},
      {"В&ыход", 0x44B}, {"&Ёлка", 0x451}, {"&Ajuda", 'a'},    {"trailing &", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(AccessKey(c.caption), c.want) << c.caption;
  EXPECT_NE(Clashes({"&Datei", "&Spiel", "&Dauer"}), "");
  EXPECT_EQ(Clashes({"&Datei", "&Spiel", "&Hilfe"}), "");
}

}  // namespace
}  // namespace kadeno
