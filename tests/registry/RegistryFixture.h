// What the registry tests share: a registry to test on (the registry file in a fresh
// temporary folder; in memory where there is no POSIX), and a seam that passes every call
// through while writing down the calls that change something.
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

#ifndef _WIN32
// A registry file in a temporary folder that is removed afterwards.
class TempRegistry {
 public:
  TempRegistry() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kadeno-reg-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    registry = std::make_unique<FileRegistry>(folder_ + "/registry.reg");
  }
  ~TempRegistry() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  const std::string& Folder() const { return folder_; }
  std::unique_ptr<FileRegistry> registry;

 private:
  std::string folder_;
};
#else
struct TempRegistry {
  std::unique_ptr<MemoryRegistry> registry = std::make_unique<MemoryRegistry>();
};
#endif

// Passes every call to another registry and keeps a line for each change made, naming the
// key by the sub-key path it was opened with.
class RecordingRegistry : public RegistryApi {
 public:
  explicit RecordingRegistry(RegistryApi& inner) : inner_(inner) {}
  std::vector<std::string> changes;
  int calls = 0;

  int32_t CreateKey(RegKey parent, const std::string& subKey, uint32_t access,
                    RegKey& result) override {
    ++calls;
    const int32_t r = inner_.CreateKey(parent, subKey, access, result);
    if (r == 0) names_[result] = subKey;
    return r;
  }
  int32_t OpenKey(RegKey parent, const std::string& subKey, uint32_t access,
                  RegKey& result) override {
    ++calls;
    const int32_t r = inner_.OpenKey(parent, subKey, access, result);
    if (r == 0) names_[result] = subKey;
    return r;
  }
  int32_t SetValue(RegKey key, const std::string& name, uint32_t type,
                   const std::vector<uint8_t>& data) override {
    ++calls;
    changes.push_back("set " + names_[key] + " : " + name);
    return inner_.SetValue(key, name, type, data);
  }
  int32_t QueryValue(RegKey key, const std::string& name, uint32_t& type,
                     std::vector<uint8_t>* data, uint32_t& size) override {
    ++calls;
    return inner_.QueryValue(key, name, type, data, size);
  }
  int32_t QueryInfoKey(RegKey key, uint32_t classRoom, RegKeyInfo& info) override {
    ++calls;
    return inner_.QueryInfoKey(key, classRoom, info);
  }
  int32_t EnumKey(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t classRoom,
                  std::string& name, std::string& className) override {
    ++calls;
    return inner_.EnumKey(key, index, nameRoom, classRoom, name, className);
  }
  int32_t EnumValue(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t dataRoom,
                    std::string& name, uint32_t& type, std::vector<uint8_t>& data) override {
    ++calls;
    return inner_.EnumValue(key, index, nameRoom, dataRoom, name, type, data);
  }
  int32_t DeleteValue(RegKey key, const std::string& name) override {
    ++calls;
    changes.push_back("delete " + names_[key] + " : " + name);
    return inner_.DeleteValue(key, name);
  }
  int32_t DeleteKey(RegKey key, const std::string& subKey) override {
    ++calls;
    changes.push_back("delete " + names_[key] + (subKey.empty() ? "" : "\\" + subKey));
    return inner_.DeleteKey(key, subKey);
  }
  int32_t CloseKey(RegKey key) override {
    ++calls;
    return inner_.CloseKey(key);
  }

 private:
  RegistryApi& inner_;
  std::map<RegKey, std::string> names_;
};

}  // namespace kadeno::test
