// Choosing the device and the soundfont, and start-up with nothing to play on.
#include <gtest/gtest.h>

#include <fstream>

#include "sound/FluidSynthDevice.h"
#include "sound/FluidSynthDeviceFactory.h"
#include "sound/MessageLogDevice.h"
#include "support/FakeWindow.h"
#include "support/Harness.h"

namespace kadeno {
namespace {

TEST(AudioDevices, ChosenByKadenoMidiOut) {
  for (const char* setting :
       {static_cast<const char*>(nullptr), "", "builtin", "nonsense", "LOG:/x"}) {
    EXPECT_TRUE(dynamic_cast<FluidSynthDevice*>(MakeAudioDevice(setting).get()))
        << (setting ? setting : "(unset)");
  }
  EXPECT_TRUE(dynamic_cast<MessageLogDevice*>(MakeAudioDevice("log:/tmp/k.log").get()));
  EXPECT_EQ(MakeAudioDevice("none")->DeviceCount(), 0);
}

std::string TempFile(const char* name, const char* text) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path) << text;
  return path;
}

TEST(AudioDevices, SoundfontChoice) {
  const std::string a = TempFile("a.sf2", "a"), b = TempFile("b.sf2", "b");
  const std::string missing = testing::TempDir() + "missing.sf2";
  const struct {
    const char* chosen;
    std::vector<std::string> candidates;
    std::string want;
  } cases[] = {
      {nullptr, {missing, b, a}, b}, {"", {a, b}, a},  // an empty setting counts as none
      {b.c_str(), {a}, b},                             // the setting wins
      {missing.c_str(), {a, b}, ""},  // and is not quietly replaced when it is wrong
      {nullptr, {missing}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseSoundfont(c.chosen, c.candidates), c.want);
}

std::unique_ptr<AudioDevice> Synth(std::string soundfont, std::vector<std::string> drivers) {
  FluidSynthOptions o;
  o.soundfont = std::move(soundfont);
  o.drivers = std::move(drivers);
  return std::make_unique<FluidSynthDevice>(o);
}

// The program's own message, then a clean end, through the start-up's own open.
TEST(AudioDevices, NothingToPlayOnEndsTheProgramWithItsMessage) {
  const std::string good = ChooseSoundfont(nullptr, DefaultSoundfonts());
  std::pair<const char*, std::unique_ptr<AudioDevice>> cases[] = {
      {"no soundfont", Synth("", {"alsa"})},
      {"soundfont gone", Synth(testing::TempDir() + "gone.sf2", {"alsa"})},
      {"broken soundfont", Synth(TempFile("broken.sf2", "RIFF but no soundfont"), {"alsa"})},
      {"no audio driver", Synth(good, {})},
      {"no audio output opens", Synth(good, {"no-such-driver", "nor-this"})},
      {"none", MakeAudioDevice("none")},
      {"unwritable log", MakeAudioDevice("log:/no/such/folder/midi.log")},
  };
  for (auto& [what, device] : cases) {
    test::FakeWindow window;
    MainForm form(window, *device);
    window.Reply(Answer::Ok, "The Midi device is already in use by another program.");
    EXPECT_THROW(form.OpenMidiOut(), test::ProgramEnded) << what;
    EXPECT_EQ(window.Prompts().size(), 1u) << what;
    device->SendShortMessage(NoteOnWord(0, 60, 100));  // nothing is open: must be harmless
  }
}

}  // namespace
}  // namespace kadeno
