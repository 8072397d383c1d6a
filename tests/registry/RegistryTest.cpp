// The registry in memory and in its file, the registry module, and Program > Uninstall Kadeno.
#include <gtest/gtest.h>

#include "registry/RegistryAccess.h"
#include "registry/RegistryText.h"
#include "support/Harness.h"

#ifndef _WIN32
#include "posix/FileRegistry.h"
#include "posix/PosixFiles.h"
#include "support/TempFolder.h"
#endif

namespace kadeno::test {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno";

TEST(MemoryRegistry, AnswersWithWindowsResults) {
  MemoryRegistry reg;
  RegKey sub = 0, reader = 0;
  ASSERT_EQ(reg.CreateKey(0x80000002, "Software\\App\\Sub\\", RegAccess::All, sub), 0);
  ASSERT_EQ(reg.OpenKey(0x80000002, "software\\APP", RegAccess::Read, reader), 0);
  EXPECT_EQ(reg.SetValue(reader, "v", 1, {0}), 5);
  EXPECT_EQ(reg.DeleteKey(0x80000002, "Software\\App"), 5);  // it has a sub-key
  std::string name, cls;
  EXPECT_EQ(reg.EnumKey(reader, 0, 3, 1, name, cls), 234);  // no room for the zero
  EXPECT_EQ(reg.DeleteKey(sub, ""), 0);
  EXPECT_EQ(reg.SetValue(sub, "v", 1, {0}), 1018);
}

TEST(RegistryText, ReadsWhatCarefulHandsWriteAndWritesItBackTheSame) {
  const std::string text =
      "\xEF\xBB\xBF\r\nREGEDIT4\r\n; by hand\n\n[hklm\\SOFTWARE\\K]\n  @ = \"C:\\Games\"  \r\n"
      "\"Q\\\"d\"=\"b\\\\s\"\n\"Level\"=DWORD:2a\n\"Bytes\"=hex:01, 2,\\\n    ff\n"
      "\"short\"=hex(4):01,02\n\"nozero\"=hex(1):61\n\"level\"=dword:ffffffff\n"
      "[HKEY_CURRENT_USER\\a\\b]\n[HKCU\\A\\c]\n";
  RegistryKeys keys, again;
  ASSERT_FALSE(ParseRegistryText(text, keys));
  EXPECT_EQ(FormatRegistryText(keys),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\a]\r\n\r\n[HKEY_CURRENT_USER\\a\\b]\r\n\r\n"
            "[HKEY_CURRENT_USER\\a\\c]\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\K]\r\n@=\"C:\\\\Games\"\r\n\"Q\\\"d\"=\"b\\\\s\"\r\n"
            "\"Level\"=dword:ffffffff\r\n\"Bytes\"=hex:01,02,ff\r\n\"short\"=hex(4):01,02\r\n"
            "\"nozero\"=hex(1):61\r\n");
  ASSERT_FALSE(ParseRegistryText(FormatRegistryText(keys), again));
  EXPECT_EQ(again, keys);
}

TEST(RegistryText, DamageIsReportedWithItsLine) {
  std::string deep = "REGEDIT4\n[HKLM", huge = deep;  // huge: some 23 MB of key paths
  for (int i = 0; i < 512; ++i) deep += "\\k";
  for (int i = 0; i < 300; ++i) huge += "\\" + std::string(255, 'k');
  RegistryKeys keys;
  const auto lineOf = [&](const std::string& text) {
    return ParseRegistryText(text, keys).value_or(RegistryTextProblem{}).line;
  };
  EXPECT_EQ(lineOf(deep + "]\n"), 0u);
  EXPECT_EQ(lineOf("REGEDIT5\n"), 1u);
  for (const std::string& bad :
       {std::string("\"v\"=\"x\""), std::string("[HKLM\\A"), std::string("[HKX]"),
        std::string("[HKLM\\A\\\\B]"), deep + "\\k]", huge + "]", std::string("[HKLM\\A\0B]", 10)})
    EXPECT_EQ(lineOf("REGEDIT4\n" + bad + "\n"), 2u) << bad.substr(0, 40);
  for (const char* bad : {"\"open", "-", "dword:123456789", "hex:100", "hex:01,\\"})
    EXPECT_EQ(lineOf(std::string("REGEDIT4\n[HKLM\\A]\n\"v\"=") + bad), 3u) << bad;
}

