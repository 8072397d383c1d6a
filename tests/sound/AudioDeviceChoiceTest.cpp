#include "sound/AudioDeviceChoice.h"

#include <gtest/gtest.h>

#include <map>

#include "support/TestData.h"

namespace kadeno {
namespace {

// tests/data/audio-device-choices.txt: every form, and stray values taken as the default.
TEST(AudioDeviceChoice, ReadsEveryFormAndTakesStrayValuesAsTheDefault) {
  using K = AudioDeviceChoice::Kind;
  const std::map<std::string, K> kinds = {
      {"Default", K::Default}, {"Log", K::Log}, {"None", K::None}, {"Device", K::Device}};
  for (const auto& row : test::TestRows("audio-device-choices.txt")) {
    const AudioDeviceChoice c =
        ParseAudioDeviceChoice(row[0] == "(unset)" ? nullptr : row[0].c_str());
    EXPECT_EQ(std::tuple(c.kind, c.logPath, c.device),
              std::tuple(kinds.at(row.at(1)), row.at(2), std::stoi(row.at(3))))
        << row[0];
  }
}

}  // namespace
}  // namespace kadeno
