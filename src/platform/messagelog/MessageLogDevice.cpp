// The message log behind the audio seam.
#include "messagelog/MessageLogDevice.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "messagelog/LogFile.h"
#include "sound/AbsentAudioDevice.h"

namespace kadeno {

std::string MessageLogLine(double msSinceOpen, uint32_t word) {
  const unsigned status = word & 0xFF;
  const unsigned data1 = (word >> 8) & 0xFF;
  const unsigned data2 = (word >> 16) & 0xFF;
  const bool oneDataByte = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0;
  char buf[64];
  if (oneDataByte) {
    std::snprintf(buf, sizeof buf, "%.3f %02X %02X", msSinceOpen, status, data1);
  } else {
    std::snprintf(buf, sizeof buf, "%.3f %02X %02X %02X", msSinceOpen, status, data1, data2);
  }
  return buf;
}

std::string WaveLogName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

MessageLogDevice::~MessageLogDevice() {
  if (file_ != nullptr) std::fclose(file_);
}

OpenResult MessageLogDevice::Open() {
  if (file_ == nullptr) {
    file_ = OpenLogFileForAppend(path_);
    if (file_ == nullptr) {
      const int error = errno;
      std::fprintf(stderr, "kadeno: the MIDI message log %s cannot be opened: %s\n", path_.c_str(),
                   std::strerror(error));
      return OpenResult::CannotWriteLog;
    }
    openedAt_ = std::chrono::steady_clock::now();
  }
  midiOpen_ = true;
  return OpenResult::Ok;
}

void MessageLogDevice::SendShortMessage(uint32_t word) {
  if (midiOpen_) WriteLine(MessageLogLine(MsSinceOpen(), word));
}

void MessageLogDevice::Close() { midiOpen_ = false; }

void MessageLogDevice::PlayWave(const std::string& path) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%.3f", MsSinceOpen());
  WriteLine(std::string(stamp) + " wave " + WaveLogName(path));
}

void MessageLogDevice::StopWave() {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%.3f", MsSinceOpen());
  WriteLine(std::string(stamp) + " wave stop");
}

double MessageLogDevice::MsSinceOpen() const {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - openedAt_)
      .count();
}

// Each line is flushed as it is written: it reaches the file whole (one write of less than
// a buffer, in append mode) and at once, so a test following the log never reads half a
// line or waits for a buffer to fill.
void MessageLogDevice::WriteLine(std::string line) {
  if (file_ == nullptr) return;
  line += '\n';
  // A full disk loses the line, never the game; the first loss is said, once a run, so
  // that a log cut short is not taken for the whole game.
  errno = 0;
  const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size();
  const bool flushed = std::fflush(file_) == 0;
  if (written && flushed) return;
  const int error = errno;
  std::clearerr(file_);
  if (writeFailed_) return;
  writeFailed_ = true;
  std::fprintf(stderr,
               "kadeno: the MIDI message log %s cannot be written: %s; going on without it\n",
               path_.c_str(), error != 0 ? std::strerror(error) : "unknown error");
}

std::unique_ptr<AudioDevice> MakeCommonAudioDevice(const AudioDeviceChoice& choice) {
  switch (choice.kind) {
    case AudioDeviceChoice::Kind::Log:
      return std::make_unique<MessageLogDevice>(choice.logPath);
    case AudioDeviceChoice::Kind::None:
      return std::make_unique<AbsentAudioDevice>();
    default:
      return nullptr;
  }
}

}  // namespace kadeno
