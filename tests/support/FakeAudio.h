// A recording audio device: every MIDI word and wave call with its virtual time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "messagelog/MessageLogDevice.h"
#include "seams/AudioDevice.h"

namespace kadeno::test {

struct MidiRecord {
  int64_t timeMs;
  uint32_t word;
  // The bytes as the message log writes them, e.g. "99 24 64" or "C9 00".
  std::string Hex() const {
    const std::string line = MessageLogLine(0, word);
    return line.substr(line.find(' ') + 1);
  }
};

struct WaveRecord {
  int64_t timeMs;
  std::string path;        // empty for a stop
  size_t wordsBefore = 0;  // MIDI words sent before it, to find what led up to it
};

class FakeAudio : public AudioDevice {
 public:
  std::function<int64_t()> clock = [] { return int64_t{0}; };
  int deviceCount = 1;
  OpenResult openResult = OpenResult::Ok;
  bool isOpen = false;
  int opens = 0;
  int closes = 0;
  std::vector<MidiRecord> words;
  std::vector<WaveRecord> waves;

  // From the word at `from` on: the notes started on a channel, every word's hex, the pans.
  std::vector<int> NotesOn(int channel, size_t from = 0) const {
    return DataBytes(0xFF, 0x90u | channel, 8, from);
  }
  std::vector<std::string> Hex(size_t from = 0) const {
    std::vector<std::string> out;
    for (size_t i = from; i < words.size(); ++i) out.push_back(words[i].Hex());
    return out;
  }
  std::vector<int> Pans(int channel, size_t from = 0) const {
    return DataBytes(0xFFFF, 0x0AB0u | channel, 16, from);
  }

  int DeviceCount() override { return deviceCount; }
  OpenResult Open() override {
    ++opens;
    isOpen = openResult == OpenResult::Ok;
    return openResult;
  }
  void SendShortMessage(uint32_t word) override { words.push_back({clock(), word}); }
  void Close() override {
    ++closes;
    isOpen = false;
  }
  void PlayWave(const std::string& path) override {
    waves.push_back({clock(), path, words.size()});
  }
  void StopWave() override { waves.push_back({clock(), {}, words.size()}); }

 private:
  // The data byte at `shift` of each word whose bits under `mask` are `status`.
  std::vector<int> DataBytes(uint32_t mask, uint32_t status, int shift, size_t from) const {
    std::vector<int> out;
    for (size_t i = from; i < words.size(); ++i)
      if ((words[i].word & mask) == status) out.push_back(words[i].word >> shift & 0xFF);
    return out;
  }
};

}  // namespace kadeno::test
