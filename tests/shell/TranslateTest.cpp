// The translation seam: the catalog's text or the English, and placeholders filled in
// one pass; which catalog a language setting asks for, and how the speech service is told.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "catalog/LanguageChoice.h"
#include "seams/Translate.h"
#include "support/TranslatorGuard.h"

namespace kadeno {
namespace {

class MapTranslator : public Translator {
 public:
  explicit MapTranslator(std::map<std::string, std::string> texts) : texts_(std::move(texts)) {}
  const char* Lookup(const char* msgid) const override {
    ++asked;
    const auto it = texts_.find(msgid);
    return it == texts_.end() ? nullptr : it->second.c_str();
  }
  mutable int asked = 0;

 private:
  std::map<std::string, std::string> texts_;
};

TEST(TranslateTest, FormatFillsEachPlaceholderOnce) {
  // {what Format gave, what it should give}
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
  MapTranslator german({{"Are you ready?", "Bist du bereit?"}, {"Stereo (on)", ""}});
  TranslatorGuard guard(&german);
  const std::pair<const char*, const char*> cases[] = {
      {"Are you ready?", "Bist du bereit?"},
      {"Do you really want to quit?", "Do you really want to quit?"},  // not in the catalog
      {"Stereo (on)", "Stereo (on)"},  // an empty translation would be an empty box
  };
  for (const auto& [msgid, text] : cases) EXPECT_EQ(Tr(msgid), text) << msgid;
  // The empty message is a catalog's header, never a text.
  const int asked = german.asked;
  EXPECT_EQ(Tr(""), "");
  EXPECT_EQ(german.asked, asked);
}

TEST(TranslateTest, TrLinesEndsEveryLineAsTheBoxesDo) {
  EXPECT_EQ(TrLines("  one  \n  two\n"), "  one  \r\n  two\r\n");
  MapTranslator german(std::map<std::string, std::string>{{"a\nb", "x\ny\nz"}});
  TranslatorGuard guard(&german);
  EXPECT_EQ(TrLines("a\nb"), "x\r\ny\r\nz");
  EXPECT_EQ(TrLines("no line end"), "no line end");
}

TEST(LanguageChoiceTest, CandidatesBestFirst) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"de", {"de"}},
      {"de_AT.UTF-8@euro", {"de_AT", "de"}},
      {"pt-BR", {"pt_BR", "pt"}},  // as Windows names it
      {"fr_CA:de:fr", {"fr_CA", "fr", "de"}},
      {"ru_RU.KOI8-R", {"ru_RU", "ru"}},
      // English before another language means English.
      {"en_GB:de", {}},
      {"de:en:fr", {"de"}},
      {"C.UTF-8", {}},
      {"POSIX", {}},
      {"", {}},
      {"::de", {"de"}},
  };
  for (const auto& [setting, names] : cases)
    EXPECT_EQ(CatalogCandidates(setting), names) << setting;
}

TEST(LanguageChoiceTest, EnglishSettings) {
  for (const char* english : {"", "C", "C.UTF-8", "POSIX", "en", "en_US.UTF-8", "en-GB", "en:de"}) {
    EXPECT_TRUE(AsksForEnglish(english)) << english;
  }
  for (const char* other : {"de", "de_DE.UTF-8", "pt_BR", "es", "eo", "de:en"}) {
    EXPECT_FALSE(AsksForEnglish(other)) << other;
  }
}

TEST(LanguageChoiceTest, SpeechLanguageAsTheServiceTakesIt) {
  EXPECT_EQ(SpeechLanguage("pt_BR"), "pt-BR");
  EXPECT_EQ(SpeechLanguage("de"), "de");
  EXPECT_EQ(SpeechLanguage("ru_RU.UTF-8"), "ru-RU");
}

}  // namespace
}  // namespace kadeno
