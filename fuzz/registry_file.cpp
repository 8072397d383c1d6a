// Feeds arbitrary bytes to the registry file's reader. It must neither crash nor accept a
// file whose keys, written out again, read back differently.
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