struct RegistryTest : ::testing::Test {
#ifndef _WIN32
  const TempFolder folder;
  FileRegistry reg{folder / "registry.reg"};
#else
  MemoryRegistry reg;
#endif
  FakeWindow window;
  RegistryAccess access{reg, window, window};
};

TEST_F(RegistryTest, RootsInEverySpelling) {
  // The roots in handle order from 0x80000000; performance data (4) is not one.
  const std::string roots[] = {"HkCr", "HKEY_CURRENT_USER", "\\hklm", "hku", "", "HKCC", "hkdd"};
  for (RegKey i = 0; i < 7; ++i)
    EXPECT_EQ(access.RootKeyHandle(roots[i] + "\\x"), roots[i].empty() ? 0 : 0x80000000 + i) << i;
  for (const std::string bad : {"\\", "HKEY_LOCAL", "HKPD\\x", "SOFTWARE\\HKLM"})
    EXPECT_EQ(access.RootKeyHandle(bad), 0u) << bad;
  EXPECT_EQ(SubKeyPath("\\hklm\\SOFTWARE\\X"), "SOFTWARE\\X");
  EXPECT_FALSE(access.WriteRegistryValue("HKPD\\x", "v", 1));
  EXPECT_EQ(access.PendingError(), (RegistryError{-2147221502, "Registry", "Invalid Key root."}));
  EXPECT_EQ(reg.Keys(), EmptyRegistryKeys());
}

