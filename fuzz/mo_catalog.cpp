// Feeds arbitrary bytes to the .mo reader, as a damaged or hostile catalog beside the
// program would. It must neither crash nor read outside them, and what it accepts must
// answer every lookup with a text inside the bytes it was given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "catalog/MoCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto catalog = kadeno::MoCatalog::Parse(bytes);
  if (!catalog) return 0;
  if (catalog->Size() * 8 > size) std::abort();  // more messages than its tables hold
  (void)catalog->HeaderField("Language");
  // Every msgid is a NUL-terminated string somewhere in the bytes, so trying the string at
  // each offset asks for each of them. Every text found is NUL-terminated inside the
  // catalog's copy of the bytes: reading it runs to its end safely, and it is found in them.
  for (size_t at = 0; at + 1 < size && at < 4096; ++at) {
    const char* text = catalog->Find(bytes.c_str() + at);
    if (text != nullptr && bytes.find(std::string_view(text, std::strlen(text))) == bytes.npos)
      std::abort();
  }
  return 0;
}
