// Feeds arbitrary bytes to the .mo reader, as a damaged or hostile catalog beside the
// program would. It must neither crash nor read outside them, and what it accepts must
// answer every lookup with a text inside the bytes it was given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalog/MoCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto catalog = kadeno::MoCatalog::Parse(bytes);
  if (!catalog) return 0;
  if (catalog->Size() * 8 > size) std::abort();  // more messages than its tables hold
  (void)catalog->HeaderField("Language");
  // Every text is NUL-terminated inside the catalog: reading it runs to its end safely.
  for (size_t at = 0; at + 1 < size && at < 4096; at += 7) {
    const std::string key(bytes.c_str() + at);
    if (const char* text = catalog->Find(key)) (void)std::strlen(text);
  }
  return 0;
}
