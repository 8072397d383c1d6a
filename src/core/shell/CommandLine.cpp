#include "shell/CommandLine.h"

#include "seams/Translate.h"

namespace kadeno {

namespace {

constexpr const char* kHelp =
    // TRANSLATORS: kadeno --help. Keep the options, the variables' names and values (builtin,
    // log:PATH, none, auto, on, off), the paths and "kadeno(6)" as they are, the menu names as
    // the menus are translated, and a line end (\n) after every line.
    N_("Usage: kadeno [--help | --version]\n"
       "\n"
       "Kadeno is a musical game of tumbla played entirely by ear. Falling notes are\n"
       "heard across seven stereo columns; steer them with the arrow keys and build\n"
       "chords and scales. Every word the game says is a box a screen reader reads.\n"
       "With no arguments the game starts; a first start plays with the sound settings\n"
       "it comes with, and Midi > Set Midi Back to Default brings them back.\n"
       "\n"
       "  --help     print this help and exit\n"
       "  --version  print the version and exit\n"
       "\n"
       "Environment:\n"
       "  KADENO_MIDI_OUT   builtin (default): the built-in synthesiser;\n"
       "                    log:PATH: no sound, every MIDI message appended to PATH;\n"
       "                    none: no MIDI device\n"
       "  KADENO_SOUNDFONT  the .sf2 or .sf3 soundfont of the built-in synthesiser\n"
       "                    (default: /usr/share/sounds/sf2/TimGM6mb.sf2)\n"
       "  KADENO_SPEECH     auto (default): speak each box when no screen reader runs;\n"
       "                    on: always; off: never\n"
       "  KADENO_LANG       the language of the texts: de, fr, es, pt_BR, ru or en\n"
       "                    (default: the desktop's language)\n"
       "\n"
       "Files:\n"
       "  $XDG_CONFIG_HOME/kadeno/Kadeno.ini   settings, difficulty and hall of fame\n"
       "  $XDG_DATA_HOME/kadeno/registry.reg   the game's registry entries, which\n"
       "                                      Program > Uninstall Kadeno removes\n"
       "  Unset, XDG_CONFIG_HOME is ~/.config and XDG_DATA_HOME is ~/.local/share.\n"
       "  With no Kadeno.ini of your own, Kadeno starts from Kadeno-default.ini beside\n"
       "  its award sounds (/usr/share/kadeno when installed from the package).\n"
       "\n"
       "See kadeno(6) for the keys.\n");

// The version's text ends with the licence, as command-line programs' do.
const char kCopyright[] =
    "Copyright (c) 2026 The Kadeno developers\n"
    "Licence: MIT <https://opensource.org/license/mit>\n";

}  // namespace

CommandLineAnswer ReadCommandLine(const std::vector<std::string>& args,
                                  const std::string& version) {
  // An unknown argument anywhere is a mistake worth hearing about, even after --help.
  for (const std::string& arg : args) {
    if (arg != "--help" && arg != "--version") {
      // TRANSLATORS: On standard error; %1 is the argument as given.
      return {false, 2, "",
              Format(Tr("kadeno: unknown argument '%1' (try kadeno --help)"), {arg}) + "\n"};
    }
  }
  if (args.empty()) return {};
  if (args.front() == "--help") return {false, 0, Tr(kHelp), ""};
  return {false, 0, "kadeno " + version + "\n" + kCopyright, ""};
}

}  // namespace kadeno
