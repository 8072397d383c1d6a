// The audio seam on Windows: MIDI through the system's MIDI output (winmm), the MIDI
// mapper unless a device is named, and waves through the system's wave player.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "retry/Reconnect.h"
#include "seams/AudioDevice.h"

namespace kadeno {

// The system calls the device makes, as plain functions so that the tests can stand in
// for them (a real device cannot be removed under Wine). Results are winmm's MMRESULT.
struct WinmmCalls {
  std::function<unsigned(int device, uintptr_t* handle)> open;  // device -1: the mapper
  std::function<unsigned(uintptr_t handle, uint32_t word)> shortMessage;
  std::function<void(uintptr_t handle)> close;
  std::function<std::string(unsigned result)> errorText;
  std::function<unsigned()> deviceCount;
  // False when the wave player refused a file that is there.
  std::function<bool(const std::string& path)> playWave;
  std::function<void()> stopWave;
  std::function<std::chrono::steady_clock::time_point()> now;

  static WinmmCalls System();
};

class Win32AudioDevice : public AudioDevice {
 public:
  // The MIDI mapper, or device n of the system's MIDI outputs.
  static constexpr int kMidiMapper = -1;
  explicit Win32AudioDevice(int device = kMidiMapper, WinmmCalls calls = WinmmCalls::System());
  ~Win32AudioDevice() override;
  Win32AudioDevice(const Win32AudioDevice&) = delete;
  Win32AudioDevice& operator=(const Win32AudioDevice&) = delete;

  int DeviceCount() override;
  // DeviceInUse when another program has the device, NoDevice when there is no such
  // device, DeviceFailed for any other refusal; the system's own text goes to stderr.
  OpenResult Open() override;
  // When the device reports that it is gone (unplugged, its driver restarted), the next
  // note opens the same device again, no sooner than 2 s after the last failure, and
  // sends it the instruments and controllers the old one had been given; notes before
  // that are dropped. One line on stderr when it is lost, one when it is back.
  void SendShortMessage(uint32_t word) override;
  void Close() override;
  void PlayWave(const std::string& path) override;
  void StopWave() override;

 private:
  void Lose(unsigned result);
  bool Reopen();
  void Remember(uint32_t word);
  std::string Name() const;

  int device_;
  WinmmCalls calls_;
  uintptr_t handle_ = 0;  // the HMIDIOUT while open
  bool open_ = false;     // opened by Open, and not closed since
  bool lost_ = false;     // the device said it is gone; the next note opens it again
  ReconnectPacer pacer_{std::chrono::seconds(2)};
  // What a new device must be told to sound as the old one: the last program and the
  // last value of each controller on each channel, -1 for none yet.
  std::array<int8_t, 16> programs_;
  std::array<std::array<int8_t, 128>, 16> controllers_;
};

// Chooses the device from the value of KADENO_MIDI_OUT: null, empty or "builtin" for the
// MIDI mapper, "winmm:N" for device N, "log:PATH" for the message log, "none" for none.
std::unique_ptr<AudioDevice> MakeWin32AudioDevice(const char* midiOut);

}  // namespace kadeno
