// Files, text, the registry and the catalogs at the Windows boundary, on the real file
// system and registry (under Wine in CI, in a registry of its own): only how they reach the
// system. What Uninstall removes and which catalogs a setting names are checked elsewhere.
#include "win32/Win32Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "registry/RegistryAccess.h"
#include "shell/MoFixtures.h"
#include "support/FakeWindow.h"
#include "support/TempFolder.h"
#include "win32/Win32Api.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Translator.h"

namespace kadeno {
namespace {

TEST(Win32Text, Utf8AndUtf16RoundTrip) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"", L""},
      {"Kadeno", L"Kadeno"},
      {"Fran\xC3\xA7oise", L"Fran\u00E7oise"},
      {"\xE2\x99\xAA", L"\u266A"},                         // a note: three bytes, one unit
      {"\xF0\x9D\x84\x9E", L"\U0001D11E"},                 // the G clef: four bytes, two units
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},  // a NUL is text like any other
  };
  for (const auto& [utf8, utf16] : cases) {
    EXPECT_EQ(Widen(utf8), utf16) << utf8;
    EXPECT_EQ(Narrow(utf16), utf8) << utf8;
  }
  EXPECT_EQ(WindowsPath("C:/Games/Kadeno/Kadeno.ini"), L"C:\\Games\\Kadeno\\Kadeno.ini");
}

// A save cut short leaves its temporary behind, longer than the next save's text: the next
// save takes it up and leaves nothing. A failed save leaves the previous file.
TEST(Win32Files, SavesWholeFilesMakingTheFoldersAndLeaveNothingElse) {
  const test::TempFolder own;
  // A folder whose name is not plain ASCII, reached with forward slashes.
  std::string dir = own / "kadeno-\xC3\xA9t\xC3\xA9";
  std::replace(dir.begin(), dir.end(), '\\', '/');
  const auto Entries = [](const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(WindowsPath(folder)), {});
  };
  const std::string path = dir + "/a/b/Kadeno.ini";
  EXPECT_EQ(Win32ReadFile(path), std::nullopt);
  ASSERT_TRUE(Win32WriteFileAtomically(Win32TemporaryFor(path), "half a file, longer"));
  ASSERT_TRUE(Win32WriteFileAtomically(path, std::string("two\r\n\0\xFF", 7)));
  EXPECT_TRUE(Win32FileExists(path));
  EXPECT_FALSE(Win32FileExists(dir + "/a"));                         // a folder is not a file
  EXPECT_FALSE(Win32WriteFileAtomically(path + "/inner.ini", "x"));  // a file in the way
  EXPECT_FALSE(Win32WriteFileAtomically(dir + "/a/b", "x"));         // a folder in the way
  EXPECT_EQ(Win32ReadFile(path), std::string("two\r\n\0\xFF", 7));   // bytes as they were
  EXPECT_EQ(Entries(dir + "/a/b"), 1);
  EXPECT_EQ(Entries(dir + "/a"), 1);
}

TEST(Win32Folders, SettingsLiveInAppDataAndWavesBesideTheProgram) {
  wchar_t old[32768];
  const DWORD had = GetEnvironmentVariableW(L"APPDATA", old, 32768);
  SetEnvironmentVariableW(L"APPDATA", L"D:\\Profiles\\Fran\u00E7oise\\AppData\\Roaming");
  EXPECT_EQ(Win32SettingsFolder(), "D:\\Profiles\\Fran\xC3\xA7oise\\AppData\\Roaming\\Kadeno");
  SetEnvironmentVariableW(L"APPDATA", had ? old : nullptr);
  EXPECT_TRUE(Win32FileExists(Win32ProgramFolder() + "\\test_win32.exe")) << Win32ProgramFolder();
}

bool KeyExists(HKEY root, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

TEST(Win32Registry, ValuesOfEveryTypeGoInAndComeOutAndTreesAreDeleted) {
  Win32Registry api;
  test::FakeWindow window;
  RegistryAccess access(api, window, window);
  const std::string key = "HKEY_CURRENT_USER\\Software\\KadenoTest";
  // By name: the order of writing, which Windows keeps, is the order Wine keeps too.
  const std::vector<RegistryEntry> values = {
      {"Bytes", RegistryBytes{0, 1, 255}},
      {"Empty", std::string()},
      {"Number", -2},
      {"Text", std::string("C:\\Games\\Kadeno.exe")},
  };
  for (const RegistryEntry& v : values)
    ASSERT_TRUE(access.WriteRegistryValue(key, v.name, v.value));
  ASSERT_TRUE(access.WriteRegistryValue(key + "\\Deep\\Deeper", "v", 1));
  for (const RegistryEntry& v : values) EXPECT_EQ(access.ReadRegistryValue(key, v.name), v.value);
  EXPECT_EQ(access.EnumRegistryValues(key), values);
  EXPECT_EQ(access.ReadRegistryValue(key, "Missing", 7), RegistryValue(7));
  EXPECT_TRUE(access.DeleteRegistryKey(key, std::string("Number")));
  EXPECT_EQ(access.EnumRegistryValues(key).size(), 3u);
  EXPECT_TRUE(access.DeleteRegistryKey(key));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\KadenoTest"));
  EXPECT_FALSE(access.DeleteRegistryKey(key));  // gone already: the system's own 2
  EXPECT_EQ(access.PendingError().number, ERROR_FILE_NOT_FOUND);
}

TEST(Win32Translator, TheLanguageAskedForOrItsNearestCatalog) {
  const test::TempFolder folder;
  std::string damaged = test::kBigEndianMo;
  damaged[0] = 'x';
  const std::pair<const char*, std::string> catalogs[] = {{"de", test::kLittleEndianMo},
                                                          {"fr", damaged}};
  for (const auto& [language, bytes] : catalogs) {
    const std::filesystem::path dir =
        WindowsPath(folder / "locale" + "/" + language + "/LC_MESSAGES");
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "kadeno.mo", std::ios::binary) << bytes;
  }
  // {the language asked for, the catalog's ("": English), part of the stderr line ("": none)}
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"de-AT", "de", ""},  // as Windows names it; the language's own catalog serves
      {"fr:de", "de", ""},  // the damaged first choice passed over
      {"fr", "", "is damaged: not a compiled catalog"},
      {"ru", "", "kadeno: no catalog for ru in "},
      {"en-US", "", ""},
  };
  for (const auto& [asked, language, part] : cases) {
    testing::internal::CaptureStderr();
    const Win32Translator translator(folder.path(), asked);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(translator.Language(), language) << asked;
    EXPECT_EQ(said.empty(), *part == '\0') << asked << ": " << said;
    EXPECT_TRUE(said.empty() || (said.starts_with("kadeno: ") && said.find(part) != said.npos &&
                                 said.find('\n') == said.size() - 1))
        << asked << ": " << said;
    EXPECT_STREQ(translator.Lookup("Are you ready?"), *language ? "Bist du bereit?" : nullptr)
        << asked;
  }
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
