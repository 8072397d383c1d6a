// The silent audio device for KADENO_MIDI_OUT=log:PATH: every short message and wave call
// becomes one line appended to a file, so the program can be tested end to end, and
// followed live, without a sound card.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "seams/AudioDevice.h"
#include "sound/AudioDeviceChoice.h"

namespace kadeno {

// One log line without its newline: the milliseconds since the device was opened with
// three decimals, then the message's bytes in upper-case hex, e.g. "1203.540 99 24 64".
// A program change or channel pressure has one data byte.
std::string MessageLogLine(double msSinceOpen, uint32_t word);
// The name a wave line carries: the file's name without folder and extension.
std::string WaveLogName(const std::string& path);

// The devices every platform has: the message log for "log:PATH" and the absent device
// for "none". Null when the choice is the platform's own sound.
std::unique_ptr<AudioDevice> MakeCommonAudioDevice(const AudioDeviceChoice& choice);

class MessageLogDevice : public AudioDevice {
 public:
  explicit MessageLogDevice(std::string path) : path_(std::move(path)) {}
  ~MessageLogDevice() override;
  MessageLogDevice(const MessageLogDevice&) = delete;
  MessageLogDevice& operator=(const MessageLogDevice&) = delete;

  int DeviceCount() override { return 1; }
  // Opens the log for appending and starts its clock; CannotWriteLog, said on stderr, when
  // it cannot be opened.
  OpenResult Open() override;
  void SendShortMessage(uint32_t word) override;
  // Ends the MIDI messages. Wave lines are still written: the wave player is a service
  // of its own, and the program stops its waves after closing the MIDI output.
  void Close() override;
  void PlayWave(const std::string& path) override;
  void StopWave() override;

 private:
  double MsSinceOpen() const;
  void WriteLine(std::string line);

  std::string path_;
  std::FILE* file_ = nullptr;
  bool midiOpen_ = false;
  bool writeFailed_ = false;  // said on stderr already
  std::chrono::steady_clock::time_point openedAt_;
};

}  // namespace kadeno
