// The .mo reader given any bytes, as a damaged catalog beside the program would: no crash,
// no read outside them, and every text it finds lies inside them.
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
  // Every msgid is a NUL-terminated string in the bytes: the string at each offset asks for
  // them all. A text found ends with a NUL inside the catalog's copy, so strlen is safe.
  for (size_t at = 0; at + 1 < size && at < 4096; ++at) {
    const char* text = catalog->Find(bytes.c_str() + at);
    if (text != nullptr && bytes.find(std::string_view(text, std::strlen(text))) == bytes.npos)
      std::abort();
  }
  return 0;
}
