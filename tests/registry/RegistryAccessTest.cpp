// The registry module on the registry file: paths, round trips, deletes, listing and the
// pending-error record.
#include <gtest/gtest.h>

#include <climits>

#include "RegistryFixture.h"

namespace kadeno::test {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno";
using Bytes = std::vector<uint8_t>;

struct RegistryAccessTest : ::testing::Test {
  TempRegistry temp;
  FakeWindow window;
  RegistryAccess access{*temp.registry, window};
  bool KeyExists(const std::string& fullPath) { return temp.registry->Keys().count(fullPath); }
};

TEST_F(RegistryAccessTest, RootsInEverySpellingAndSubKeyPaths) {
  struct Case {
    std::string path;
    RegKey root;
    std::string subKey;
  };
  const Case cases[] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\X", 0x80000002, "SOFTWARE\\X"},
      {"HKLM\\SOFTWARE", 0x80000002, "SOFTWARE"},
      {"\\hklm\\SOFTWARE", 0x80000002, "SOFTWARE"},
      {"\\HKEY_CURRENT_USER", 0x80000001, ""},
      {"HKCU\\", 0x80000001, ""},
      {"HkCr", 0x80000000, ""},
      {"hku", 0x80000003, ""},
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
    EXPECT_FALSE(access.WriteRegistryValue(bad, "v", std::string("x")));
    EXPECT_EQ(access.PendingError(), (RegistryError{-2147221502, "Registry", "Invalid Key root."}));
  }
  EXPECT_EQ(temp.registry->opened, 0);
}

TEST_F(RegistryAccessTest, ValuesSurviveAWriteAndARead) {
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
      {std::monostate{}, 0, 1, {0}, std::string()},
      {42, 0, 4, {0x2a, 0, 0, 0}, 42},
      {INT_MAX, 0, 4, {0xff, 0xff, 0xff, 0x7f}, INT_MAX},
      // A most significant byte of 128 or more reads back as the same negative number.
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
    EXPECT_EQ(temp.registry->Keys().at(kKey).back(), (StoredValue{name, c.storedType, c.stored}));
    EXPECT_EQ(access.ReadRegistryValue("hklm\\software\\quenloft\\kadeno", name), c.read);
  }
  EXPECT_EQ(temp.registry->OpenHandles(), 0u);
}

TEST_F(RegistryAccessTest, UnstorableValuesLeaveTheRegistryAsItWas) {
  const std::tuple<RegistryValue, uint32_t, int32_t, std::string> cases[] = {
      {std::string("x"), 2, -2147221500, "Type passed doesn't exist. Use STRING, DWORD or BINARY."},
      {std::string("42"), 4, -2147221501, "Type passed doesn't match Value passed."},
      {7, 3, -2147221501, "Type passed doesn't match Value passed."},
  };
  for (const auto& [value, type, number, description] : cases) {
    EXPECT_FALSE(access.WriteRegistryValue(kKey + "\\New", "v", value, type));
    EXPECT_EQ(access.PendingError(),
              (RegistryError{number, "Registry [Let ValueOf]", description}));
  }
  EXPECT_EQ(temp.registry->opened, 0);
  EXPECT_FALSE(KeyExists(kKey));
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
  for (const std::string sub : {"", "\\B", "\\A\\A2", "\\A\\A1\\Deep", "\\A"}) {
    ASSERT_TRUE(access.WriteRegistryValue(kKey + sub, "v", std::string("x")));
  }
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "w", 2));
  ASSERT_TRUE(access.WriteRegistryValue(kKey + "2", "v", 3));
  auto& changes = temp.registry->changes;

  changes.clear();
  EXPECT_TRUE(access.DeleteRegistryKey(kKey, std::string("w")));
  EXPECT_EQ(changes, std::vector<std::string>{"delete SOFTWARE\\Quenloft\\Kadeno : w"});
  EXPECT_EQ(access.ReadRegistryValue(kKey, "v"), RegistryValue(std::string("x")));

  changes.clear();
  EXPECT_TRUE(access.DeleteRegistryKey(kKey));
  const std::string k = "delete SOFTWARE\\Quenloft\\Kadeno";
  EXPECT_EQ(changes, (std::vector<std::string>{k + "\\A\\A1\\Deep", k + "\\A\\A1", k + "\\A\\A2",
                                               k + "\\A", k + "\\B", k}));
  EXPECT_FALSE(KeyExists(kKey));
  EXPECT_EQ(access.ReadRegistryValue(kKey + "2", "v"), RegistryValue(3));
  EXPECT_EQ(temp.registry->OpenHandles(), 0u);

  // Gone already: the failure is pending, nothing else happens.
  EXPECT_FALSE(access.DeleteRegistryKey(kKey));
  EXPECT_EQ(access.PendingError().number, 2);
  EXPECT_FALSE(access.DeleteRegistryKey(kKey + "2", std::string("no")));
  EXPECT_EQ(access.PendingError().description, "Key/Value does not exist.");

  // A path that names only a root would empty it: refused before anything is touched.
  changes.clear();
  EXPECT_FALSE(access.DeleteRegistryKey("HKLM\\"));
  EXPECT_EQ(access.PendingError().number, 5);
  EXPECT_TRUE(changes.empty());
}

TEST_F(RegistryAccessTest, ListingTheValuesOfAKey) {
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "", std::string("default")));
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "Level", 3));
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "Raw", Bytes{9, 8}));
  ASSERT_TRUE(access.WriteRegistryValue(kKey, "Blank", Bytes{}));
  ASSERT_TRUE(access.WriteRegistryValue(kKey + "\\Sub", "Hidden", 1));
  EXPECT_EQ(access.EnumRegistryValues("HKLM\\SOFTWARE\\Quenloft\\Kadeno\\"),
            (std::vector<RegistryEntry>{{"", std::string("default")},
                                        {"Level", 3},
                                        {"Raw", Bytes{9, 8}},
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
  access.CheckRegistryResult(6);
  EXPECT_EQ(access.PendingError(),
            (RegistryError{6, "Registry[API Call]", "Undefined key error code!"}));
  access.RaiseRegistryError(1);
  EXPECT_EQ(access.PendingError(), (RegistryError{-2147221503, "Registry", "No current Key."}));

  window.Reply(Answer::Ok, "No current Key.");
  access.ShowPendingError();
  access.ShowPendingError();
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].style, Box::Ok);
  EXPECT_EQ(window.boxes[0].title, std::nullopt);
  EXPECT_EQ(access.PendingError(), RegistryError{});
}

}  // namespace
}  // namespace kadeno::test
