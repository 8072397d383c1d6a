// The registry file: reading it before each operation and writing it after each change.
#include "posix/FileRegistry.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "posix/PosixFiles.h"
#include "registry/RegistryText.h"

namespace kadeno {

FileRegistry::FileRegistry() : FileRegistry(KadenoDataFolder() + "/registry.reg") {}

FileRegistry::FileRegistry(std::string path) : path_(std::move(path)) {}

int32_t FileRegistry::Refresh(RegistryKeys& keys) {
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) {
    // No file yet is an empty registry; anything else in the way is not ours to read.
    if (errno != ENOENT) return RegResult::AccessDenied;
    keys = EmptyRegistryKeys();
    problem_.clear();
    return RegResult::Success;
  }
  const auto text = S_ISREG(st.st_mode) ? PosixReadFile(path_) : std::nullopt;
  if (!text) return RegResult::AccessDenied;
  RegistryKeys read;
  if (const auto problem = ParseRegistryText(*text, read)) {
    const std::string why = "line " + std::to_string(problem->line) + ": " + problem->what;
    // Once, not at every operation that finds the same fault.
    if (why != problem_) {
      std::fprintf(stderr, "kadeno: the registry file %s cannot be read, %s\n", path_.c_str(),
                   why.c_str());
    }
    problem_ = why;
    return RegResult::CorruptDatabase;
  }
  problem_.clear();
  keys = std::move(read);
  return RegResult::Success;
}

int32_t FileRegistry::Persist(const RegistryKeys& keys) {
  return PosixWriteFileAtomically(path_, FormatRegistryText(keys)) ? RegResult::Success
                                                                   : RegResult::AccessDenied;
}

}  // namespace kadeno
