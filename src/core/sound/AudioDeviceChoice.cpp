// Reading KADENO_MIDI_OUT.
#include "sound/AudioDeviceChoice.h"

#include <charconv>
#include <string_view>

namespace kadeno {

AudioDeviceChoice ParseAudioDeviceChoice(const char* midiOut) {
  const std::string_view value = midiOut != nullptr ? midiOut : "";
  constexpr std::string_view kLog = "log:", kDevice = "winmm:";
  AudioDeviceChoice choice;
  if (value.starts_with(kLog)) {
    choice.kind = AudioDeviceChoice::Kind::Log;
    choice.logPath = value.substr(kLog.size());
  } else if (value == "none") {
    choice.kind = AudioDeviceChoice::Kind::None;
  } else if (value.starts_with(kDevice)) {
    const std::string_view number = value.substr(kDevice.size());
    int n = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (error == std::errc() && end == number.data() + number.size() && !number.empty() && n >= 0) {
      choice.kind = AudioDeviceChoice::Kind::Device;
      choice.device = n;
    }
  }
  return choice;
}

}  // namespace kadeno
