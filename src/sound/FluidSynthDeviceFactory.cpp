// The choice of audio device, kept apart from main so that it can be tested.
#include "sound/FluidSynthDeviceFactory.h"

#include "sound/AudioDeviceChoice.h"
#include "sound/FluidSynthDevice.h"
#include "sound/MessageLogDevice.h"

namespace kadeno {

std::unique_ptr<AudioDevice> MakeAudioDevice(const char* midiOut) {
  // The system's numbered devices are Windows' own; here they are the built-in one.
  if (auto common = MakeCommonAudioDevice(ParseAudioDeviceChoice(midiOut))) return common;
  return std::make_unique<FluidSynthDevice>();
}

}  // namespace kadeno
