// The POSIX pieces: whole-file saves on the real file system, the XDG folders, and the
// devices a build without the built-in synthesiser offers.
#include "posix/PosixFiles.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <tuple>

#include "messagelog/MessageLogDevice.h"
#include "posix/PosixAudioDeviceFactory.h"
#include "support/TempFolder.h"

// While `on`, each fsync as one line: the synced name, what it held (a folder: "-") and
// the saved file's text at that instant; the next `fail_syncs` fail with EIO.
namespace sync_watch {
bool on = false;
int fail_syncs = 0;
std::string saved_path;
std::vector<std::string> met;
}  // namespace sync_watch

// The library is linked in statically: its fsync calls come here.
extern "C" int fsync(int fd) {
  using namespace sync_watch;
  if (on) {
    std::error_code e;
    const auto name = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), e);
    const bool file = std::filesystem::is_regular_file(name, e);
    met.push_back(name.string() + " holding " +
                  (file ? kadeno::PosixReadFile(name).value_or("(unread)") : "-") + ", saved " +
                  kadeno::PosixReadFile(saved_path).value_or("(none)"));
    if (fail_syncs > 0) {
      --fail_syncs;
      errno = EIO;
      return -1;
    }
  }
  return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace kadeno {
namespace {

struct PosixFiles : ::testing::Test {
  int Entries() {
    return static_cast<int>(std::distance(std::filesystem::recursive_directory_iterator(dir_), {}));
  }
  const test::TempFolder own;
  const std::string dir_ = own.path();
};

// A save cut short leaves its temporary behind, longer than the next save's text: the next
// save takes it up and leaves nothing. A failed save leaves the previous file.
TEST_F(PosixFiles, SavesWholeFilesMakingTheFoldersAndLeaveNothingElse) {
  const std::string path = dir_ + "/a/b/Kadeno.ini";
  EXPECT_EQ(PosixReadFile(path), std::nullopt);
  ASSERT_TRUE(PosixWriteFileAtomically(PosixTemporaryFor(path), "half a file, longer"));
  ASSERT_TRUE(PosixWriteFileAtomically(path, "new\r\n"));
  EXPECT_TRUE(PosixFileExists(path));
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);         // others read it too, whatever the umask
  EXPECT_FALSE(PosixFileExists(dir_ + "/a"));  // a folder is not a file
  EXPECT_FALSE(PosixWriteFileAtomically(path + "/inner.ini", "x"));  // a file in the way
  EXPECT_FALSE(PosixWriteFileAtomically(dir_ + "/a/b", "x"));        // a folder in the way
  EXPECT_EQ(PosixReadFile(path), "new\r\n");
  EXPECT_EQ(Entries(), 3);  // a, a/b, a/b/Kadeno.ini
}

// The text reaches the disk before it takes the file's name, and the new name reaches it
// before the save says it is done. A text the disk refused leaves the old file.
TEST_F(PosixFiles, ASaveSyncsTheTextBeforeTheRenameAndTheFolderAfterIt) {
  const std::string path = dir_ + "/Kadeno.ini", tmp = PosixTemporaryFor(path);
  ASSERT_TRUE(PosixWriteFileAtomically(path, "old\n"));
  sync_watch::saved_path = path;
  sync_watch::met.clear();
  sync_watch::on = true;
  const bool saved = PosixWriteFileAtomically(path, "new\n");
  sync_watch::fail_syncs = 1;
  const bool refused = PosixWriteFileAtomically(path, "lost\n");
  sync_watch::on = false;
  EXPECT_TRUE(saved);
  EXPECT_FALSE(refused);
  EXPECT_EQ(sync_watch::met, (std::vector<std::string>{tmp + " holding new\n, saved old\n",
                                                       dir_ + " holding -, saved new\n",
                                                       tmp + " holding lost\n, saved new\n"}));
  EXPECT_EQ(PosixReadFile(path), "new\n");
  EXPECT_EQ(Entries(), 1);
}

// Saves killed at random instants, and two programs saving at once: every read finds one
// whole file, and at most one stray file is ever left.
TEST_F(PosixFiles, KilledAndSimultaneousSavesNeverMix) {
  const std::string path = dir_ + "/Kadeno.ini", a(1 << 20, 'a'), b(1 << 19, 'b');
  const auto whole = [&] {
    const auto text = PosixReadFile(path);
    return text == a || text == b;
  };
  ASSERT_TRUE(PosixWriteFileAtomically(path, a));
  std::mt19937 random(11);
  for (int kill = 0; kill < 20; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0) << "fork";  // -1 would have kill() end every process of ours
    if (child == 0)
      for (int i = 0;; ++i) PosixWriteFileAtomically(path, i % 2 ? a : b);
    usleep(200 + random() % 3000);
    ::kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(whole()) << "kill " << kill;
    ASSERT_LE(Entries(), 2) << "kill " << kill;
  }
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    ASSERT_GE(writers[w] = fork(), 0) << "fork";
    if (writers[w] == 0) {
      bool ok = true;
      for (int i = 0; i < 300; ++i) ok = PosixWriteFileAtomically(path, w ? a : b) && ok;
      _exit(ok ? 0 : 1);
    }
  }
  int mixed = 0;
  for (int i = 0; i < 300; ++i) mixed += !whole();
  for (pid_t w : writers) {
    int status = 0;
    waitpid(w, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(mixed, 0);
  EXPECT_EQ(Entries(), 1);
}

TEST_F(PosixFiles, BothFoldersFollowTheirXdgVariableOrHome) {
  // {folder, its variable, the value (nullptr: unset), HOME (nullptr: unset), the folder}
  using Folder = std::string (*)();
  const std::string abs = dir_ + "/x";
  const std::tuple<Folder, const char*, const char*, const char*, std::string> rows[] = {
      {KadenoConfigFolder, "XDG_CONFIG_HOME", abs.c_str(), "/home/p", abs + "/kadeno"},
      {KadenoConfigFolder, "XDG_CONFIG_HOME", "rel/path", "/home/p", "/home/p/.config/kadeno"},
      {KadenoConfigFolder, "XDG_CONFIG_HOME", "", "/home/p", "/home/p/.config/kadeno"},
      {KadenoDataFolder, "XDG_DATA_HOME", abs.c_str(), "/home/p", abs + "/kadeno"},
      {KadenoDataFolder, "XDG_DATA_HOME", nullptr, nullptr, "/tmp/.local/share/kadeno"},
      {KadenoDataFolder, "XDG_DATA_HOME", nullptr, "", "/tmp/.local/share/kadeno"}};
  // The variables are left as the last row put them: each test runs in a process of its own.
  const auto put = [](const char* name, const char* value) {
    value ? setenv(name, value, 1) : unsetenv(name);
  };
  for (const auto& [folder, variable, value, home, expected] : rows) {
    put("XDG_CONFIG_HOME", nullptr);
    put("XDG_DATA_HOME", nullptr);
    put(variable, value);
    put("HOME", home);
    EXPECT_EQ(folder(), expected) << variable << "=" << (value ? value : "(unset)");
  }
}

TEST(AudioDevicesWithoutSynthesiser, OnlyTheLogOrNothingToPlayOn) {
  EXPECT_TRUE(dynamic_cast<MessageLogDevice*>(MakePosixAudioDevice("log:/x", nullptr).get()));
  for (const char* setting : {"", "builtin", "none"}) {
    testing::internal::CaptureStderr();
    const auto device = MakePosixAudioDevice(setting, nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(device->DeviceCount(), 0) << setting;
    EXPECT_EQ(device->Open(), OpenResult::NoDevice) << setting;
    // Only a setting that asks for the missing synthesiser is told why there is none.
    EXPECT_EQ(said.find("no built-in synthesiser") != std::string::npos,
              std::string(setting) != "none")
        << said;
  }
}

}  // namespace
}  // namespace kadeno
