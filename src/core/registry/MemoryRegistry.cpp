// The registry calls answered from keys in memory, with Windows' results.
#include "registry/MemoryRegistry.h"

#include <algorithm>

namespace kadeno {

namespace {

// ASCII letters only, whatever the locale, so names match alike on every machine; and
// cheap, since every map lookup folds whole key paths.
unsigned char Fold(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - ('a' - 'A')) : u;
}

bool IsRootHandle(RegKey key) {
  return std::any_of(kRegistryRoots.begin(), kRegistryRoots.end(),
                     [key](const RegistryRoot& r) { return r.handle == key; });
}

const char* RootPathOf(RegKey key) {
  for (const RegistryRoot& r : kRegistryRoots) {
    if (r.handle == key) return r.longName;
  }
  return nullptr;
}

// Splits a sub-key path into key names. A trailing "\" is allowed, as Windows allows it;
// a leading one or an empty name between two is a bad path.
int32_t SplitSubKey(const std::string& subKey, std::vector<std::string>& parts) {
  parts.clear();
  if (subKey.empty()) return RegResult::Success;
  if (subKey[0] == '\\') return RegResult::BadPathname;
  size_t start = 0;
  while (start < subKey.size()) {
    const size_t slash = subKey.find('\\', start);
    const size_t end = slash == std::string::npos ? subKey.size() : slash;
    if (end == start) return RegResult::BadPathname;
    parts.push_back(subKey.substr(start, end - start));
    start = end + 1;
  }
  return RegResult::Success;
}

bool HasLineBreakOrZero(std::string_view name) {
  return name.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos;
}

std::vector<StoredValue>::iterator FindValue(std::vector<StoredValue>& values,
                                             std::string_view name) {
  return std::find_if(values.begin(), values.end(),
                      [name](const StoredValue& v) { return SameRegistryName(v.name, name); });
}

}  // namespace

bool SameRegistryName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Fold(x) == Fold(y); });
}

bool RegistryNameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Fold(x) < Fold(y); });
}

RegistryKeys EmptyRegistryKeys() {
  RegistryKeys keys;
  for (const RegistryRoot& r : kRegistryRoots) keys[r.longName];
  return keys;
}

const char* RegistryRootLongName(std::string_view rootName) {
  for (const RegistryRoot& r : kRegistryRoots) {
    if (SameRegistryName(rootName, r.longName) || SameRegistryName(rootName, r.shortName)) {
      return r.longName;
    }
  }
  return nullptr;
}

std::vector<std::string> RegistrySubKeyNames(const RegistryKeys& keys, const std::string& path) {
  std::vector<std::string> names;
  const std::string prefix = path + "\\";
  for (auto it = keys.lower_bound(prefix); it != keys.end(); ++it) {
    const std::string& p = it->first;
    if (p.size() <= prefix.size() || !SameRegistryName(p.substr(0, prefix.size()), prefix)) break;
    const std::string rest = p.substr(prefix.size());
    if (rest.find('\\') == std::string::npos) names.push_back(rest);
  }
  return names;
}

size_t RegistryKeyDepth(std::string_view path) {
  return static_cast<size_t>(std::count(path.begin(), path.end(), '\\'));
}

std::string MakeRegistryKey(RegistryKeys& keys, const std::string& path,
                            const std::vector<std::string>& parts) {
  // Most keys asked for exist already, and a key's parents exist whenever it does.
  std::string full = path;
  for (const std::string& part : parts) full += "\\" + part;
  if (const auto it = keys.find(full); it != keys.end()) return it->first;
  std::string at = path;
  keys.try_emplace(at);
  for (const std::string& part : parts) {
    const std::string next = at + "\\" + part;
    const auto [it, made] = keys.try_emplace(next);
    at = it->first;
  }
  return at;
}

bool ValidRegistryKeyName(std::string_view name) {
  return !name.empty() && name.size() <= 255 && name.find('\\') == std::string_view::npos &&
         !HasLineBreakOrZero(name);
}

bool ValidRegistryValueName(std::string_view name) {
  return name.size() <= 16383 && !HasLineBreakOrZero(name);
}

MemoryRegistry::MemoryRegistry() : keys_(EmptyRegistryKeys()) {}

