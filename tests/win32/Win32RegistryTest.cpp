// The registry module and the clean-up command on the Windows registry itself (under
// Wine in CI, in a registry of its own).
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>

#include "registry/RegistryAccess.h"
#include "support/Harness.h"
#include "win32/Win32Api.h"

namespace kadeno {
namespace {

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

TEST(Win32Registry, CleanUpRemovesKadenosEntriesAndNothingElse) {
  Win32Registry api;
  test::Harness h;
  RegistryAccess access(api, h.window, h.window);
  h.form.SetRegistry(&access, Removal::AddRemovePrograms);
  const std::string run = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string program = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno";
  ASSERT_TRUE(access.WriteRegistryValue(run, "KadenoTestNeighbour", std::string("other.exe")));
  ASSERT_TRUE(access.WriteRegistryValue(run, "Kadeno", std::string("C:\\Kadeno.exe")));
  ASSERT_TRUE(access.WriteRegistryValue(program + "\\Scores\\Old", "v", 1));
  ASSERT_TRUE(access.WriteRegistryValue(program + "2", "v", 4));
  // Twice: the second run finds neither entry and must leave none behind. The boxes'
  // words, the same whatever the registry does, are the transcript's.
  for (int run_ = 0; run_ < 2; ++run_) {
    h.window.Reply(Answer::Ok);
    h.window.Reply(Answer::Yes, "Do you really want to remove and uninstall Kadeno?");
    h.window.Reply(Answer::Ok);
    EXPECT_THROW(h.form.mnuProgramUninstallKadeno_Click(), test::ProgramEnded);
    EXPECT_EQ(h.window.PendingReplies(), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quenloft\\Kadeno"));
    EXPECT_EQ(access.ReadRegistryValue(run, "Kadeno", std::string("gone")),
              RegistryValue(std::string("gone")));
    EXPECT_EQ(access.ReadRegistryValue(run, "KadenoTestNeighbour"),
              RegistryValue(std::string("other.exe")));
    EXPECT_EQ(access.ReadRegistryValue(program + "2", "v"), RegistryValue(4));
  }
  access.DeleteRegistryKey(run, std::string("KadenoTestNeighbour"));
  access.DeleteRegistryKey(program + "2");
}

}  // namespace
}  // namespace kadeno
