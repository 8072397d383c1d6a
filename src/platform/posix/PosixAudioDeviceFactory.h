// Chooses the audio device from the value of KADENO_MIDI_OUT on a build that may or may
// not have the built-in synthesiser.
#pragma once

#include <memory>

#include "seams/AudioDevice.h"

namespace kadeno {

// Makes the built-in synthesiser; null on a build without one.
using BuiltinAudioDevice = std::unique_ptr<AudioDevice> (*)();

// "log:PATH": the message log at PATH. "none": no device at all. Anything else (unset,
// empty, "builtin" or a stray value): the built-in device; on a build without one there
// is nothing to play on, and one line on stderr says why.
std::unique_ptr<AudioDevice> MakePosixAudioDevice(const char* midiOut, BuiltinAudioDevice builtin);

}  // namespace kadeno
