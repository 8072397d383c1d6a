// Which catalog a language setting asks for, and how the speech service is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/LanguageChoice.h"

namespace kadeno {
namespace {

TEST(LanguageChoiceTest, CandidatesBestFirst) {
  struct Case {
    const char* setting;
    std::vector<std::string> want;
  } const cases[] = {
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
  for (const Case& c : cases) EXPECT_EQ(CatalogCandidates(c.setting), c.want) << c.setting;
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
