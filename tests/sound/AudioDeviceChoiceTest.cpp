#include "sound/AudioDeviceChoice.h"

#include <gtest/gtest.h>

namespace kadeno {
namespace {

TEST(AudioDeviceChoice, ReadsEveryFormAndTakesStrayValuesAsTheDefault) {
  using K = AudioDeviceChoice::Kind;
  const std::tuple<const char*, K, std::string, int> cases[] = {
      {nullptr, K::Default, "", 0},
      {"", K::Default, "", 0},
      {"builtin", K::Default, "", 0},
      {"log:/tmp/midi.log", K::Log, "/tmp/midi.log", 0},
      {"log:C:\\Users\\Zo\xC3\xAB\\midi.log", K::Log, "C:\\Users\\Zo\xC3\xAB\\midi.log", 0},
      {"log:", K::Log, "", 0},
      {"none", K::None, "", 0},
      {"winmm:0", K::Device, "", 0},
      {"winmm:12", K::Device, "", 12},
      {"winmm:", K::Default, "", 0},
      {"winmm:-1", K::Default, "", 0},
      {"winmm:2x", K::Default, "", 0},
      {"winmm:99999999999", K::Default, "", 0},  // beyond an int
      {"LOG:/x", K::Default, "", 0},
      {"None", K::Default, "", 0},
  };
  for (const auto& [value, kind, path, device] : cases) {
    const AudioDeviceChoice c = ParseAudioDeviceChoice(value);
    EXPECT_EQ(std::tuple(c.kind, c.logPath, c.device), std::tuple(kind, path, device))
        << (value ? value : "(unset)");
  }
}

}  // namespace
}  // namespace kadeno
