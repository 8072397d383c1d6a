// The registry module on a real registry stand-in: paths, round trips, deletes, listing
// and the pending-error record.
#include <gtest/gtest.h>

#include <climits>

#include "RegistryFixture.h"
#include "registry/RegistryAccess.h"
#include "support/FakeWindow.h"

namespace kadeno::test {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno";

struct RegistryAccessTest : ::testing::Test {
  TempRegistry temp;
  FakeWindow window;
  RegistryAccess access{*temp.registry, window};

  // The value's type and bytes as the registry holds them.
  std::pair<uint32_t, std::vector<uint8_t>> Stored(const std::string& path,
                                                   const std::string& name) {
    RegKey key = 0;
    uint32_t type = 0, size = 0;
    std::vector<uint8_t> data(64);
    EXPECT_EQ(
        temp.registry->OpenKey(access.RootKeyHandle(path), SubKeyPath(path), RegAccess::Read, key),
        0);
    EXPECT_EQ(temp.registry->QueryValue(key, name, type, &data, size), 0);
    temp.registry->CloseKey(key);
    return {type, data};
  }
  bool KeyExists(const std::string& path) {
    RegKey key = 0;
    const bool found = temp.registry->OpenKey(access.RootKeyHandle(path), SubKeyPath(path),
                                              RegAccess::Read, key) == 0;
    temp.registry->CloseKey(key);
    return found;
  }
};

TEST_F(RegistryAccessTest, RootsInEverySpellingAndSubKeyPaths) {
  struct Case {
    std::string path;
    RegKey root;
    std::string subKey;
  };
  const Case cases[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\X", 0x80000002, "SOFTWARE\\X"},
      {"hkey_local_machine\\SOFTWARE", 0x80000002, "SOFTWARE"},
      {"HKLM\\SOFTWARE", 0x80000002, "SOFTWARE"},
      {"\\hklm\\SOFTWARE", 0x80000002, "SOFTWARE"},
      {"\\HKEY_CURRENT_USER", 0x80000001, ""},
      {"HKCU\\", 0x80000001, ""},
      {"HkCr", 0x80000000, ""},
      {"HKEY_USERS\\.DEFAULT", 0x80000003, ".DEFAULT"},
      {"hkdd\\a\\b", 0x80000006, "a\\b"},
      {"HKEY_CURRENT_CONFIG\\System", 0x80000005, "System"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(access.RootKeyHandle(c.path), c.root);
    EXPECT_EQ(SubKeyPath(c.path), c.subKey);
    EXPECT_EQ(access.PendingError().number, 0);
  }
  EXPECT_EQ(WithTrailingBackslash("HKLM\\A"), "HKLM\\A\\");
  EXPECT_EQ(WithTrailingBackslash("HKLM\\A\\"), "HKLM\\A\\");

  for (const std::string bad : {"", "\\", "HKEY_LOCAL", "HKPD\\x", "SOFTWARE\\HKLM"}) {
    SCOPED_TRACE(bad);
    access.CheckRegistryResult(0);
    EXPECT_EQ(access.RootKeyHandle(bad), 0u);
    EXPECT_EQ(access.PendingError(), (RegistryError{-2147221502, "Registry", "Invalid Key root."}));
    // Nothing is written under an unknown root.
    EXPECT_FALSE(access.WriteRegistryValue(bad, "v", std::string("x")));
  }
  EXPECT_EQ(temp.registry->Keys(), EmptyRegistryKeys());
}

TEST_F(RegistryAccessTest, ValuesSurviveAWriteAndARead) {
  using Bytes = std::vector<uint8_t>;
  struct Case {
    RegistryValue written;
    uint32_t type;
    uint32_t storedType;
    Bytes stored;
    RegistryValue read;
  };
  const Case cases[] = {
      {std::string("Kadeno.exe"),
       0,
       1,
       {'K', 'a', 'd', 'e', 'n', 'o', '.', 'e', 'x', 'e', 0},
       std::string("Kadeno.exe")},
      {std::string("a\\\"b"), 1, 1, {'a', '\\', '"', 'b', 0}, std::string("a\\\"b")},
      {std::string(), 0, 1, {0}, std::string()},
      {std::monostate{}, 0, 1, {0}, std::string()},
      {42, 0, 4, {0x2a, 0, 0, 0}, 42},
      {0x12345678, 4, 4, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
      {INT_MAX, 0, 4, {0xff, 0xff, 0xff, 0x7f}, INT_MAX},
      // The most significant byte at 128 or more reads back as the same negative number.
      {-1, 0, 4, {0xff, 0xff, 0xff, 0xff}, -1},
      {INT_MIN, 0, 4, {0, 0, 0, 0x80}, INT_MIN},
      {-42, 1, 1, {'-', '4', '2', 0}, std::string("-42")},
      {Bytes{1, 2, 255}, 0, 3, {1, 2, 255}, Bytes{1, 2, 255}},
      {Bytes{}, 3, 3, {}, std::monostate{}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string name = std::to_string(n++);
    SCOPED_TRACE(name);
    EXPECT_TRUE(access.WriteRegistryValue(kKey, name, c.written, c.type));
    EXPECT_EQ(access.PendingError().number, 0);
    EXPECT_EQ(Stored(kKey, name), std::make_pair(c.storedType, c.stored));
    EXPECT_EQ(access.ReadRegistryValue("hklm\\software\\quenloft\\kadeno", name), c.read);
  }
  EXPECT_EQ(temp.registry->OpenHandles(), 0u);
}

TEST_F(RegistryAccessTest, UnstorableValuesLeaveTheRegistryAsItWas) {
  struct Case {
    RegistryValue value;
    uint32_t type;
    RegistryError error;
  };
  const RegistryError noType{-2147221500, "Registry [Let ValueOf]",
                             "Type passed doesn't exist. Use STRING, DWORD or BINARY."};
  const RegistryError mismatch{-2147221501, "Registry [Let ValueOf]",
                               "Type passed doesn't match Value passed."};
  const Case cases[] = {
      {std::string("x"), 2, noType},          {42, 7, noType},  {std::string("42"), 4, mismatch},
      {std::vector<uint8_t>{1}, 1, mismatch}, {7, 3, mismatch},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(access.WriteRegistryValue(kKey + "\\New", "v", c.value, c.type));
    EXPECT_EQ(access.PendingError(), c.error);
    EXPECT_FALSE(KeyExists(kKey));
  }
}

TEST_F(RegistryAccessTest, MissingValuesGiveTheDefaultOrEmpty) {
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "there", 1));
  const RegistryError missing{2, "Registry[API Call]", "Key/Value does not exist."};
  struct Case {
    std::string path, name;
    std::optional<RegistryValue> defaultValue;
    RegistryValue result;
    RegistryError pending;
  };
  const Case cases[] = {
      {kKey, "absent", std::string("dflt"), std::string("dflt"), {}},
      {kKey, "absent", 5, 5, {}},
      {kKey + "\\Nowhere", "there", std::string("dflt"), std::string("dflt"), {}},
      {kKey, "absent", std::nullopt, std::monostate{}, missing},
      {kKey + "\\Nowhere", "there", std::nullopt, std::monostate{}, missing},
      {kKey, "THERE", std::nullopt, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " " + c.name);
    access.CheckRegistryResult(0);
    EXPECT_EQ(access.ReadRegistryValue(c.path, c.name, c.defaultValue), c.result);
    EXPECT_EQ(access.PendingError(), c.pending);
  }
  EXPECT_EQ(temp.registry->OpenHandles(), 0u);
}

TEST_F(RegistryAccessTest, DeletingOneValueOrAWholeTreeDeepestFirst) {
  RecordingRegistry recording(*temp.registry);
  RegistryAccess logged(recording, window);
  for (const std::string sub : {"", "\\B", "\\A\\A2", "\\A\\A1\\Deep", "\\A"}) {
    ASSERT_TRUE(access.WriteRegistryValue(kKey + sub, "v", std::string("x")));
  }
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "w", 2));
  ASSERT_TRUE(access.WriteRegistryValue("HKLM\\SOFTWARE\\Quenloft\\Kadeno2", "v", 3));

