// MemoryRegistry: keys and values held in memory, answering the registry calls with the
// results Windows gives. It is the working part of FileRegistry, which only adds reading
// and writing the registry file through the two hooks below.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "seams/RegistryApi.h"

namespace kadeno {

struct StoredValue {
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  bool operator==(const StoredValue&) const = default;
};

// Registry names compare without regard to (ASCII) case.
bool SameRegistryName(std::string_view a, std::string_view b);
struct RegistryNameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

// Every key by its full path, the root's long name first ("HKEY_LOCAL_MACHINE\SOFTWARE"),
// with its values in the order they were made. A key's descendants sort right after
// "path\", so a key's sub-keys are found by a range of the map.
using RegistryKeys = std::map<std::string, std::vector<StoredValue>, RegistryNameLess>;

// The six root keys, empty.
RegistryKeys EmptyRegistryKeys();
// The long name of the root named rootName (long or short, any case), or nullptr.
const char* RegistryRootLongName(std::string_view rootName);
// The names of the key's direct sub-keys, in the registry's order.
std::vector<std::string> RegistrySubKeyNames(const RegistryKeys& keys, const std::string& path);
// Keys nest at most this deep below their root, as in Windows; it also bounds the work a
// hand-made registry file can ask for.
inline constexpr size_t kMaxRegistryDepth = 512;
// The number of keys in a full path below its root.
size_t RegistryKeyDepth(std::string_view path);
// Finds or makes the key at path + "\" + parts, with the missing keys on the way; returns
// its full path, spelt as the keys that already existed are.
std::string MakeRegistryKey(RegistryKeys& keys, const std::string& path,
                            const std::vector<std::string>& parts);
// Whether a key name can be stored: no "\", no line breaks or zero, at most 255 characters.
bool ValidRegistryKeyName(std::string_view name);
// Whether a value name can be stored: no line breaks or zero, at most 16383 characters.
bool ValidRegistryValueName(std::string_view name);

class MemoryRegistry : public RegistryApi {
 public:
  MemoryRegistry();

  int32_t CreateKey(RegKey parent, const std::string& subKey, uint32_t access,
                    RegKey& result) override;
  int32_t OpenKey(RegKey parent, const std::string& subKey, uint32_t access,
                  RegKey& result) override;
  int32_t SetValue(RegKey key, const std::string& name, uint32_t type,
                   const std::vector<uint8_t>& data) override;
  int32_t QueryValue(RegKey key, const std::string& name, uint32_t& type,
                     std::vector<uint8_t>* data, uint32_t& size) override;
  int32_t QueryInfoKey(RegKey key, uint32_t classRoom, RegKeyInfo& info) override;
  int32_t EnumKey(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t classRoom,
                  std::string& name, std::string& className) override;
  int32_t EnumValue(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t dataRoom,
                    std::string& name, uint32_t& type, std::vector<uint8_t>& data) override;
  int32_t DeleteValue(RegKey key, const std::string& name) override;
  int32_t DeleteKey(RegKey key, const std::string& subKey) override;
  int32_t CloseKey(RegKey key) override;

  const RegistryKeys& Keys() const { return keys_; }
  size_t OpenHandles() const { return handles_.size(); }

 protected:
  // Called whenever a call starts from a root key, which every operation of the registry
  // module does first, so that a registry kept elsewhere is read afresh. A non-zero result
  // fails the call and leaves the keys as they were.
  virtual int32_t Refresh(RegistryKeys& keys) {
    (void)keys;
    return RegResult::Success;
  }
  // Called with the keys as a change would leave them; the change is kept only when this
  // succeeds, so the registry is changed whole or not at all.
  virtual int32_t Persist(const RegistryKeys& keys) {
    (void)keys;
    return RegResult::Success;
  }

 private:
  struct OpenKeyRecord {
    std::string path;
    uint32_t access;
  };
  // The path of the handle's key, when the handle is good, its key still there and its
  // access has the rights asked for.
  int32_t Resolve(RegKey key, uint32_t rights, std::string& path, uint32_t& access);
  // The path of an existing key below path.
  int32_t Find(const std::string& path, const std::string& subKey, std::string& found) const;
  int32_t Commit(RegistryKeys next);
  RegKey NewHandle(std::string path, uint32_t access);

  RegistryKeys keys_;
  std::map<RegKey, OpenKeyRecord> handles_;
  RegKey nextHandle_ = 1;
};

}  // namespace kadeno
