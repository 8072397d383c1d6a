// Choosing the device and the soundfont, and start-up with nothing to play on.
#include <gtest/gtest.h>

#include <fstream>

#include "fluidsynth/FluidSynthDevice.h"
#include "fluidsynth/FluidSynthDeviceFactory.h"
#include "support/Harness.h"

namespace kadeno {
namespace {

TEST(AudioDevices, ChosenByKadenoMidiOutAndKadenoSoundfont) {
  for (const char* setting : {"", "builtin", "LOG:/x"})  // any other value is the built-in one
    EXPECT_TRUE(dynamic_cast<FluidSynthDevice*>(MakeAudioDevice(setting).get())) << setting;
  EXPECT_EQ(MakeAudioDevice("none")->DeviceCount(), 0);
  const std::string a = testing::TempDir() + "a.sf2", gone = testing::TempDir() + "gone.sf2";
  std::ofstream(a) << "a";
  EXPECT_EQ(ChooseSoundfont(nullptr, {gone, a}), a);
  EXPECT_EQ(ChooseSoundfont("", {a}), a);  // an empty setting counts as none
  EXPECT_EQ(ChooseSoundfont(a.c_str(), {gone}), a);
  EXPECT_EQ(ChooseSoundfont(gone.c_str(), {a}), "");  // a wrong setting is not quietly replaced
}

TEST(AudioDevices, NothingToPlayOnEndsTheProgramWithItsMessage) {
  const std::string good = ChooseSoundfont(nullptr, DefaultSoundfonts()),
                    broken = testing::TempDir() + "broken.sf2";
  std::ofstream(broken) << "RIFF but no soundfont";
  const auto synth = [](FluidSynthOptions o) { return std::make_unique<FluidSynthDevice>(o); };
  std::pair<const char*, std::unique_ptr<AudioDevice>> cases[] = {
      {"no soundfont, offline", synth({.soundfont = "", .audioOutput = false})},
      {"broken soundfont, offline", synth({.soundfont = broken, .audioOutput = false})},
      {"no audio driver", synth({.soundfont = good, .drivers = {}})},
      {"no audio output opens", synth({.soundfont = good, .drivers = {"no-such", "nor-this"}})},
      {"none", MakeAudioDevice("none")},
      {"unwritable log", MakeAudioDevice("log:/no/such/folder/midi.log")},
  };
  for (auto& [what, device] : cases) {
    test::FakeWindow window;
    MainForm form(window, *device);
    window.Reply(Answer::Ok, "The Midi device is already in use by another program.");
    EXPECT_THROW(form.voices().OpenMidiOut(), test::ProgramEnded) << what;
    EXPECT_EQ(window.Prompts().size(), 1u) << what;
    device->SendShortMessage(NoteOnWord(0, 60, 100));  // nothing is open: must be harmless
  }
}

}  // namespace
}  // namespace kadeno
