// Choosing the built-in synthesiser and its soundfont, and what it says when it cannot open.
#include <gtest/gtest.h>

#include <fstream>

#include "fluidsynth/FluidSynthDevice.h"
#include "fluidsynth/FluidSynthDeviceFactory.h"
#include "sound/MidiOut.h"
#include "support/TempFolder.h"

namespace kadeno {
namespace {

TEST(FluidSynthDevices, ChosenByKadenoMidiOutAndKadenoSoundfont) {
  EXPECT_TRUE(dynamic_cast<FluidSynthDevice*>(MakeAudioDevice("").get()));
  const test::TempFolder own;
  const std::string a = own / "a.sf2", gone = own / "gone.sf2";
  std::ofstream(a) << "a";
  EXPECT_EQ(ChooseSoundfont(nullptr, {gone, a}), a);
  EXPECT_EQ(ChooseSoundfont("", {a}), a);  // an empty setting counts as none
  EXPECT_EQ(ChooseSoundfont(a.c_str(), {gone}), a);
  EXPECT_EQ(ChooseSoundfont(gone.c_str(), {a}), "");  // a wrong setting is not quietly replaced
}

TEST(FluidSynthDevices, NothingToPlayOnIsSaidInOneLine) {
  const test::TempFolder own;
  const std::string good = ChooseSoundfont(nullptr, DefaultSoundfonts()),
                    broken = own / "broken.sf2";
  std::ofstream(broken) << "RIFF but no soundfont";
  const struct {
    FluidSynthOptions options;
    OpenResult result;
    std::vector<std::string> said;  // each in the one line
  } cases[] = {
      {{.soundfont = "", .audioOutput = false}, OpenResult::NoSoundfont, {"no soundfont"}},
      {{.soundfont = broken, .audioOutput = false}, OpenResult::NoSoundfont, {"broken.sf2"}},
      {{.soundfont = good, .drivers = {}}, OpenResult::NoOutput, {"(none to try)"}},
      {{.soundfont = good, .drivers = {"no-such", "nor-this"}},
       OpenResult::NoOutput,
       {"no audio output opened (no-such: ", "; nor-this: "}},
  };
  for (const auto& c : cases) {
    FluidSynthDevice device(c.options);
    testing::internal::CaptureStderr();
    EXPECT_EQ(device.Open(), c.result);
    const std::string said = testing::internal::GetCapturedStderr();
    // FluidSynth's own messages go into our one line, but for the soundfont's loading.
    const auto lines = std::count(said.begin(), said.end(), '\n');
    EXPECT_EQ(c.options.soundfont == broken ? lines > 0 : lines == 1, true) << said;
    EXPECT_TRUE(said.find("kadeno: ") != said.npos &&
                said.find("kadeno: ") == said.rfind("kadeno: "))
        << said;
    for (const std::string& part : c.said) EXPECT_NE(said.find(part), std::string::npos) << said;
    device.SendShortMessage(NoteOnWord(0, 60, 100));  // nothing is open: must be harmless
  }
}

}  // namespace
}  // namespace kadeno
