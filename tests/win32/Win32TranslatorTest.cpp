// The Windows catalogs: found beside the program by the language asked for, or English
// with one line on standard error when missing or damaged (under Wine in CI).
#include "win32/Win32Translator.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "shell/MoFixtures.h"
#include "win32/Win32Files.h"

namespace kadeno {
namespace {

class Win32TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::TempDir() + "kadeno-locale-" + std::to_string(GetCurrentProcessId());
    std::filesystem::remove_all(WindowsPath(folder_));
  }
  void TearDown() override { std::filesystem::remove_all(WindowsPath(folder_)); }
  void Put(const std::string& language, const std::string& bytes) {
    const std::filesystem::path dir = WindowsPath(folder_ + "/locale/" + language + "/LC_MESSAGES");
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "kadeno.mo", std::ios::binary) << bytes;
  }
  std::string folder_;
};

TEST_F(Win32TranslatorTest, TheLanguageAskedForOrItsNearestCatalog) {
  Put("de", test::kLittleEndianMo);
  std::string damaged = test::kBigEndianMo;
  damaged[0] = 'x';
  Put("fr", damaged);
  struct Case {
    const char* asked;
    const char* language;  // "" for English
    const char* said;      // the start of the line on standard error, "" for none
  } const cases[] = {
      {"de-AT", "de", ""},  // as Windows names it; the language's own catalog serves
      {"de_DE.UTF-8", "de", ""}, {"fr:de", "de", ""},  // the damaged first choice passed over
      {"fr", "", "kadeno: "},    {"ru", "", "kadeno: no catalog for ru in "},
      {"en-US", "", ""},         {"", "", ""},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    const Win32Translator translator(folder_, c.asked);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(translator.Language(), c.language) << c.asked;
    EXPECT_EQ(said.rfind(c.said, 0), 0u) << c.asked << ": " << said;
    EXPECT_EQ(said.empty(), *c.said == '\0') << c.asked << ": " << said;
    const char* text = translator.Lookup("Are you ready?");
    EXPECT_STREQ(text ? text : "", *c.language ? "Bist du bereit?" : "") << c.asked;
  }
  testing::internal::CaptureStderr();
  const Win32Translator frOnly(folder_, "fr");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("is damaged: not a compiled catalog"),
            std::string::npos);
}

TEST(Win32AskedLanguage, KadenoLangAboveWindows) {
  _wputenv_s(L"KADENO_LANG", L"pt_BR");
  EXPECT_EQ(Win32AskedLanguage(), "pt_BR");
  _wputenv_s(L"KADENO_LANG", L"");
  // Windows' own display language, as "ll-CC" (Wine's is English here).
  const std::string windows = Win32AskedLanguage();
  EXPECT_GE(windows.size(), 2u) << windows;
}

}  // namespace
}  // namespace kadeno
