// The audio seam: one MIDI output device taking packed short messages, and a wave
// player. Implementations: the built-in synthesiser, a message log, and none at all.
#pragma once

#include <cstdint>
#include <string>

namespace kadeno {

// What opening the MIDI output came to.
enum class OpenResult {
  Ok,
  NoSoundfont,     // the built-in synthesiser has no soundfont it can load
  NoOutput,        // no audio output of the built-in synthesiser opens
  CannotWriteLog,  // the message log's file cannot be opened
  NoDevice,        // there is nothing to play on, or no such device
  DeviceInUse,     // another program has the device
  DeviceFailed,    // the system's MIDI output refused for another reason
};

// Its name, for messages on stderr: "ok", "no soundfont", ...
const char* OpenResultName(OpenResult result);

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // Number of MIDI output devices; 0 means there is nothing to play on.
  virtual int DeviceCount() = 0;
  // Opens the default output ("the MIDI mapper"); Ok means open and usable. A device that
  // fails says why on stderr, in one line.
  virtual OpenResult Open() = 0;
  // One MIDI 1.0 channel message: status in bits 0-7, data 1 in bits 8-15, data 2 in 16-23.
  // Sounded at once, with no queueing the game's timing would notice.
  virtual void SendShortMessage(uint32_t word) = 0;
  // After close no more messages are sent; an audio thread is stopped before it returns.
  virtual void Close() = 0;

  // Plays a wave file without waiting; a new wave replaces one still playing.
  // A missing or broken file is silent.
  virtual void PlayWave(const std::string& path) = 0;
  // Stops whatever wave is playing.
  virtual void StopWave() = 0;
};

}  // namespace kadeno
