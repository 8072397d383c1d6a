// Choosing the device and the soundfont, and the paths where there is nothing to play on.
#include <gtest/gtest.h>

#include <cstdio>

#include "sound/AbsentAudioDevice.h"
#include "sound/FluidSynthDevice.h"
#include "sound/FluidSynthDeviceFactory.h"
#include "sound/MessageLogDevice.h"
#include "support/FakeWindow.h"
#include "support/Harness.h"

namespace kadeno {
namespace {

enum class Kind { Synth, Log, Absent };

TEST(MakeAudioDevice, ChoosesByTheSetting) {
  const struct {
    const char* setting;
    Kind kind;
  } cases[] = {
      {nullptr, Kind::Synth},        {"", Kind::Synth},
      {"builtin", Kind::Synth},      {"none", Kind::Absent},
      {"log:/tmp/k.log", Kind::Log}, {"LOG:/tmp/k.log", Kind::Synth},
      {"nonsense", Kind::Synth},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<AudioDevice> d = MakeAudioDevice(c.setting);
    const Kind got = dynamic_cast<MessageLogDevice*>(d.get())    ? Kind::Log
                     : dynamic_cast<AbsentAudioDevice*>(d.get()) ? Kind::Absent
                     : dynamic_cast<FluidSynthDevice*>(d.get())  ? Kind::Synth
                                                                 : Kind{-1};
    EXPECT_EQ(got, c.kind) << (c.setting ? c.setting : "(unset)");
  }
  EXPECT_EQ(MakeAudioDevice("none")->DeviceCount(), 0);
}

std::string TempFile(const char* name, const char* text) {
  const std::string path = testing::TempDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "w");
  std::fputs(text, f);
  std::fclose(f);
  return path;
}

TEST(FluidSynthDevice, ChoosesTheSoundfont) {
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

// Start-up then shows the program's own message and ends cleanly.
TEST(FluidSynthDevice, NoSoundfontOrNoAudioOutputEndsTheProgram) {
  const std::string broken = TempFile("broken.sf2", "RIFF but not really a soundfont");
  const std::string good = ChooseSoundfont(nullptr, DefaultSoundfonts());
  const struct {
    std::string soundfont;
    std::vector<std::string> drivers;
    int count, open;
  } cases[] = {
      {"", {"alsa"}, 0, 1},
      {testing::TempDir() + "gone.sf2", {"alsa"}, 1, 1},
      {broken, {"alsa"}, 1, 1},
      {good, {}, 1, 2},
      {good, {"no-such-driver", "file-but-not-really"}, 1, 2},
  };
  for (const auto& c : cases) {
    FluidSynthOptions o;
    o.soundfont = c.soundfont;
    o.drivers = c.drivers;
    FluidSynthDevice device(o);
    EXPECT_EQ(device.DeviceCount(), c.count) << c.soundfont;
    if (c.count > 0) {
      EXPECT_EQ(device.Open(), c.open) << c.soundfont;
    }

    test::FakeWindow window;
    MainForm form(window, device);
    window.Reply(Answer::Ok, "The Midi device is already in use by another program.");
    EXPECT_THROW(form.OpenMidiOut(), test::ProgramEnded);
    EXPECT_EQ(window.Prompts().size(), 1u);
    device.SendShortMessage(NoteOnWord(0, 60, 100));  // nothing open: must be harmless
  }
}

}  // namespace
}  // namespace kadeno
