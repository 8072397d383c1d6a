// The choice of audio device, kept apart from main so that it can be tested.
#include "sound/FluidSynthDeviceFactory.h"

#include "sound/AbsentAudioDevice.h"
#include "sound/AudioDeviceChoice.h"
#include "sound/FluidSynthDevice.h"
#include "sound/MessageLogDevice.h"

namespace kadeno {

std::unique_ptr<AudioDevice> MakeAudioDevice(const char* midiOut) {
  // The system's numbered devices are Windows' own; here they are the built-in one.
  const AudioDeviceChoice choice = ParseAudioDeviceChoice(midiOut);
  switch (choice.kind) {
    case AudioDeviceChoice::Kind::Log:
      return std::make_unique<MessageLogDevice>(choice.logPath);
    case AudioDeviceChoice::Kind::None:
      return std::make_unique<AbsentAudioDevice>();
    default:
      return std::make_unique<FluidSynthDevice>();
  }
}

}  // namespace kadeno
