// The registry file's reader on any bytes: no crash; what it accepts reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "registry/RegistryText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kadeno::RegistryKeys keys;
  if (kadeno::ParseRegistryText(text, keys)) return 0;

  const std::string once = kadeno::FormatRegistryText(keys);
  kadeno::RegistryKeys again;
  if (kadeno::ParseRegistryText(once, again)) std::abort();
  if (again != keys) std::abort();
  if (kadeno::FormatRegistryText(again) != once) std::abort();
  return 0;
}
