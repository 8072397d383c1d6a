// The translation seam, and the catalogs and speech language a language setting asks for.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/LanguageChoice.h"
#include "seams/Translate.h"
#include "support/TestData.h"
#include "support/TranslatorGuard.h"

namespace kadeno {
namespace {

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
