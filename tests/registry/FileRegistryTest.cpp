// The registry file: read afresh, and left alone when it cannot be read or written.
#include <gtest/gtest.h>

#include <filesystem>

#include "RegistryFixture.h"
#include "shell/PosixFiles.h"

namespace kadeno::test {
namespace {

struct FileRegistryTest : ::testing::Test {
  TempRegistry temp;
  FakeWindow window;
  RegistryAccess access{*temp.registry, window};
  std::string File() const { return temp.registry->Path(); }
};

TEST_F(FileRegistryTest, WritesOnlyChangesAndSeesEditsMadeBetweenOperations) {
  EXPECT_EQ(access.ReadRegistryValue("HKCU\\X", "v", 1), RegistryValue(1));
  EXPECT_FALSE(PosixFileExists(File()));
  ASSERT_TRUE(access.WriteRegistryValue("HKLM\\K", "Path", std::string("C:\\Kadeno")));
  EXPECT_EQ(PosixReadFile(File()),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"Path\"=\"C:\\\\Kadeno\"\r\n");

  ASSERT_TRUE(PosixWriteFileAtomically(File(), "REGEDIT4\n[HKLM\\A]\n\"v\"=\"edited\"\n"));
  EXPECT_EQ(access.ReadRegistryValue("HKEY_LOCAL_MACHINE\\A", "v"),
            RegistryValue(std::string("edited")));
  EXPECT_EQ(access.ReadRegistryValue("HKLM\\K", "Path", 0), RegistryValue(0));
}

TEST_F(FileRegistryTest, ADamagedFileIsReportedAndLeftAlone) {
  const std::string damaged = "REGEDIT4\n[HKLM\\A]\n\"v\"=dword:xyz\n\"w\"=\"kept\"\n";
  ASSERT_TRUE(PosixWriteFileAtomically(File(), damaged));

  EXPECT_EQ(access.ReadRegistryValue("HKLM\\A", "w"), RegistryValue{});
  EXPECT_EQ(access.PendingError(),
            (RegistryError{1009, "Registry[API Call]", "Corrupt Registry Database!"}));
  EXPECT_EQ(temp.registry->Problem(), "line 3: a dword needs one to eight hex digits");
  EXPECT_FALSE(access.WriteRegistryValue("HKLM\\A", "x", 1));
  EXPECT_FALSE(access.DeleteRegistryKey("HKLM\\A"));
  EXPECT_EQ(PosixReadFile(File()), damaged);
}

TEST_F(FileRegistryTest, AFileThatCannotBeWrittenChangesNothing) {
  // The registry file's folder is taken by a plain file.
  const std::string blocker = temp.Folder() + "/blocked";
  ASSERT_TRUE(PosixWriteFileAtomically(blocker, "x"));
  FileRegistry blocked(blocker + "/registry.reg");
  RegistryAccess denied(blocked, window);
  EXPECT_FALSE(denied.WriteRegistryValue("HKLM\\A", "v", 1));
  EXPECT_EQ(denied.PendingError().description, "Access to Registry Denied.");
  EXPECT_EQ(blocked.Keys(), EmptyRegistryKeys());
  EXPECT_EQ(blocked.OpenHandles(), 0u);

  // Nor can a folder where the file should be be read.
  std::filesystem::create_directory(File());
  EXPECT_EQ(access.ReadRegistryValue("HKLM\\A", "v"), RegistryValue{});
  EXPECT_EQ(access.PendingError().number, 5);
}

}  // namespace
}  // namespace kadeno::test
