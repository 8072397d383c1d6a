// The device KADENO_MIDI_OUT chooses on Windows.
#include "win32/Win32AudioDevice.h"

#include <gtest/gtest.h>

#include "messagelog/MessageLogDevice.h"
#include "win32/Win32Api.h"

namespace kadeno {
namespace {

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

}  // namespace
}  // namespace kadeno
