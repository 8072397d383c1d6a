#include "messagelog/MessageLogDevice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "sound/MidiOut.h"
#include "support/TempFolder.h"

namespace kadeno {
namespace {

TEST(MessageLog, LineFormat) {
  const std::tuple<double, uint32_t, const char*> cases[] = {
      {1203.518, ProgramChangeWord(9, 0), "1203.518 C9 00"},  // one data byte
      {12.3456, PanWord(15, 45), "12.346 BF 0A 2D"},
      {7, 0xD3 | 0x40 << 8, "7.000 D3 40"},            // channel pressure: one data byte too
      {100000.25, 0xFF123490, "100000.250 90 34 12"},  // the top byte is no part of it
  };
  for (const auto& [ms, word, line] : cases) EXPECT_EQ(MessageLogLine(ms, word), line);
}

// Each call is one line, in the file at once, timed (under 5 s) from the open; waves by name.
TEST(MessageLog, AppendsOneLineAtOnceForEachCall) {
  const test::TempFolder own;
  const std::string path = own / "midi.log", missing = own / "missing/midi.log";
  const auto text = [&path] {  // as bytes: under Wine, a CR put in by the file's mode shows
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::ofstream(path, std::ios::binary) << "earlier run\n";
  MessageLogDevice log(path);
  log.SendShortMessage(NoteOnWord(0, 60, 1));  // not yet open: nowhere to go
  ASSERT_EQ(log.Open(), OpenResult::Ok);
  log.SendShortMessage(ProgramChangeWord(9, 0));
  EXPECT_TRUE(text().ends_with(" C9 00\n")) << "the line must be there before anything else";
  log.SendShortMessage(NoteOnWord(9, 36, 100));
  log.PlayWave("/opt/kadeno/TenMore.wav");
  log.Close();
  log.SendShortMessage(NoteOffWord(9, 36, 100));  // after the close: not sent, but waves are
  log.PlayWave("C:\\Games\\Kadeno\\AddFifty.wav");
  log.PlayWave("/a.dir/TenMore");
  log.StopWave();
  EXPECT_EQ(std::regex_replace(text(), std::regex(R"(\n[0-4]?\d{1,3}\.\d{3} )"), "\n"),
            "earlier run\nC9 00\n99 24 64\nwave TenMore\nwave AddFifty\nwave TenMore\nwave stop\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageLogDevice(missing).Open(), OpenResult::CannotWriteLog);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(missing), std::string::npos);
}

// A full disk (/dev/full) costs the lines and one line on stderr for the run, nothing else.
TEST(MessageLog, AFailingWriteIsSaidOnceAndTheGameGoesOn) {
  MessageLogDevice log("/dev/full");
  if (log.Open() != OpenResult::Ok) GTEST_SKIP() << "no /dev/full here";
  testing::internal::CaptureStderr();
  log.SendShortMessage(NoteOnWord(0, 60, 100));
  log.PlayWave("TenMore.wav");
  log.SendShortMessage(NoteOffWord(0, 60, 100));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "kadeno: the MIDI message log /dev/full cannot be written: No space left on device; "
            "going on without it\n");
}

}  // namespace
}  // namespace kadeno
