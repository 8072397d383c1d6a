#include "support/FakeAudio.h"

#include "messagelog/MessageLogDevice.h"

namespace kadeno::test {

std::string MidiRecord::Hex() const {
  const std::string line = MessageLogLine(0, word);
  return line.substr(line.find(' ') + 1);
}

std::vector<int> FakeAudio::NotesOn(int channel, size_t from) const {
  std::vector<int> out;  // data byte 1 of each note-on
  for (size_t i = from; i < words.size(); ++i)
    if ((words[i].word & 0xFF) == (0x90u | channel)) out.push_back((words[i].word >> 8) & 0xFF);
  return out;
}

std::vector<std::string> FakeAudio::Hex(size_t from) const {
  std::vector<std::string> out;
  for (size_t i = from; i < words.size(); ++i) out.push_back(words[i].Hex());
  return out;
}

std::vector<int> FakeAudio::Pans(int channel, size_t from) const {
  std::vector<int> out;  // data byte 2 of each controller 10
  for (size_t i = from; i < words.size(); ++i)
    if ((words[i].word & 0xFFFF) == (0x0AB0u | channel)) out.push_back(words[i].word >> 16 & 0xFF);
  return out;
}

}  // namespace kadeno::test
