// Files and text at the Windows boundary, on the real file system (under Wine in CI).
#include "win32/Win32Files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "messagelog/LogFile.h"
#include "win32/Win32Api.h"

namespace kadeno {
namespace {

class Win32Files : public ::testing::Test {
 protected:
  void SetUp() override {
    // A fresh folder whose name is not plain ASCII, reached with forward slashes.
    dir_ = testing::TempDir() + "kadeno-\xC3\xA9t\xC3\xA9-" + std::to_string(GetCurrentProcessId());
    for (char& c : dir_) c = c == '\\' ? '/' : c;
  }
  void TearDown() override { std::filesystem::remove_all(WindowsPath(dir_)); }
  int Entries(const std::string& folder) {
    return static_cast<int>(
        std::distance(std::filesystem::directory_iterator(WindowsPath(folder)), {}));
  }
  std::string dir_;
};

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
TEST_F(Win32Files, SavesWholeFilesMakingTheFoldersAndLeaveNothingElse) {
  const std::string path = dir_ + "/a/b/Kadeno.ini";
  EXPECT_EQ(Win32ReadFile(path), std::nullopt);
  ASSERT_TRUE(Win32WriteFileAtomically(Win32TemporaryFor(path), "half a file, longer"));
  ASSERT_TRUE(Win32WriteFileAtomically(path, std::string("two\r\n\0\xFF", 7)));
  EXPECT_TRUE(Win32FileExists(path));
  EXPECT_FALSE(Win32FileExists(dir_ + "/a"));                        // a folder is not a file
  EXPECT_FALSE(Win32WriteFileAtomically(path + "/inner.ini", "x"));  // a file in the way
  EXPECT_FALSE(Win32WriteFileAtomically(dir_ + "/a/b", "x"));        // a folder in the way
  EXPECT_EQ(Win32ReadFile(path), std::string("two\r\n\0\xFF", 7));   // bytes as they were
  EXPECT_EQ(Entries(dir_ + "/a/b"), 1);
  EXPECT_EQ(Entries(dir_ + "/a"), 1);
}

// Appending, and a log in a missing folder, are the MessageLog tests' (run under Wine too).
TEST_F(Win32Files, TheLogFileIsWrittenInBinary) {
  ASSERT_TRUE(Win32MakeFolders(dir_));
  std::FILE* f = OpenLogFileForAppend(dir_ + "/midi.log");
  ASSERT_NE(f, nullptr);
  std::fputs("one\ntwo\n", f);
  std::fclose(f);
  EXPECT_EQ(Win32ReadFile(dir_ + "/midi.log"), "one\ntwo\n");  // no CR crept in
}

TEST(Win32Folders, SettingsLiveInAppDataAndWavesBesideTheProgram) {
  wchar_t old[32768];
  const DWORD had = GetEnvironmentVariableW(L"APPDATA", old, 32768);
  SetEnvironmentVariableW(L"APPDATA", L"D:\\Profiles\\Fran\u00E7oise\\AppData\\Roaming");
  EXPECT_EQ(Win32SettingsFolder(), "D:\\Profiles\\Fran\xC3\xA7oise\\AppData\\Roaming\\Kadeno");
  SetEnvironmentVariableW(L"APPDATA", had ? old : nullptr);
  EXPECT_TRUE(Win32FileExists(Win32ProgramFolder() + "\\test_win32.exe")) << Win32ProgramFolder();
}

}  // namespace
}  // namespace kadeno
