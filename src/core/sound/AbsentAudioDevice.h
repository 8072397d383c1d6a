// The device for KADENO_MIDI_OUT=none: there is nothing to play on, so the program says
// so at start-up and ends.
#pragma once

#include "seams/AudioDevice.h"

namespace kadeno {

class AbsentAudioDevice : public AudioDevice {
 public:
  int DeviceCount() override { return 0; }
  OpenResult Open() override { return OpenResult::NoDevice; }
  void SendShortMessage(uint32_t) override {}
  void Close() override {}
  void PlayWave(const std::string&) override {}
  void StopWave() override {}
};

}  // namespace kadeno