  EXPECT_TRUE(logged.DeleteRegistryKey(kKey, std::string("w")));
  EXPECT_EQ(recording.changes, std::vector<std::string>{"delete SOFTWARE\\Quenloft\\Kadeno : w"});
  EXPECT_EQ(access.ReadRegistryValue(kKey, "v"), RegistryValue(std::string("x")));
  EXPECT_TRUE(KeyExists(kKey + "\\A\\A1\\Deep"));

  recording.changes.clear();
  EXPECT_TRUE(logged.DeleteRegistryKey(kKey));
  const std::string k = "SOFTWARE\\Quenloft\\Kadeno";
  EXPECT_EQ(recording.changes, (std::vector<std::string>{
                                   "delete " + k + "\\A\\A1\\Deep",
                                   "delete " + k + "\\A\\A1",
                                   "delete " + k + "\\A\\A2",
                                   "delete " + k + "\\A",
                                   "delete " + k + "\\B",
                                   "delete " + k,
                               }));
  EXPECT_FALSE(KeyExists(kKey));
  EXPECT_TRUE(KeyExists("HKLM\\SOFTWARE\\Quenloft"));
  EXPECT_EQ(access.ReadRegistryValue("HKLM\\SOFTWARE\\Quenloft\\Kadeno2", "v"), RegistryValue(3));
  EXPECT_EQ(temp.registry->OpenHandles(), 0u);

