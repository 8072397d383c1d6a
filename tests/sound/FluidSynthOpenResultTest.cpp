// What the built-in synthesiser answers and says when it cannot open.
#include <gtest/gtest.h>

#include <algorithm>

#include "fluidsynth/FluidSynthDevice.h"

namespace kadeno {
namespace {

TEST(FluidSynthOpen, NamesItsResultAndSaysWhyInOneLine) {
  const std::string font = ChooseSoundfont(nullptr, DefaultSoundfonts());
  const struct {
    FluidSynthOptions options;
    OpenResult result;
    std::vector<std::string> said;  // each in the one line
  } cases[] = {
      {{.soundfont = ""}, OpenResult::NoSoundfont, {"no soundfont"}},
      {{.soundfont = font, .drivers = {"no-such", "nor-this"}},
       OpenResult::NoOutput,
       {"no audio output opened (no-such: ", "; nor-this: "}},
  };
  for (const auto& c : cases) {
    FluidSynthDevice device(c.options);
    testing::internal::CaptureStderr();
    EXPECT_EQ(device.Open(), c.result);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    for (const std::string& part : c.said) EXPECT_NE(said.find(part), std::string::npos) << said;
  }
}

}  // namespace
}  // namespace kadeno