int32_t MemoryRegistry::Resolve(RegKey key, uint32_t rights, std::string& path, uint32_t& access) {
  if (const char* root = RootPathOf(key)) {
    RegistryKeys fresh = keys_;
    if (const int32_t r = Refresh(fresh); r != RegResult::Success) return r;
    keys_ = std::move(fresh);
    path = root;
    access = RegAccess::All;
    return RegResult::Success;
  }
  const auto it = handles_.find(key);
  if (it == handles_.end()) return RegResult::InvalidHandle;
  if (keys_.find(it->second.path) == keys_.end()) return RegResult::KeyDeleted;
  if ((it->second.access & rights) != rights) return RegResult::AccessDenied;
  path = it->second.path;
  access = it->second.access;
  return RegResult::Success;
}

int32_t MemoryRegistry::Find(const std::string& path, const std::string& subKey,
                             std::string& found) const {
  std::vector<std::string> parts;
  if (const int32_t r = SplitSubKey(subKey, parts); r != RegResult::Success) return r;
  found = path;
  for (const std::string& part : parts) {
    const auto it = keys_.find(found + "\\" + part);
    if (it == keys_.end()) return RegResult::NotFound;
    found = it->first;
  }
  return RegResult::Success;
}

int32_t MemoryRegistry::Commit(RegistryKeys next) {
  if (const int32_t r = Persist(next); r != RegResult::Success) return r;
  keys_ = std::move(next);
  return RegResult::Success;
}

RegKey MemoryRegistry::NewHandle(std::string path, uint32_t access) {
  const RegKey key = nextHandle_++;
  handles_[key] = {std::move(path), access};
  return key;
}

int32_t MemoryRegistry::CreateKey(RegKey parent, const std::string& subKey, uint32_t access,
                                  RegKey& result) {
  std::string path;
  uint32_t parentAccess = 0;
  if (const int32_t r = Resolve(parent, 0, path, parentAccess); r != RegResult::Success) return r;
  std::vector<std::string> parts;
  if (const int32_t r = SplitSubKey(subKey, parts); r != RegResult::Success) return r;
  std::string found;
  if (Find(path, subKey, found) != RegResult::Success) {
    if ((parentAccess & RegAccess::CreateSubKey) == 0) return RegResult::AccessDenied;
    if (!std::all_of(parts.begin(), parts.end(), ValidRegistryKeyName) ||
        RegistryKeyDepth(path) + parts.size() > kMaxRegistryDepth) {
      return RegResult::InvalidParameter;
    }
    RegistryKeys next = keys_;
    found = MakeRegistryKey(next, path, parts);
    if (const int32_t r = Commit(std::move(next)); r != RegResult::Success) return r;
  }
  result = NewHandle(found, access);
  return RegResult::Success;
}

int32_t MemoryRegistry::OpenKey(RegKey parent, const std::string& subKey, uint32_t access,
                                RegKey& result) {
  std::string path;
  uint32_t parentAccess = 0;
  if (const int32_t r = Resolve(parent, 0, path, parentAccess); r != RegResult::Success) return r;
  std::string found;
  if (const int32_t r = Find(path, subKey, found); r != RegResult::Success) return r;
  result = NewHandle(found, access);
  return RegResult::Success;
}

int32_t MemoryRegistry::SetValue(RegKey key, const std::string& name, uint32_t type,
                                 const std::vector<uint8_t>& data) {
  std::string path;
  uint32_t access = 0;
  if (const int32_t r = Resolve(key, RegAccess::SetValue, path, access); r != RegResult::Success) {
    return r;
  }
  if (!ValidRegistryValueName(name)) return RegResult::InvalidParameter;
  RegistryKeys next = keys_;
  auto& values = next[path];
  if (auto it = FindValue(values, name); it != values.end()) {
    it->type = type;
    it->data = data;
  } else {
    values.push_back({name, type, data});
  }
  return Commit(std::move(next));
}

