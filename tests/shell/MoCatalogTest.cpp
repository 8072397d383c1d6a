// The .mo reader: msgfmt's catalogs in both byte orders read whole, and damaged ones
// refused without reading outside the bytes (the sanitizer build checks that too).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "catalog/MoCatalog.h"
#include "shell/MoFixtures.h"

namespace kadeno {
namespace {

using test::kBigEndianMo;
using test::kLittleEndianMo;

// The fixtures' layout: the count at 8, the originals' table at 28 and the translations'
// at 60, each entry a length and an offset.
constexpr size_t kCountAt = 8, kOriginalsAt = 12, kFirstOriginal = 28;

void PutWord(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}
uint32_t Word(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

TEST(MoCatalogTest, ReadsMsgfmtsCatalogsInBothByteOrders) {
  for (const std::string* bytes : {&kLittleEndianMo, &kBigEndianMo}) {
    std::string why;
    const std::optional<MoCatalog> catalog = MoCatalog::Parse(*bytes, &why);
    ASSERT_TRUE(catalog) << why;
    EXPECT_EQ(catalog->Size(), 3u);
    struct Case {
      const char* msgid;
      const char* want;  // nullptr: not in the catalog
    } const cases[] = {
        {"Are you ready?", "Bist du bereit?"},
        {"  two\n  lines\n", "  zwei\n  Zeilen\n"},
        {"%1 note", "%1 Note"},  // a plural message: its singular, its first form
        {"%1 notes", nullptr},
        {"untranslated", nullptr},
        {"Are you ready", nullptr},
        {"", nullptr},  // the header is no message
    };
    for (const Case& c : cases) {
      const char* got = catalog->Find(c.msgid);
      if (c.want == nullptr) {
        EXPECT_EQ(got, nullptr) << c.msgid;
      } else {
        EXPECT_STREQ(got, c.want) << c.msgid;
      }
    }
    EXPECT_EQ(catalog->HeaderField("Language"), "de");
    EXPECT_EQ(catalog->HeaderField("Language-Team"), "German");
    EXPECT_EQ(catalog->HeaderField("Content-Type"), "text/plain; charset=UTF-8");
    EXPECT_EQ(catalog->HeaderField("Plural-Forms"), "");
  }
}

TEST(MoCatalogTest, RefusesDamagedCatalogs) {
  const std::string& good = kLittleEndianMo;
  const uint32_t firstOffset = Word(good, kFirstOriginal + 4);
  const uint32_t firstLength = Word(good, kFirstOriginal);
  struct Case {
    const char* name;
    std::function<void(std::string&)> damage;
    const char* why;
  } const cases[] = {
      {"empty", [](std::string& b) { b.clear(); }, "too short for a catalog"},
      {"cut in its header", [](std::string& b) { b.resize(19); }, "too short for a catalog"},
      {"another magic", [](std::string& b) { b[0] = 'x'; }, "not a compiled catalog"},
      {"revision 2", [](std::string& b) { PutWord(b, 4, 2u << 16); }, "an unknown revision"},
      {"too many messages", [](std::string& b) { PutWord(b, kCountAt, 0xFFFFFFFF); },
       "its tables run past its end"},
      {"its table past its end", [](std::string& b) { PutWord(b, kOriginalsAt, 0xFFFFFFF0); },
       "its tables run past its end"},
      {"a message past its end", [](std::string& b) { PutWord(b, kFirstOriginal + 4, 0xFFFFFFFF); },
       "a message runs past its end"},
      {"a message longer than the file",
       [](std::string& b) { PutWord(b, kFirstOriginal, 0x7FFFFFFF); },
       "a message runs past its end"},
      {"a message without its NUL", [&](std::string& b) { b[firstOffset + firstLength] = 'x'; },
       "a message runs past its end"},
  };
  for (const Case& c : cases) {
    std::string bytes = good;
    c.damage(bytes);
    std::string why;
    EXPECT_FALSE(MoCatalog::Parse(bytes, &why)) << c.name;
    EXPECT_EQ(why, c.why) << c.name;
  }
  // A catalog cut anywhere loses the NUL of its last text at least.
  for (size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(MoCatalog::Parse(good.substr(0, size))) << size;
  }
}

TEST(MoCatalogTest, TheTextsOutliveTheBytesAndMoves) {
  std::optional<MoCatalog> catalog;
  {
    std::string bytes = kBigEndianMo;
    catalog = MoCatalog::Parse(std::move(bytes));
  }
  ASSERT_TRUE(catalog);
  MoCatalog moved = std::move(*catalog);
  catalog.reset();
  EXPECT_STREQ(moved.Find("Are you ready?"), "Bist du bereit?");
}

}  // namespace
}  // namespace kadeno
