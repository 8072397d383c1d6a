#include "support/FakeAudio.h"

#include "messagelog/MessageLogDevice.h"

namespace kadeno::test {

std::string MidiRecord::Hex() const {
  const std::string line = MessageLogLine(0, word);
  return line.substr(line.find(' ') + 1);
}

std::vector<int> FakeAudio::NotesOn(int channel, size_t from) const {
  std::vector<int> out;
  for (size_t i = from; i < words.size(); ++i)
    if (words[i].Status() == 0x90 && words[i].Channel() == channel) out.push_back(words[i].Data1());
  return out;
}

std::vector<std::string> FakeAudio::Hex(size_t from) const {
  std::vector<std::string> out;
  for (size_t i = from; i < words.size(); ++i) out.push_back(words[i].Hex());
  return out;
}

std::vector<int> FakeAudio::Pans(int channel, size_t from) const {
  std::vector<int> out;
  for (size_t i = from; i < words.size(); ++i) {
    const MidiRecord& w = words[i];
    if (w.Status() == 0xB0 && w.Channel() == channel && w.Data1() == 10) out.push_back(w.Data2());
  }
  return out;
}

}  // namespace kadeno::test
