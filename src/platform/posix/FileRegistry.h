// FileRegistry: what stands in for the Windows registry on Linux. The keys live in one
// REGEDIT4 file, read afresh at the start of every registry operation and written whole
// (temporary file, flush, rename) after every change, so the file is never left half
// written. A file that cannot be read fails every call with 1009, which the registry
// module reports as "Corrupt Registry Database!", and is never overwritten: whatever was
// in it is still there for its owner to mend.
#pragma once

#include <string>

#include "registry/MemoryRegistry.h"

namespace kadeno {

class FileRegistry : public MemoryRegistry {
 public:
  // The player's registry file, registry.reg in Kadeno's data folder.
  FileRegistry();
  explicit FileRegistry(std::string path);

  const std::string& Path() const { return path_; }
  // Why the file could not be read the last time it was tried ("line 7: unknown root
  // key"), or empty.
  const std::string& Problem() const { return problem_; }

 protected:
  int32_t Refresh(RegistryKeys& keys) override;
  int32_t Persist(const RegistryKeys& keys) override;

 private:
  std::string path_;
  std::string problem_;
};

}  // namespace kadeno
