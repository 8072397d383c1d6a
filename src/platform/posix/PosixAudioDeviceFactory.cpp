// The choice of audio device, with or without the built-in synthesiser.
#include "posix/PosixAudioDeviceFactory.h"

#include <cstdio>

#include "messagelog/MessageLogDevice.h"
#include "sound/AbsentAudioDevice.h"
#include "sound/AudioDeviceChoice.h"

namespace kadeno {

std::unique_ptr<AudioDevice> MakePosixAudioDevice(const char* midiOut, BuiltinAudioDevice builtin) {
  // The system's numbered devices are Windows' own; here they are the built-in one.
  if (auto common = MakeCommonAudioDevice(ParseAudioDeviceChoice(midiOut))) return common;
  if (builtin != nullptr) return builtin();
  std::fputs(
      "kadeno: this build has no built-in synthesiser; KADENO_MIDI_OUT=log:PATH writes the "
      "MIDI messages to a file\n",
      stderr);
  return std::make_unique<AbsentAudioDevice>();
}

}  // namespace kadeno
