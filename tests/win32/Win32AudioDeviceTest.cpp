// The device KADENO_MIDI_OUT chooses on Windows, and start-up when it cannot be opened.
#include "win32/Win32AudioDevice.h"

#include <gtest/gtest.h>

#include "messagelog/MessageLogDevice.h"
#include "shell/MainForm.h"
#include "support/FakeWindow.h"
#include "win32/Win32Api.h"

namespace kadeno {
namespace {

TEST(Win32Audio, ChosenByKadenoMidiOut) {
  for (const char* setting : {"", "builtin", "winmm:", "winmm:x", "LOG:/x"}) {
    EXPECT_TRUE(dynamic_cast<Win32AudioDevice*>(MakeWin32AudioDevice(setting).get())) << setting;
  }
  EXPECT_TRUE(dynamic_cast<Win32AudioDevice*>(MakeWin32AudioDevice(nullptr).get()));
  EXPECT_TRUE(dynamic_cast<MessageLogDevice*>(MakeWin32AudioDevice("log:C:\\midi.log").get()));
  EXPECT_EQ(MakeWin32AudioDevice("none")->DeviceCount(), 0);
}

// Device 4000 is there on no machine: the system's own "bad device" comes back, and the
// program says its piece and ends, as it does when another program has the device.
TEST(Win32Audio, ADeviceThatCannotBeOpenedGivesTheProgramsMessage) {
  auto device = MakeWin32AudioDevice("winmm:4000");
  EXPECT_EQ(device->Open(), OpenResult::NoDevice);
  device->SendShortMessage(0x7F3C90);  // not open: goes nowhere
  device->Close();
  test::FakeWindow window;
  MainForm form(window, *device);
  window.Reply(Answer::Ok, "The Midi device is already in use by another program.");
  EXPECT_THROW(form.voices().OpenMidiOut(), test::ProgramEnded);
  EXPECT_EQ(window.PendingReplies(), 0u);
  EXPECT_FALSE(form.voices().IsOpen());
}

}  // namespace
}  // namespace kadeno
