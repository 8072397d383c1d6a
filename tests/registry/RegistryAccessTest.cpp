// The registry module: roots, round trips, missing values, deletes, and the file itself.
#include <climits>

#include "RegistryFixture.h"

#ifndef _WIN32
#include "posix/PosixFiles.h"
#endif

namespace kadeno::test {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno";
using Bytes = std::vector<uint8_t>;

TEST_F(RegistryTest, RootsInEverySpelling) {
  const std::tuple<std::string, RegKey, std::string> cases[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\X", 0x80000002, "SOFTWARE\\X"},
      {"\\hklm\\SOFTWARE", 0x80000002, "SOFTWARE"},
      {"\\HKEY_CURRENT_USER", 0x80000001, ""},
      {"HKCU\\", 0x80000001, ""},
      {"HkCr", 0x80000000, ""},
      {"hku", 0x80000003, ""},
      {"hkdd\\a\\b", 0x80000006, "a\\b"},
      {"HKEY_CURRENT_CONFIG\\System", 0x80000005, "System"},
  };
  for (const auto& [path, root, sub] : cases) {
    EXPECT_EQ(access.RootKeyHandle(path), root) << path;
    EXPECT_EQ(SubKeyPath(path), sub) << path;
  }
  for (const std::string bad : {"", "\\", "HKEY_LOCAL", "HKPD\\x", "SOFTWARE\\HKLM"}) {
    EXPECT_FALSE(access.WriteRegistryValue(bad, "v", std::string("x"))) << bad;
    EXPECT_EQ(access.PendingError(), (RegistryError{-2147221502, "Registry", "Invalid Key root."}));
    access.CheckRegistryResult(0);
  }
  EXPECT_TRUE(reg.changes.empty());
}

TEST_F(RegistryTest, TextDwordAndBinaryValuesSurviveAWriteAndARead) {
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
    const std::string name = std::to_string(listing.size());
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
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(RegistryTest, MissingValuesGiveTheDefaultOrEmpty) {
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "there", 1));
  EXPECT_EQ(access.ReadRegistryValue(kKey, "THERE"), RegistryValue(1));
  EXPECT_EQ(access.ReadRegistryValue(kKey, "absent", std::string("d")),
            RegistryValue(std::string("d")));
  EXPECT_EQ(access.ReadRegistryValue(kKey + "\\Nowhere", "there", 5), RegistryValue(5));
  EXPECT_EQ(access.PendingError(), RegistryError{});
  for (const std::string& key : {kKey, kKey + "\\Nowhere"}) {
    access.CheckRegistryResult(0);
    EXPECT_EQ(access.ReadRegistryValue(key, "absent"), RegistryValue{}) << key;
    EXPECT_EQ(access.PendingError(),
              (RegistryError{2, "Registry[API Call]", "Key/Value does not exist."}));
  }
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST_F(RegistryTest, DeletingOneValueOrAWholeTreeDeepestFirst) {
  for (const std::string sub : {"", "\\B", "\\A\\A2", "\\A\\A1\\Deep", "\\A"})
    ASSERT_TRUE(access.WriteRegistryValue(kKey + sub, "v", std::string("x")));
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "w", 2));
  ASSERT_TRUE(access.WriteRegistryValue(kKey + "2", "v", 3));
  reg.changes.clear();
  EXPECT_TRUE(access.DeleteRegistryKey(kKey, std::string("w")));
  EXPECT_EQ(reg.changes, std::vector<std::string>{"values " + kKey});
  EXPECT_EQ(access.ReadRegistryValue(kKey, "v"), RegistryValue(std::string("x")));
  reg.changes.clear();
  EXPECT_TRUE(access.DeleteRegistryKey(kKey));
  const std::string k = "delete " + kKey;
  EXPECT_EQ(reg.changes, (std::vector<std::string>{k + "\\A\\A1\\Deep", k + "\\A\\A1",
                                                   k + "\\A\\A2", k + "\\A", k + "\\B", k}));
  EXPECT_EQ(access.ReadRegistryValue(kKey + "2", "v"), RegistryValue(3));
  EXPECT_FALSE(access.DeleteRegistryKey(kKey));  // gone already
  EXPECT_EQ(access.PendingError().number, 2);
  // A path that names only a root would empty it: refused before anything is touched.
  EXPECT_FALSE(access.DeleteRegistryKey("HKLM\\"));
  EXPECT_EQ(access.PendingError().number, 5);
  EXPECT_EQ(reg.changes.size(), 6u);
  EXPECT_EQ(reg.OpenHandles(), 0u);
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
  EXPECT_EQ(reg.Problem(), "line 3: a dword needs one to eight hex digits");
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
  // Each failure passed over without a box is still said on stderr.
  EXPECT_EQ(window.problems.size(), 3u);
  EXPECT_EQ(window.problems.back(),
            "registry: Corrupt Registry Database! (Registry[API Call], error 1009)");
  // Nor is anything changed when the file cannot be written.
  ASSERT_TRUE(PosixWriteFileAtomically(folder + "/blocked", "x"));  // a file, not a folder
  FileRegistry blocked(folder + "/blocked/registry.reg");
  EXPECT_FALSE(RegistryAccess(blocked, window).WriteRegistryValue("HKLM\\A", "v", 1));
  EXPECT_EQ(blocked.Keys(), EmptyRegistryKeys());
}

#endif

}  // namespace
}  // namespace kadeno::test
