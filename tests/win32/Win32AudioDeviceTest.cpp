// The device KADENO_MIDI_OUT chooses on Windows, and how it finds its MIDI output again
// when the output goes away, with winmm's calls stood in for on a virtual clock.
#include "win32/Win32AudioDevice.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "messagelog/MessageLogDevice.h"
#include "sound/MidiOut.h"
#include "win32/Win32Api.h"

namespace kadeno {
namespace {

using namespace std::chrono_literals;

TEST(Win32Audio, ChosenByKadenoMidiOut) {
  EXPECT_TRUE(dynamic_cast<Win32AudioDevice*>(MakeWin32AudioDevice("").get()));
  EXPECT_TRUE(dynamic_cast<Win32AudioDevice*>(MakeWin32AudioDevice(nullptr).get()));
  EXPECT_TRUE(dynamic_cast<MessageLogDevice*>(MakeWin32AudioDevice("log:C:\\midi.log").get()));
  EXPECT_EQ(MakeWin32AudioDevice("none")->DeviceCount(), 0);
  // Device 4000 is there on no machine: the system's own "bad device" comes back.
  auto device = MakeWin32AudioDevice("winmm:4000");
  EXPECT_EQ(device->Open(), OpenResult::NoDevice);
  device->SendShortMessage(0x7F3C90);  // not open: goes nowhere
}

// winmm as the device sees it: every call written down, the results scripted.
struct FakeWinmm {
  std::chrono::steady_clock::time_point now{std::chrono::hours(5)};
  std::vector<std::string> calls;
  std::deque<unsigned> openResults;  // then MMSYSERR_NOERROR
  std::deque<unsigned> sendResults;  // then MMSYSERR_NOERROR
  bool waveRefused = false;
  uintptr_t handles = 0;

  WinmmCalls Calls() {
    WinmmCalls c;
    c.open = [this](int device, uintptr_t* handle) {
      calls.push_back("open " + std::to_string(device));
      const unsigned r = Next(openResults);
      *handle = r == MMSYSERR_NOERROR ? ++handles : 0;
      return r;
    };
    c.shortMessage = [this](uintptr_t handle, uint32_t word) {
      char text[32];
      std::snprintf(text, sizeof text, "%u: %06X", static_cast<unsigned>(handle),
                    static_cast<unsigned>(word));
      calls.push_back(text);
      return Next(sendResults);
    };
    c.close = [this](uintptr_t handle) { calls.push_back("close " + std::to_string(handle)); };
    c.errorText = [](unsigned r) { return "error " + std::to_string(r); };
    c.deviceCount = [] { return 2u; };
    c.playWave = [this](const std::string& path) {
      calls.push_back("wave " + path);
      return !waveRefused;
    };
    c.stopWave = [] {};
    c.now = [this] { return now; };
    return c;
  }
  static unsigned Next(std::deque<unsigned>& results) {
    if (results.empty()) return MMSYSERR_NOERROR;
    const unsigned r = results.front();
    results.pop_front();
    return r;
  }
};

using Calls = std::vector<std::string>;

// Device 1 set up as a game does, then a note the driver refuses as gone.
struct LostDevice : testing::Test {
  void SetUp() override {
    ASSERT_EQ(device.Open(), OpenResult::Ok);
    device.SendShortMessage(ProgramChangeWord(5, 24));
    device.SendShortMessage(PanWord(5, 45));
    device.SendShortMessage(PanWord(5, 101));  // the newer pan is the one to keep
    device.SendShortMessage(NoteOnWord(5, 60, 100));
    winmm.calls.clear();
    testing::internal::CaptureStderr();
    winmm.sendResults = {lostWith};
    device.SendShortMessage(NoteOnWord(5, 62, 100));
  }
  std::string Said() { return testing::internal::GetCapturedStderr(); }

  unsigned lostWith = MIDIERR_NODEVICE;
  FakeWinmm winmm;
  Win32AudioDevice device{1, winmm.Calls()};
};

// The first reopen, two seconds on, fails; the next waits two seconds more.
TEST_F(LostDevice, ReopensTheSameDeviceTwoSecondsOnWithItsInstrumentsAndPans) {
  winmm.openResults = {MMSYSERR_NODRIVER};
  winmm.now += 1999ms;
  device.SendShortMessage(NoteOnWord(5, 64, 100));  // too soon: dropped
  winmm.now += 1ms;
  device.SendShortMessage(NoteOnWord(5, 65, 100));
  winmm.now += 1s;
  device.SendShortMessage(NoteOnWord(5, 67, 100));
  winmm.now += 1s;
  device.SendShortMessage(NoteOnWord(5, 69, 100));
  device.SendShortMessage(NoteOffWord(5, 69, 100));
  device.Close();
  EXPECT_EQ(winmm.calls, (Calls{"1: 643E95", "close 1", "open 1", "open 1", "2: 0018C5",
                                "2: 650AB5", "2: 644595", "2: 644585", "close 2"}));
  EXPECT_EQ(Said(),
            "kadeno: MIDI output 1 is gone: error 68 (68); opening it again at the next note\n"
            "kadeno: MIDI output 1 is back\n");
}

struct NotGone : LostDevice {
  NotGone() { lostWith = MIDIERR_NOTREADY; }
};

TEST_F(NotGone, ABusyDeviceIsKept) {
  winmm.now += 3s;
  device.SendShortMessage(NoteOnWord(5, 64, 100));
  EXPECT_EQ(winmm.calls, (Calls{"1: 643E95", "1: 644095"}));
  EXPECT_EQ(Said(), "");
}

// A wave refused though its file is there: the sound device, and the MIDI output with it,
// went away.
TEST(Win32Audio, ARefusedWaveReopensTheMapperAtTheNextNoteDue) {
  FakeWinmm winmm;
  Win32AudioDevice device(Win32AudioDevice::kMidiMapper, winmm.Calls());
  ASSERT_EQ(device.Open(), OpenResult::Ok);
  testing::internal::CaptureStderr();
  device.PlayWave("TenMore.wav");
  winmm.waveRefused = true;
  device.PlayWave("AddFifty.wav");
  device.PlayWave("AddFifty.wav");
  winmm.now += 2s;
  device.SendShortMessage(NoteOnWord(9, 36, 100));
  EXPECT_EQ(winmm.calls, (Calls{"open -1", "wave TenMore.wav", "wave AddFifty.wav", "close 1",
                                "wave AddFifty.wav", "open -1", "2: 642499"}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "kadeno: MIDI output mapper is gone: error 6 (6); opening it again at the next note\n"
            "kadeno: MIDI output mapper is back\n");
}

}  // namespace
}  // namespace kadeno
