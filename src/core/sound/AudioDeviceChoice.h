// What the player's KADENO_MIDI_OUT asks for, read the same way on every platform.
#pragma once

#include <string>

namespace kadeno {

struct AudioDeviceChoice {
  enum class Kind {
    Default,  // unset, empty, "builtin" or anything unknown: the platform's usual output
    Log,      // "log:PATH": the message log at PATH
    None,     // "none": nothing to play on
    Device,   // "winmm:N": the system's MIDI output device N, counted from 0
  };
  Kind kind = Kind::Default;
  std::string logPath;
  int device = 0;
};

// A stray value never leaves a player without sound: it reads as the default.
AudioDeviceChoice ParseAudioDeviceChoice(const char* midiOut);

}  // namespace kadeno
