// Writes the default settings file that ships beside the program, run at build time:
//   kadeno_write_default_settings OUTPUT-FILE
// The text is the settings file's own, made by the program's own writer from the settings
// table, so it cannot disagree with Back to Default or the loader.
#include <cstdio>
#include <fstream>

#include "settings/Settings.h"
#include "settings/SettingsTable.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FILE\n", argv[0]);
    return 2;
  }
  const std::string text = kadeno::FormatSettingsFile(kadeno::ShippedSettings());
  // Binary, so that the CR LF endings stay as they are on every system.
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
