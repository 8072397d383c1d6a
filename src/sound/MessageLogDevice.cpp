// The message log behind the audio seam.
#include "sound/MessageLogDevice.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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
  if (fd_ >= 0) ::close(fd_);
}

int MessageLogDevice::Open() {
  if (fd_ < 0) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0) return 1;
    openedAt_ = std::chrono::steady_clock::now();
  }
  midiOpen_ = true;
  return 0;
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

// One write per line with O_APPEND: the line reaches the file whole and at once, so a
// test following the log never reads half a line or waits for a buffer to fill.
void MessageLogDevice::WriteLine(std::string line) {
  if (fd_ < 0) return;
  line += '\n';
  size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a full disk loses the line, never the game
    done += static_cast<size_t>(n);
  }
}

}  // namespace kadeno
