// The registry module, and Program > Uninstall Kadeno, on a registry file in a fresh folder
// (in memory on Windows).
#include <gtest/gtest.h>

#include <climits>

#include "registry/MemoryRegistry.h"
#include "registry/RegistryAccess.h"
#include "support/Harness.h"

#ifndef _WIN32
#include <cstdlib>
#include <filesystem>

#include "posix/FileRegistry.h"
#include "posix/PosixFiles.h"
#endif

namespace kadeno::test {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno";
using Bytes = std::vector<uint8_t>;

struct RegistryTest : ::testing::Test {
#ifndef _WIN32
  std::string folder = [] {
    std::string p = (std::filesystem::temp_directory_path() / "kadeno-reg-XXXXXX").string();
    return ::mkdtemp(p.data()) ? p : std::string();
  }();
  FileRegistry reg{folder + "/registry.reg"};
  ~RegistryTest() override {
    std::error_code e;
    std::filesystem::remove_all(folder, e);
  }
#else
  MemoryRegistry reg;
#endif
  FakeWindow window;
  RegistryAccess access{reg, window};
};

TEST_F(RegistryTest, RootsInEverySpelling) {
  const std::tuple<std::string, RegKey, std::string> cases[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\X", 0x80000002, "SOFTWARE\\X"},
      {"\\hklm\\SOFTWARE", 0x80000002, "SOFTWARE"},
      {"\\HKEY_CURRENT_USER", 0x80000001, ""},
      {"HKCU\\", 0x80000001, ""},
      {"HkCr", 0x80000000, ""},
      {"hku", 0x80000003, ""},
      {"hkdd\\a\\b", 0x80000006, "a\\b"},
      {"HKEY_CURRENT_CONFIG\\System", 0x80000005, "System"}};
  for (const auto& [path, root, sub] : cases) {
    EXPECT_EQ(access.RootKeyHandle(path), root) << path;
    EXPECT_EQ(SubKeyPath(path), sub) << path;
  }
  for (const std::string bad : {"", "\\", "HKEY_LOCAL", "HKPD\\x", "SOFTWARE\\HKLM"}) {
    EXPECT_FALSE(access.WriteRegistryValue(bad, "v", std::string("x"))) << bad;
    EXPECT_EQ(access.PendingError(), (RegistryError{-2147221502, "Registry", "Invalid Key root."}));
    access.CheckRegistryResult(0);
  }
  EXPECT_EQ(reg.Keys(), EmptyRegistryKeys());
}

TEST_F(RegistryTest, ValuesSurviveAWriteAndAReadAndMissingOnesGiveTheDefault) {
  // {written, type asked for, type stored, bytes stored, read back}
  const std::tuple<RegistryValue, uint32_t, uint32_t, Bytes, RegistryValue> cases[] = {
      {std::string("a\\\"b"), 1, 1, {'a', '\\', '"', 'b', 0}, std::string("a\\\"b")},
      {std::monostate{}, 0, 1, {0}, std::string()},
      {-1, 0, 4, {0xff, 0xff, 0xff, 0xff}, -1},
      {INT_MIN, 0, 4, {0, 0, 0, 0x80}, INT_MIN},
      {-42, 1, 1, {'-', '4', '2', 0}, std::string("-42")},
      {Bytes{1, 2, 255}, 0, 3, {1, 2, 255}, Bytes{1, 2, 255}},
      {Bytes{}, 3, 3, {}, std::monostate{}},
  };
  std::vector<RegistryEntry> listing;
  for (const auto& [written, type, storedType, stored, read] : cases) {
    const std::string name = "N" + std::to_string(listing.size());
    EXPECT_TRUE(access.WriteRegistryValue(kKey, name, written, type)) << name;
    EXPECT_EQ(reg.Keys().at(kKey).back(), (StoredValue{name, storedType, stored})) << name;
    EXPECT_EQ(access.ReadRegistryValue("hklm\\software\\quenloft\\kadeno", name), read) << name;
    listing.push_back({name, read});
  }
  ASSERT_TRUE(access.WriteRegistryValue(kKey + "\\Sub", "Hidden", 1));
  EXPECT_EQ(access.EnumRegistryValues("HKLM\\SOFTWARE\\Quenloft\\Kadeno\\"), listing);
  // A value that cannot be stored as the type asked for changes nothing.
  EXPECT_FALSE(access.WriteRegistryValue(kKey + "\\New", "v", std::string("x"), 2));
  EXPECT_FALSE(access.WriteRegistryValue(kKey + "\\New", "v", std::string("42"), 4));
  EXPECT_FALSE(access.WriteRegistryValue(kKey + "\\New", "v", 7, 3));
  EXPECT_FALSE(reg.Keys().count(kKey + "\\New"));

  // A default says what a missing value means: no error is recorded; without one, it is.
  access.CheckRegistryResult(0);
  EXPECT_EQ(access.ReadRegistryValue(kKey, "n2", 0), RegistryValue(-1));  // names in any case
  EXPECT_EQ(access.ReadRegistryValue(kKey, "absent", std::string("d")), RegistryValue("d"));
  EXPECT_EQ(access.ReadRegistryValue(kKey + "\\Nowhere", "N0", 5), RegistryValue(5));
  EXPECT_EQ(access.PendingError(), RegistryError{});
  for (const std::string& key : {kKey, kKey + "\\Nowhere"}) {
    access.CheckRegistryResult(0);
    EXPECT_EQ(access.ReadRegistryValue(key, "absent"), RegistryValue{}) << key;
    EXPECT_EQ(access.PendingError(),
              (RegistryError{2, "Registry[API Call]", "Key/Value does not exist."}));
  }
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(RegistryTest, DeletingOneValueOrAWholeTree) {
  for (const std::string sub : {"", "\\B", "\\A\\A2", "\\A\\A1\\Deep", "\\A"})
    ASSERT_TRUE(access.WriteRegistryValue(kKey + sub, "v", std::string("x")));
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "w", 2));
  ASSERT_TRUE(access.WriteRegistryValue(kKey + "2", "v", 3));
  EXPECT_TRUE(access.DeleteRegistryKey(kKey, std::string("w")));
  EXPECT_EQ(access.EnumRegistryValues(kKey), (std::vector<RegistryEntry>{{"v", "x"}}));
  // The registry refuses to delete a key that has sub-keys: the deepest go first.
  EXPECT_TRUE(access.DeleteRegistryKey(kKey));
  EXPECT_EQ(RegistrySubKeyNames(reg.Keys(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft"),
            (std::vector<std::string>{"Kadeno2"}));
  EXPECT_FALSE(access.DeleteRegistryKey(kKey));  // gone already
  EXPECT_EQ(access.PendingError().number, 2);
  // A path that names only a root would empty it: refused before anything is touched.
  const RegistryKeys before = reg.Keys();
  EXPECT_FALSE(access.DeleteRegistryKey("HKLM\\"));
  EXPECT_EQ(access.PendingError().number, 5);
  EXPECT_EQ(reg.Keys(), before);
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(RegistryTest, CleanUpNoLeavesTheRegistryYesRemovesTheTwoEntriesEveryTime) {
  const std::string run = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  ASSERT_TRUE(access.WriteRegistryValue(run, "Other", std::string("other.exe")));
  ASSERT_TRUE(access.WriteRegistryValue(run, "Kadeno", std::string("C:\\Kadeno.exe")));
  ASSERT_TRUE(access.WriteRegistryValue(kKey + "\\Scores\\Old", "v", 1));
  const RegistryKeys before = reg.Keys();
  // The second Yes finds neither entry, and must not leave behind the value it writes.
  for (Answer answer : {Answer::No, Answer::Yes, Answer::Yes}) {
    Harness h;
    h.form.SetRegistry(&access);
    h.window.Reply(Answer::Ok, "To help reduce the 'Space-Garbage' that collects in your");
    h.window.Reply(answer, "Do you really want to remove and uninstall Kadeno?");
    h.window.Reply(Answer::Ok, answer == Answer::Yes ? "Kadeno Registry Keys Removed"
                                                     : "Clear Registry Operation Aborted");
    if (answer == Answer::Yes)
      EXPECT_THROW(h.form.mnuProgramUninstallKadeno_Click(), ProgramEnded);
    else
      h.form.mnuProgramUninstallKadeno_Click();
    // The way out skips the closing handlers, so no settings are written.
    EXPECT_EQ(std::pair(h.window.boxes.at(1).style, h.window.writes), std::pair(Box::YesNo, 0));
    if (answer == Answer::No) {
      EXPECT_EQ(reg.Keys(), before);
      continue;
    }
    EXPECT_EQ(access.EnumRegistryValues(run), (std::vector<RegistryEntry>{{"Other", "other.exe"}}));
    EXPECT_FALSE(reg.Keys().count(kKey));
  }
}

#ifndef _WIN32
TEST_F(RegistryTest, TheFileIsReadAfreshAndNeverDamagedFurther) {
  const std::string file = reg.Path();
  EXPECT_EQ(access.ReadRegistryValue("HKCU\\X", "v", 1), RegistryValue(1));
  EXPECT_FALSE(PosixFileExists(file));
  ASSERT_TRUE(access.WriteRegistryValue("HKLM\\K", "Path", std::string("C:\\Kadeno")));
  EXPECT_EQ(PosixReadFile(file),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"Path\"=\"C:\\\\Kadeno\"\r\n");

  const std::string damaged = "REGEDIT4\n[HKLM\\A]\n\"v\"=dword:xyz\n\"w\"=\"kept\"\n";
  ASSERT_TRUE(PosixWriteFileAtomically(file, damaged));
  testing::internal::CaptureStderr();
  EXPECT_EQ(access.ReadRegistryValue("HKLM\\A", "w"), RegistryValue{});
  EXPECT_FALSE(access.WriteRegistryValue("HKLM\\A", "x", 1));
  EXPECT_FALSE(access.DeleteRegistryKey("HKLM\\A"));
  // Said once on stderr, not at every operation that meets it.
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "kadeno: the registry file " + file +
                " cannot be read, line 3: a dword needs one to eight hex digits\n");
  EXPECT_EQ(PosixReadFile(file), damaged);
  window.Reply(Answer::Ok, "Corrupt Registry Database!");
  access.ShowPendingError();
  access.ShowPendingError();  // shown once
  EXPECT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.problems, std::vector<std::string>(3,
                                                      "registry: Corrupt Registry Database! "
                                                      "(Registry[API Call], error 1009)"));
  // Nor is anything changed when the file cannot be written.
  ASSERT_TRUE(PosixWriteFileAtomically(folder + "/blocked", "x"));  // a file, not a folder
  FileRegistry blocked(folder + "/blocked/registry.reg");
  EXPECT_FALSE(RegistryAccess(blocked, window).WriteRegistryValue("HKLM\\A", "v", 1));
  EXPECT_EQ(blocked.Keys(), EmptyRegistryKeys());
}
#endif

}  // namespace
}  // namespace kadeno::test
