// Chooses the audio device from the value of KADENO_MIDI_OUT.
#pragma once

#include <memory>

#include "seams/AudioDevice.h"

namespace kadeno {

// Null, empty or "builtin": the built-in synthesiser (KADENO_SOUNDFONT may name its
// soundfont). "log:PATH": the message log at PATH. "none": no device at all. Any other
// value is taken as "builtin", so a stray setting never leaves a player without sound.
std::unique_ptr<AudioDevice> MakeAudioDevice(const char* midiOut);

}  // namespace kadeno
