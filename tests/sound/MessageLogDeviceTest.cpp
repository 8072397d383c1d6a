#include "sound/MessageLogDevice.h"

#include <gtest/gtest.h>

#include <regex>

#include "sound/MidiOut.h"

namespace kadeno {
namespace {

TEST(MessageLog, LineFormat) {
  const struct {
    double ms;
    uint32_t word;
    const char* line;
  } cases[] = {
      {1203.518, ProgramChangeWord(9, 0), "1203.518 C9 00"},  // one data byte
      {1203.540, NoteOnWord(9, 36, 100), "1203.540 99 24 64"},
      {0.0, NoteOffWord(5, 69, 127), "0.000 85 45 7F"},
      {12.3456, PanWord(15, 45), "12.346 BF 0A 2D"},
      {7, 0xD3 | 0x40 << 8, "7.000 D3 40"},            // channel pressure: one data byte too
      {100000.25, 0xFF123490, "100000.250 90 34 12"},  // the top byte is no part of it
  };
  for (const auto& c : cases) EXPECT_EQ(MessageLogLine(c.ms, c.word), c.line);
}

TEST(MessageLog, WaveNames) {
  EXPECT_EQ(WaveLogName("/opt/kadeno/TenMore.wav"), "TenMore");
  EXPECT_EQ(WaveLogName("C:\\Games\\Kadeno\\AddFifty.wav"), "AddFifty");
  EXPECT_EQ(WaveLogName("/a.dir/TenMore"), "TenMore");
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> out;
  std::FILE* f = std::fopen(path.c_str(), "r");
  char buf[256];
  while (f && std::fgets(buf, sizeof buf, f)) out.emplace_back(buf);
  if (f) std::fclose(f);
  return out;
}

TEST(MessageLog, AppendsOneLineAtOnceForEachCall) {
  const std::string path = testing::TempDir() + "kadeno-midi.log";
  std::FILE* f = std::fopen(path.c_str(), "w");
  std::fputs("earlier run\n", f);
  std::fclose(f);

  MessageLogDevice log(path);
  log.SendShortMessage(NoteOnWord(0, 60, 1));  // not yet open: nowhere to go
  ASSERT_EQ(log.DeviceCount(), 1);
  ASSERT_EQ(log.Open(), 0);
  log.SendShortMessage(ProgramChangeWord(9, 0));
  EXPECT_EQ(Lines(path).size(), 2u) << "the line must be in the file before anything else happens";
  log.SendShortMessage(NoteOnWord(9, 36, 100));
  log.PlayWave("/opt/kadeno/TenMore.wav");
  log.Close();
  log.SendShortMessage(NoteOffWord(9, 36, 100));  // after the close: not sent
  log.StopWave();

  const std::vector<std::string> lines = Lines(path);
  const std::vector<std::string> tails = {"C9 00\n", "99 24 64\n", "wave TenMore\n", "wave stop\n"};
  ASSERT_EQ(lines.size(), 1 + tails.size());
  EXPECT_EQ(lines[0], "earlier run\n");
  double last = 0;
  for (size_t i = 0; i < tails.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i + 1], m, std::regex(R"((\d+\.\d{3}) (.*\n))")))
        << lines[i + 1];
    EXPECT_EQ(m[2], tails[i]);
    EXPECT_GE(std::stod(m[1]), last);
    EXPECT_LT(std::stod(m[1]), 5000) << "counted from the open";
    last = std::stod(m[1]);
  }
}

}  // namespace
}  // namespace kadeno
