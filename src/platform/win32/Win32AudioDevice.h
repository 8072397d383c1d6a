// The audio seam on Windows: MIDI through the system's MIDI output (winmm), the MIDI
// mapper unless a device is named, and waves through the system's wave player.
#pragma once

#include <cstdint>
#include <memory>

#include "seams/AudioDevice.h"

namespace kadeno {

class Win32AudioDevice : public AudioDevice {
 public:
  // The MIDI mapper, or device n of the system's MIDI outputs.
  static constexpr int kMidiMapper = -1;
  explicit Win32AudioDevice(int device = kMidiMapper) : device_(device) {}
  ~Win32AudioDevice() override;
  Win32AudioDevice(const Win32AudioDevice&) = delete;
  Win32AudioDevice& operator=(const Win32AudioDevice&) = delete;

  int DeviceCount() override;
  // DeviceInUse when another program has the device, NoDevice when there is no such
  // device, DeviceFailed for any other refusal; the system's own text goes to stderr.
  OpenResult Open() override;
  void SendShortMessage(uint32_t word) override;
  void Close() override;
  void PlayWave(const std::string& path) override;
  void StopWave() override;

 private:
  int device_;
  uintptr_t handle_ = 0;  // the HMIDIOUT while open
};

// Chooses the device from the value of KADENO_MIDI_OUT: null, empty or "builtin" for the
// MIDI mapper, "winmm:N" for device N, "log:PATH" for the message log, "none" for none.
std::unique_ptr<AudioDevice> MakeWin32AudioDevice(const char* midiOut);

}  // namespace kadeno