  // Gone already: the failure is pending, nothing else happens.
  EXPECT_FALSE(logged.DeleteRegistryKey(kKey));
  EXPECT_EQ(logged.PendingError().number, 2);
  EXPECT_FALSE(logged.DeleteRegistryKey("HKLM\\SOFTWARE\\Quenloft\\Kadeno2", std::string("no")));
  EXPECT_EQ(logged.PendingError().description, "Key/Value does not exist.");

  // A path that names only a root would empty it: refused before anything is touched.
  recording.changes.clear();
  EXPECT_FALSE(logged.DeleteRegistryKey("HKLM\\"));
  EXPECT_EQ(logged.PendingError().number, 5);
  EXPECT_TRUE(recording.changes.empty());
  EXPECT_TRUE(KeyExists("HKLM\\SOFTWARE\\Quenloft\\Kadeno2"));
}

TEST_F(RegistryAccessTest, ListingTheValuesOfAKey) {
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "", std::string("default")));
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "Level", 3));
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "Raw", std::vector<uint8_t>{9, 8}));
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "Blank", std::vector<uint8_t>{}));
  ASSERT_TRUE(access.WriteRegistryValue(kKey + "\\Sub", "Hidden", 1));
  EXPECT_EQ(access.EnumRegistryValues("HKLM\\SOFTWARE\\Quenloft\\Kadeno\\"),
            (std::vector<RegistryEntry>{{"", std::string("default")},
                                        {"Level", 3},
                                        {"Raw", RegistryBytes{9, 8}},
                                        {"Blank", std::monostate{}}}));
  EXPECT_TRUE(access.EnumRegistryValues(kKey + "\\Sub\\None").empty());
  EXPECT_EQ(access.PendingError().number, 2);
  EXPECT_TRUE(access.EnumRegistryValues("HKLM\\SOFTWARE").empty());
  EXPECT_EQ(access.PendingError().number, 0);
  EXPECT_EQ(temp.registry->OpenHandles(), 0u);
}

TEST_F(RegistryAccessTest, ThePendingErrorIsShownOnceThenCleared) {
  access.ShowPendingError();
  EXPECT_TRUE(window.boxes.empty());

  const std::pair<int32_t, std::string> results[] = {
      {2, "Key/Value does not exist."},
      {5, "Access to Registry Denied."},
      {14, "Out of memory."},
      {87, "Invalid Parameter."},
      {1009, "Corrupt Registry Database!"},
      {1010, "Key name is bad."},
      {1011, "Cannot Open Key."},
      {1012, "Cannot Read Key."},
      {1013, "Cannot Write Key."},
      {6, "Undefined key error code!"},
      {259, "Undefined key error code!"},
  };
  for (const auto& [result, description] : results) {
    access.CheckRegistryResult(result);
    EXPECT_EQ(access.PendingError(), (RegistryError{result, "Registry[API Call]", description}));
  }
  access.RaiseRegistryError(1);
  EXPECT_EQ(access.PendingError(), (RegistryError{-2147221503, "Registry", "No current Key."}));

  window.Reply(Answer::Ok, "No current Key.");
  access.ShowPendingError();
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].prompt, "No current Key.");
  EXPECT_EQ(window.boxes[0].style, Box::Ok);
  EXPECT_EQ(window.boxes[0].title, std::nullopt);
  EXPECT_EQ(access.PendingError(), RegistryError{});
  access.ShowPendingError();
  EXPECT_EQ(window.boxes.size(), 1u);
}

}  // namespace
}  // namespace kadeno::test
