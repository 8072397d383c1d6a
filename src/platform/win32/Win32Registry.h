// Win32Registry: the registry seam over the Windows registry itself (advapi32), text in
// the system's 8-bit code page. Built on Windows only; windows.h stays inside the .cpp so
// that its macros never meet the rest of the program.
#pragma once

#include "seams/RegistryApi.h"

namespace kadeno {

class Win32Registry : public RegistryApi {
 public:
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
};

}  // namespace kadeno
