// The settings loader and NumericValue on any bytes: no crash; a save reads back the same.
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
  const std::string once = kadeno::FormatSettingsFile(s);
  kadeno::Settings again;
  kadeno::ParseSettingsFile(once, again);
  // The percentage, saved as floor(fraction x 100.1), drifts a step a save outside the
  // 0..100 the commands allow; compare the rest there.
  if (!(s.KeyboardScaling >= 0.0f && s.KeyboardScaling <= 1.0f)) {
    again.KeyboardScaling = s.KeyboardScaling;
  }
  if (kadeno::FormatSettingsFile(again) != once) std::abort();
  return 0;
}
