// The choice of audio device, kept apart from main so that it can be tested.
#include "sound/FluidSynthDeviceFactory.h"

#include <string_view>

#include "sound/AbsentAudioDevice.h"
#include "sound/FluidSynthDevice.h"
#include "sound/MessageLogDevice.h"

namespace kadeno {

std::unique_ptr<AudioDevice> MakeAudioDevice(const char* midiOut) {
  const std::string_view choice = midiOut != nullptr ? midiOut : "";
  constexpr std::string_view kLog = "log:";
  if (choice.starts_with(kLog)) {
    return std::make_unique<MessageLogDevice>(std::string(choice.substr(kLog.size())));
  }
  if (choice == "none") return std::make_unique<AbsentAudioDevice>();
  return std::make_unique<FluidSynthDevice>();
}

}  // namespace kadeno
