// The registry seam: the handful of registry calls the registry module makes, shaped like
// the Windows calls they stand for and answering with the same result codes. Windows
// implements it over advapi32 (Win32Registry); Linux with a REGEDIT4 file (FileRegistry).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kadeno {

// A key handle as the calls pass it: the root keys have fixed values, opened keys whatever
// the registry hands out. 0 is no key at all.
using RegKey = uint64_t;

// Result codes of the registry calls (the Windows error numbers).
namespace RegResult {
inline constexpr int32_t Success = 0;
inline constexpr int32_t NotFound = 2;  // no such key or value
inline constexpr int32_t AccessDenied = 5;
inline constexpr int32_t InvalidHandle = 6;
inline constexpr int32_t OutOfMemory = 14;
inline constexpr int32_t InvalidParameter = 87;
inline constexpr int32_t BadPathname = 161;
inline constexpr int32_t MoreData = 234;  // the room offered is too small
inline constexpr int32_t NoMoreItems = 259;
inline constexpr int32_t CorruptDatabase = 1009;
inline constexpr int32_t BadKey = 1010;
inline constexpr int32_t CantOpen = 1011;
inline constexpr int32_t CantRead = 1012;
inline constexpr int32_t CantWrite = 1013;
inline constexpr int32_t KeyDeleted = 1018;  // the handle's key was deleted meanwhile
}  // namespace RegResult

// Value types.
namespace RegType {
inline constexpr uint32_t String = 1;  // text with a terminating zero byte
inline constexpr uint32_t Binary = 3;
inline constexpr uint32_t Dword = 4;  // 32 bits, least significant byte first
}  // namespace RegType

// Access masks and the single rights they are made of.
namespace RegAccess {
inline constexpr uint32_t QueryValue = 0x0001;
inline constexpr uint32_t SetValue = 0x0002;
inline constexpr uint32_t CreateSubKey = 0x0004;
inline constexpr uint32_t EnumerateSubKeys = 0x0008;
inline constexpr uint32_t Delete = 0x10000;
inline constexpr uint32_t Read = 0x20019;
inline constexpr uint32_t All = 0xF003F;
}  // namespace RegAccess

struct RegistryRoot {
  const char* longName;
  const char* shortName;
  uint32_t handle;
};

// Looked up in this order, the long name before the short one.
inline constexpr std::array<RegistryRoot, 6> kRegistryRoots{{
    {"HKEY_CLASSES_ROOT", "HKCR", 0x80000000u},
    {"HKEY_CURRENT_USER", "HKCU", 0x80000001u},
    {"HKEY_LOCAL_MACHINE", "HKLM", 0x80000002u},
    {"HKEY_USERS", "HKU", 0x80000003u},
    {"HKEY_DYN_DATA", "HKDD", 0x80000006u},
    {"HKEY_CURRENT_CONFIG", "HKCC", 0x80000005u},
}};

// What RegQueryInfoKey tells of a key. Lengths count characters (bytes for data) without
// a terminating zero.
struct RegKeyInfo {
  std::string className;
  uint32_t subKeys = 0;
  uint32_t maxSubKeyLen = 0;
  uint32_t maxClassLen = 0;
  uint32_t values = 0;
  uint32_t maxValueNameLen = 0;
  uint32_t maxValueLen = 0;
};

// Every call returns a result code, 0 on success. Rooms ("nameRoom", "dataRoom") are the
// buffer sizes the caller offers, counted as the C calls count them: characters with the
// terminating zero for names, bytes for data. Too small a room gives MoreData.
class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  // Opens subKey under parent, creating it and any missing keys on the way.
  virtual int32_t CreateKey(RegKey parent, const std::string& subKey, uint32_t access,
                            RegKey& result) = 0;
  // Opens an existing key; the empty subKey opens parent itself again.
  virtual int32_t OpenKey(RegKey parent, const std::string& subKey, uint32_t access,
                          RegKey& result) = 0;
  virtual int32_t SetValue(RegKey key, const std::string& name, uint32_t type,
                           const std::vector<uint8_t>& data) = 0;
  // With data null, only reports the value's type and size. Otherwise data->size() is the
  // room offered; on success data holds exactly the value's bytes and size their count.
  virtual int32_t QueryValue(RegKey key, const std::string& name, uint32_t& type,
                             std::vector<uint8_t>* data, uint32_t& size) = 0;
  virtual int32_t QueryInfoKey(RegKey key, uint32_t classRoom, RegKeyInfo& info) = 0;
  virtual int32_t EnumKey(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t classRoom,
                          std::string& name, std::string& className) = 0;
  virtual int32_t EnumValue(RegKey key, uint32_t index, uint32_t nameRoom, uint32_t dataRoom,
                            std::string& name, uint32_t& type, std::vector<uint8_t>& data) = 0;
  virtual int32_t DeleteValue(RegKey key, const std::string& name) = 0;
  // The empty subKey deletes the open key itself. A key that still has sub-keys is refused
  // with AccessDenied, as Windows does.
  virtual int32_t DeleteKey(RegKey key, const std::string& subKey) = 0;
  virtual int32_t CloseKey(RegKey key) = 0;
};

}  // namespace kadeno