int32_t MemoryRegistry::QueryValue(RegKey key, const std::string& name, uint32_t& type,
                                   std::vector<uint8_t>* data, uint32_t& size) {
  std::string path;
  uint32_t access = 0;
  if (const int32_t r = Resolve(key, RegAccess::QueryValue, path, access);
      r != RegResult::Success) {
    return r;
  }
  auto& values = keys_[path];
  const auto it = FindValue(values, name);
  if (it == values.end()) return RegResult::NotFound;
  type = it->type;
  size = static_cast<uint32_t>(it->data.size());
  if (data == nullptr) return RegResult::Success;
  if (data->size() < it->data.size()) return RegResult::MoreData;
  *data = it->data;
  return RegResult::Success;
}

int32_t MemoryRegistry::QueryInfoKey(RegKey key, uint32_t classRoom, RegKeyInfo& info) {
  (void)classRoom;  // no key here has a class
  std::string path;
  uint32_t access = 0;
  if (const int32_t r = Resolve(key, RegAccess::QueryValue, path, access);
      r != RegResult::Success) {
    return r;
  }
  info = {};
  for (const std::string& name : RegistrySubKeyNames(keys_, path)) {
    ++info.subKeys;
    info.maxSubKeyLen = std::max(info.maxSubKeyLen, static_cast<uint32_t>(name.size()));
  }
  for (const StoredValue& v : keys_[path]) {
    ++info.values;
    info.maxValueNameLen = std::max(info.maxValueNameLen, static_cast<uint32_t>(v.name.size()));
    info.maxValueLen = std::max(info.maxValueLen, static_cast<uint32_t>(v.data.size()));
  }
  return RegResult::Success;
}

int32_t MemoryRegistry::EnumKey(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t classRoom,
                                std::string& name, std::string& className) {
  (void)classRoom;
  std::string path;
  uint32_t access = 0;
  if (const int32_t r = Resolve(key, RegAccess::EnumerateSubKeys, path, access);
      r != RegResult::Success) {
    return r;
  }
  const auto names = RegistrySubKeyNames(keys_, path);
  if (index >= names.size()) return RegResult::NoMoreItems;
  if (names[index].size() + 1 > nameRoom) return RegResult::MoreData;
  name = names[index];
  className.clear();
  return RegResult::Success;
}

int32_t MemoryRegistry::EnumValue(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t dataRoom,
                                  std::string& name, uint32_t& type, std::vector<uint8_t>& data) {
  std::string path;
  uint32_t access = 0;
  if (const int32_t r = Resolve(key, RegAccess::QueryValue, path, access);
      r != RegResult::Success) {
    return r;
  }
  const auto& values = keys_[path];
  if (index >= values.size()) return RegResult::NoMoreItems;
  const StoredValue& v = values[index];
  if (v.name.size() + 1 > nameRoom || v.data.size() > dataRoom) return RegResult::MoreData;
  name = v.name;
  type = v.type;
  data = v.data;
  return RegResult::Success;
}

int32_t MemoryRegistry::DeleteValue(RegKey key, const std::string& name) {
  std::string path;
  uint32_t access = 0;
  if (const int32_t r = Resolve(key, RegAccess::SetValue, path, access); r != RegResult::Success) {
    return r;
  }
  RegistryKeys next = keys_;
  auto& values = next[path];
  const auto it = FindValue(values, name);
  if (it == values.end()) return RegResult::NotFound;
  values.erase(it);
  return Commit(std::move(next));
}

int32_t MemoryRegistry::DeleteKey(RegKey key, const std::string& subKey) {
  std::string path;
  uint32_t access = 0;
  const uint32_t rights = subKey.empty() ? RegAccess::Delete : 0;
  if (const int32_t r = Resolve(key, rights, path, access); r != RegResult::Success) return r;
  std::string target;
  if (const int32_t r = Find(path, subKey, target); r != RegResult::Success) return r;
  if (RegistryRootLongName(target) != nullptr) return RegResult::AccessDenied;
  if (!RegistrySubKeyNames(keys_, target).empty()) return RegResult::AccessDenied;
  RegistryKeys next = keys_;
  next.erase(target);
  return Commit(std::move(next));
}

int32_t MemoryRegistry::CloseKey(RegKey key) {
  if (IsRootHandle(key)) return RegResult::Success;
  return handles_.erase(key) != 0 ? RegResult::Success : RegResult::InvalidHandle;
}

}  // namespace kadeno