TEST_F(RegistryTest, ValuesGoInComeOutAndGo) {
  // {written, type asked for, type stored, bytes stored, read back}
  const std::tuple<RegistryValue, uint32_t, uint32_t, RegistryBytes, RegistryValue> cases[] = {
      {std::string("a\\\"b"), 1, 1, {'a', '\\', '"', 'b', 0}, std::string("a\\\"b")},
      {std::monostate{}, 0, 1, {0}, std::string()},
      {-16909061, 0, 4, {0xfb, 0xfc, 0xfd, 0xfe}, -16909061},
      {INT32_MIN, 0, 4, {0, 0, 0, 0x80}, INT32_MIN},
      {-42, 1, 1, {'-', '4', '2', 0}, std::string("-42")},
      {RegistryBytes{1, 2, 255}, 0, 3, {1, 2, 255}, RegistryBytes{1, 2, 255}},
      {RegistryBytes{}, 3, 3, {}, std::monostate{}}};
  std::vector<RegistryEntry> listing;
  for (const auto& [written, type, storedType, stored, read] : cases) {
    const std::string name = "N" + std::to_string(listing.size());
    EXPECT_TRUE(access.WriteRegistryValue(kKey, name, written, type)) << name;
    EXPECT_EQ(reg.Keys().at(kKey).back(), (StoredValue{name, storedType, stored})) << name;
    EXPECT_EQ(access.ReadRegistryValue("hklm\\software\\quenloft\\kadeno", name), read) << name;
    listing.push_back({name, read});
  }
  ASSERT_TRUE(access.WriteRegistryValue(kKey + "\\Sub", "Hidden", 1));
  EXPECT_TRUE(access.DeleteRegistryKey(kKey, std::string("n0")));  // names in any case
  listing.erase(listing.begin());
  EXPECT_EQ(access.EnumRegistryValues("HKLM\\SOFTWARE\\Quenloft\\Kadeno\\"), listing);
  EXPECT_FALSE(access.WriteRegistryValue(kKey + "\\New", "v", std::string("x"), 2));
  EXPECT_FALSE(access.WriteRegistryValue(kKey + "\\New", "v", std::string("42"), 4));
  EXPECT_FALSE(access.WriteRegistryValue(kKey + "\\New", "v", 7, 3));
  EXPECT_FALSE(reg.Keys().count(kKey + "\\New"));              // not even the key
  for (const std::string& key : {kKey, kKey + "\\Nowhere"}) {  // a default: no error
    access.CheckRegistryResult(0);
    EXPECT_EQ(access.ReadRegistryValue(key, "absent", 5), RegistryValue(5));
    EXPECT_EQ(access.PendingError().number, 0);
    EXPECT_EQ(access.ReadRegistryValue(key, "absent"), RegistryValue{});
    EXPECT_EQ(access.PendingError().number, 2) << key;
  }
  const RegistryKeys before = reg.Keys();
  EXPECT_FALSE(access.DeleteRegistryKey("HKLM\\"));  // a root is never emptied
  EXPECT_EQ(std::pair(access.PendingError().number, reg.Keys()), std::pair(5, before));
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(RegistryTest, CleanUpRemovesTheTwoEntriesOnlyAfterAYesAndEveryTime) {
  const std::string run = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  ASSERT_TRUE(access.WriteRegistryValue(run, "Other", std::string("other.exe")));
  ASSERT_TRUE(access.WriteRegistryValue(run, "Kadeno", std::string("C:\\Kadeno.exe")));
  for (const std::string sub : {"\\B", "\\A\\A2", "\\A\\A1\\Deep", "\\A", "2"})
    ASSERT_TRUE(access.WriteRegistryValue(kKey + sub, "v", 1));  // a tree: the deepest go first
  const RegistryKeys before = reg.Keys();
  Harness h;
  h.form.SetRegistry(&access, Removal::PackageManager);
  h.window.lenientBoxes = true;  // OK, and No to the question; OK after the Yes below
  h.form.mnuProgramUninstallKadeno_Click();
  EXPECT_EQ(std::pair(h.window.boxes.at(1).style, reg.Keys()), std::pair(Box::YesNo, before));
  for (int i = 0; i < 2; ++i) {  // the second time finds neither entry
    h.window.Reply(Answer::Ok);
    h.window.Reply(Answer::Yes, "Do you really want to remove and uninstall Kadeno?");
    EXPECT_THROW(h.form.mnuProgramUninstallKadeno_Click(), ProgramEnded);
    EXPECT_EQ(access.EnumRegistryValues(run), (std::vector<RegistryEntry>{{"Other", "other.exe"}}));
    EXPECT_EQ(RegistrySubKeyNames(reg.Keys(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft"),
              std::vector<std::string>{"Kadeno2"});
  }
  EXPECT_EQ(h.window.writes, 0);  // the way out skips the closing handlers' save
}

#ifndef _WIN32
TEST_F(RegistryTest, TheFileIsReadAfreshAndNeverDamagedFurther) {
  ASSERT_TRUE(access.WriteRegistryValue("HKLM\\K", "Path", std::string("C:\\Kadeno")));
  EXPECT_EQ(PosixReadFile(reg.Path()),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"Path\"=\"C:\\\\Kadeno\"\r\n");

  const std::string damaged = "REGEDIT4\n[HKLM\\A]\n\"v\"=dword:xyz\n\"w\"=\"kept\"\n";
  ASSERT_TRUE(PosixWriteFileAtomically(reg.Path(), damaged));
  testing::internal::CaptureStderr();
  EXPECT_EQ(access.ReadRegistryValue("HKLM\\A", "w"), RegistryValue{});
  EXPECT_FALSE(access.WriteRegistryValue("HKLM\\A", "x", 1));
  EXPECT_FALSE(access.DeleteRegistryKey("HKLM\\A"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),  // once, not at every call
            "kadeno: the registry file " + reg.Path() +
                " cannot be read, line 3: a dword needs one to eight hex digits\n");
  EXPECT_EQ(PosixReadFile(reg.Path()), damaged);
  window.Reply(Answer::Ok, "Corrupt Registry Database!");
  access.ShowPendingError();
  access.ShowPendingError();  // shown once: a second box would find no answer
  const std::string said = "registry: Corrupt Registry Database! (Registry[API Call], error 1009)";
  EXPECT_EQ(window.problems, std::vector<std::string>(3, said));   // each failure, box or not
  ASSERT_TRUE(PosixWriteFileAtomically(folder / "blocked", "x"));  // in the folder's place
  FileRegistry blocked(folder / "blocked/registry.reg");
  EXPECT_FALSE(RegistryAccess(blocked, window, window).WriteRegistryValue("HKLM\\A", "v", 1));
  EXPECT_EQ(blocked.Keys(), EmptyRegistryKeys());
}
#endif

}  // namespace
}  // namespace kadeno::test
