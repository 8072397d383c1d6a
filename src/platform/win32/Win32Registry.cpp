// The registry calls passed to advapi32. Root keys travel through the seam as their
// 32-bit values (0x80000002...) and become the predefined handles here; opened keys
// travel as the handle's own bits.
#include "win32/Win32Registry.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

namespace kadeno {

namespace {

HKEY ToHkey(RegKey key) {
  for (const RegistryRoot& r : kRegistryRoots) {
    // The predefined handles are the 32-bit values sign-extended to a pointer.
    if (key == r.handle) {
      return reinterpret_cast<HKEY>(
          static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(r.handle))));
    }
  }
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

RegKey FromHkey(HKEY key) { return static_cast<RegKey>(reinterpret_cast<ULONG_PTR>(key)); }

int32_t Result(LONG r) { return static_cast<int32_t>(r); }

}  // namespace

int32_t Win32Registry::CreateKey(RegKey parent, const std::string& subKey, uint32_t access,
                                 RegKey& result) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  char noClass[] = "";
  const LONG r = RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, noClass, 0, access, nullptr,
                                 &key, &disposition);
  if (r == ERROR_SUCCESS) result = FromHkey(key);
  return Result(r);
}

int32_t Win32Registry::OpenKey(RegKey parent, const std::string& subKey, uint32_t access,
                               RegKey& result) {
  HKEY key = nullptr;
  const LONG r = RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, access, &key);
  if (r == ERROR_SUCCESS) result = FromHkey(key);
  return Result(r);
}

int32_t Win32Registry::SetValue(RegKey key, const std::string& name, uint32_t type,
                                const std::vector<uint8_t>& data) {
  return Result(RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data.data(),
                               static_cast<DWORD>(data.size())));
}

int32_t Win32Registry::QueryValue(RegKey key, const std::string& name, uint32_t& type,
                                  std::vector<uint8_t>* data, uint32_t& size) {
  DWORD t = 0;
  DWORD n = data ? static_cast<DWORD>(data->size()) : 0;
  const LONG r =
      RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &t, data ? data->data() : nullptr, &n);
  if (r == ERROR_SUCCESS || r == ERROR_MORE_DATA) {
    type = t;
    size = n;
  }
  if (r == ERROR_SUCCESS && data) data->resize(n);
  return Result(r);
}

int32_t Win32Registry::QueryInfoKey(RegKey key, uint32_t classRoom, RegKeyInfo& info) {
  std::string cls(std::max<uint32_t>(classRoom, 1), '\0');
  DWORD clsLen = static_cast<DWORD>(cls.size());
  DWORD subKeys = 0, maxSubKeyLen = 0, maxClassLen = 0, values = 0, maxValueNameLen = 0,
        maxValueLen = 0;
  const LONG r =
      RegQueryInfoKeyA(ToHkey(key), cls.data(), &clsLen, nullptr, &subKeys, &maxSubKeyLen,
                       &maxClassLen, &values, &maxValueNameLen, &maxValueLen, nullptr, nullptr);
  if (r == ERROR_SUCCESS) {
    cls.resize(std::min<size_t>(clsLen, cls.size()));
    info = {cls, subKeys, maxSubKeyLen, maxClassLen, values, maxValueNameLen, maxValueLen};
  }
  return Result(r);
}

int32_t Win32Registry::EnumKey(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t classRoom,
                               std::string& name, std::string& className) {
  std::string n(std::max<uint32_t>(nameRoom, 1), '\0');
  std::string c(std::max<uint32_t>(classRoom, 1), '\0');
  DWORD nLen = nameRoom, cLen = classRoom;
  FILETIME written{};
  const LONG r =
      RegEnumKeyExA(ToHkey(key), index, n.data(), &nLen, nullptr, c.data(), &cLen, &written);
  if (r == ERROR_SUCCESS) {
    name.assign(n.data(), std::min<size_t>(nLen, n.size()));
    className.assign(c.data(), std::min<size_t>(cLen, c.size()));
  }
  return Result(r);
}

int32_t Win32Registry::EnumValue(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t dataRoom,
                                 std::string& name, uint32_t& type, std::vector<uint8_t>& data) {
  std::string n(std::max<uint32_t>(nameRoom, 1), '\0');
  std::vector<uint8_t> d(std::max<uint32_t>(dataRoom, 1));
  DWORD nLen = nameRoom, dLen = dataRoom, t = 0;
  const LONG r = RegEnumValueA(ToHkey(key), index, n.data(), &nLen, nullptr, &t, d.data(), &dLen);
  if (r == ERROR_SUCCESS) {
    name.assign(n.data(), std::min<size_t>(nLen, n.size()));
    type = t;
    d.resize(std::min<size_t>(dLen, d.size()));
    data = std::move(d);
  }
  return Result(r);
}

int32_t Win32Registry::DeleteValue(RegKey key, const std::string& name) {
  return Result(RegDeleteValueA(ToHkey(key), name.c_str()));
}

int32_t Win32Registry::DeleteKey(RegKey key, const std::string& subKey) {
  return Result(RegDeleteKeyA(ToHkey(key), subKey.c_str()));
}

int32_t Win32Registry::CloseKey(RegKey key) { return Result(RegCloseKey(ToHkey(key))); }

}  // namespace kadeno
