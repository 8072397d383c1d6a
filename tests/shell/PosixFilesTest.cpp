#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "shell/PosixFiles.h"

namespace kadeno {
namespace {

class PosixFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kadeno-files-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  int Entries(const std::string& folder) {
    int n = 0;
    if (DIR* d = opendir(folder.c_str())) {
      while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
      closedir(d);
    }
    return n;
  }
  std::string dir_;
};

TEST_F(PosixFiles, WritesWholeFilesAndMakesTheFolder) {
  const std::string path = dir_ + "/a/b/Kadeno.ini";
  EXPECT_FALSE(PosixFileExists(path));
  ASSERT_TRUE(PosixWriteFileAtomically(path, "one\r\n"));
  ASSERT_TRUE(PosixWriteFileAtomically(path, "two\r\n"));
  EXPECT_TRUE(PosixFileExists(path));
  EXPECT_EQ(PosixReadFile(path), "two\r\n");
  EXPECT_EQ(Entries(dir_ + "/a/b"), 1);        // no temporary file left behind
  EXPECT_FALSE(PosixFileExists(dir_ + "/a"));  // a folder is not a file
  EXPECT_EQ(PosixReadFile(dir_ + "/missing"), std::nullopt);
}

TEST_F(PosixFiles, AFailedWriteLeavesThePreviousFile) {
  const std::string path = dir_ + "/Kadeno.ini";
  ASSERT_TRUE(PosixWriteFileAtomically(path, "keep"));
  // The folder cannot be made: a file stands where it would go.
  EXPECT_FALSE(PosixWriteFileAtomically(path + "/inner.ini", "x"));
  // The rename cannot land: a folder stands in the way.
  ASSERT_EQ(mkdir((dir_ + "/blocked").c_str(), 0755), 0);
  EXPECT_FALSE(PosixWriteFileAtomically(dir_ + "/blocked", "x"));
  EXPECT_EQ(PosixReadFile(path), "keep");
  EXPECT_EQ(Entries(dir_), 2);
}

TEST_F(PosixFiles, XdgFoldersFollowTheEnvironment) {
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldConfig ? oldConfig : "";
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "/root";
  setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  EXPECT_EQ(KadenoConfigFolder(), dir_ + "/kadeno");
  setenv("XDG_CONFIG_HOME", "relative/path", 1);  // ignored, as the XDG rules say
  setenv("HOME", "/home/player", 1);
  EXPECT_EQ(KadenoConfigFolder(), "/home/player/.config/kadeno");
  if (oldConfig)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace kadeno
