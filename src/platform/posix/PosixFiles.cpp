#include "posix/PosixFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "messagelog/LogFile.h"

namespace kadeno {

namespace {

std::string Parent(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/tmp";
}

std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
  const char* v = std::getenv(variable);
  // The XDG rules ignore relative paths.
  if (v && v[0] == '/') return std::string(v) + "/kadeno";
  return HomeFolder() + "/" + fallbackUnderHome + "/kadeno";
}

}  // namespace

bool PosixFileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> PosixReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return ss.str();
}

bool PosixMakeFolders(const std::string& folder) {
  if (folder.empty()) return false;
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string parent = Parent(folder);
  if (parent != folder && !PosixMakeFolders(parent)) return false;
  return ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

namespace {

// Opens the one temporary file, locked against another copy of the program saving the
// same file at the same time (a file system without locks goes unlocked). Once locked,
// the name must still hold what was opened: when the writer before us renamed it over
// its target meanwhile, writing on would change that target. -1 when it cannot be opened.
int OpenLockedTemporary(const std::string& tmp) {
  for (;;) {
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return -1;
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
      ::close(fd);
      return -1;
    }
    if (::lstat(tmp.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      return fd;
    }
    ::close(fd);  // renamed away under us: open the name afresh
  }
}

}  // namespace

std::string PosixTemporaryFor(const std::string& path) { return path + ".new"; }

bool PosixWriteFileAtomically(const std::string& path, const std::string& contents) {
  const std::string folder = Parent(path);
  if (!PosixMakeFolders(folder)) return false;
  // Always the same temporary name, so that however often a save is cut short (a crash,
  // a kill) at most one stray file is left, and the next save takes it up again.
  const std::string tmp = PosixTemporaryFor(path);
  const int fd = OpenLockedTemporary(tmp);
  if (fd < 0) return false;
  bool ok = ::ftruncate(fd, 0) == 0;
  size_t done = 0;
  while (ok && done < contents.size()) {
    const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      ok = false;
    else
      done += static_cast<size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::fchmod(fd, 0644) != 0) ok = false;
  // Renamed or removed while still locked, so that no other writer can reach it between.
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  ::close(fd);
  if (!ok) return false;
  // Make the rename itself durable.
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

std::FILE* OpenLogFileForAppend(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "ab");
  if (file == nullptr) ::close(fd);
  return file;
}

std::string KadenoConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }
std::string KadenoDataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

}  // namespace kadeno
