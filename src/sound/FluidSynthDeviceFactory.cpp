// The choice of audio device, kept apart from main so that it can be tested.
#include "sound/FluidSynthDeviceFactory.h"

#include "sound/FluidSynthDevice.h"
#include "sound/PosixAudioDeviceFactory.h"

namespace kadeno {

std::unique_ptr<AudioDevice> MakeAudioDevice(const char* midiOut) {
  return MakePosixAudioDevice(midiOut, []() -> std::unique_ptr<AudioDevice> {
    return std::make_unique<FluidSynthDevice>();
  });
}

}  // namespace kadeno
