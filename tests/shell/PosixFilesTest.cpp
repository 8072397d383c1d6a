#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <random>

#include "posix/PosixFiles.h"

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

// A save cut short leaves its temporary behind; the next save reuses it, whatever it
// holds, and leaves nothing.
TEST_F(PosixFiles, AStaleTemporaryIsReusedAndRemoved) {
  const std::string path = dir_ + "/Kadeno.ini";
  ASSERT_TRUE(
      PosixWriteFileAtomically(PosixTemporaryFor(path), "half a file, longer than the new"));
  ASSERT_TRUE(PosixWriteFileAtomically(path, "new"));
  EXPECT_EQ(PosixReadFile(path), "new");
  EXPECT_EQ(Entries(dir_), 1);
}

// Saves killed at random instants leave the file whole, old or new, and at most one
// stray file, however many kills there were.
TEST_F(PosixFiles, KilledSavesLeaveAtMostOneStrayFile) {
  const std::string path = dir_ + "/Kadeno.ini";
  const std::string a(1 << 20, 'a'), b(1 << 19, 'b');
  ASSERT_TRUE(PosixWriteFileAtomically(path, a));
  std::mt19937 random(11);
  for (int kill = 0; kill < 20; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) PosixWriteFileAtomically(path, i % 2 ? a : b);
    }
    usleep(200 + random() % 3000);
    ::kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const auto text = PosixReadFile(path);
    ASSERT_TRUE(text == a || text == b) << "kill " << kill;
    ASSERT_LE(Entries(dir_), 2) << "kill " << kill;
  }
}

// Two programs saving the same file at once: every read finds one whole file.
TEST_F(PosixFiles, SimultaneousSavesNeverMix) {
  const std::string path = dir_ + "/Kadeno.ini";
  const std::string a(1 << 16, 'a'), b(1 << 17, 'b');
  ASSERT_TRUE(PosixWriteFileAtomically(path, a));
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      bool ok = true;
      for (int i = 0; i < 300; ++i) ok = PosixWriteFileAtomically(path, w ? a : b) && ok;
      _exit(ok ? 0 : 1);
    }
  }
  int mixed = 0;
  for (int i = 0; i < 300; ++i) {
    const auto text = PosixReadFile(path);
    mixed += !(text == a || text == b);
  }
  for (pid_t w : writers) {
    int status = 0;
    waitpid(w, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(mixed, 0);
  EXPECT_EQ(Entries(dir_), 1);
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
