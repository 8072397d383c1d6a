// The choice of audio device, kept apart from main so that it can be tested.
#include "fluidsynth/FluidSynthDeviceFactory.h"

#include "fluidsynth/FluidSynthDevice.h"
#include "posix/PosixAudioDeviceFactory.h"

namespace kadeno {

std::unique_ptr<AudioDevice> MakeAudioDevice(const char* midiOut) {
  return MakePosixAudioDevice(midiOut, []() -> std::unique_ptr<AudioDevice> {
    return std::make_unique<FluidSynthDevice>();
  });
}

}  // namespace kadeno
