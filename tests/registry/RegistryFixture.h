// What the registry tests share: a registry to test on (the registry file in a fresh
// temporary folder; in memory where there is no POSIX), and a way to see what changed.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry/MemoryRegistry.h"
#include "registry/RegistryAccess.h"
#include "support/FakeWindow.h"

#ifndef _WIN32
#include <filesystem>

#include "registry/FileRegistry.h"
#endif

namespace kadeno::test {

// A registry that writes down every change made through it, naming the key by the
// sub-key path it was opened with, and counts the keys opened.
template <class Registry>
class Recording : public Registry {
 public:
  using Registry::Registry;
  std::vector<std::string> changes;
  int opened = 0;

  int32_t CreateKey(RegKey parent, const std::string& subKey, uint32_t access,
                    RegKey& result) override {
    const int32_t r = Registry::CreateKey(parent, subKey, access, result);
    return Named(r, result, subKey);
  }
  int32_t OpenKey(RegKey parent, const std::string& subKey, uint32_t access,
                  RegKey& result) override {
    const int32_t r = Registry::OpenKey(parent, subKey, access, result);
    return Named(r, result, subKey);
  }
  int32_t SetValue(RegKey key, const std::string& name, uint32_t type,
                   const std::vector<uint8_t>& data) override {
    changes.push_back("set " + names_[key] + " : " + name);
    return Registry::SetValue(key, name, type, data);
  }
  int32_t DeleteValue(RegKey key, const std::string& name) override {
    changes.push_back("delete " + names_[key] + " : " + name);
    return Registry::DeleteValue(key, name);
  }
  int32_t DeleteKey(RegKey key, const std::string& subKey) override {
    changes.push_back("delete " + names_[key] + (subKey.empty() ? "" : "\\" + subKey));
    return Registry::DeleteKey(key, subKey);
  }

 private:
  int32_t Named(int32_t result, RegKey key, const std::string& subKey) {
    ++opened;
    if (result == 0) names_[key] = subKey;
    return result;
  }
  std::map<RegKey, std::string> names_;
};

#ifndef _WIN32
// A registry file in a temporary folder that is removed afterwards.
class TempRegistry {
 public:
  TempRegistry() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kadeno-reg-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    registry = std::make_unique<Recording<FileRegistry>>(folder_ + "/registry.reg");
  }
  ~TempRegistry() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  const std::string& Folder() const { return folder_; }
  std::unique_ptr<Recording<FileRegistry>> registry;

 private:
  std::string folder_;
};
#else
struct TempRegistry {
  std::unique_ptr<Recording<MemoryRegistry>> registry =
      std::make_unique<Recording<MemoryRegistry>>();
};
#endif

}  // namespace kadeno::test
