// The devices a build without the built-in synthesiser offers.
#include <gtest/gtest.h>

#include "messagelog/MessageLogDevice.h"
#include "posix/PosixAudioDeviceFactory.h"

namespace kadeno {
namespace {

TEST(AudioDevicesWithoutSynthesiser, OnlyTheLogOrNothingToPlayOn) {
  EXPECT_TRUE(dynamic_cast<MessageLogDevice*>(MakePosixAudioDevice("log:/x", nullptr).get()));
  for (const char* setting : {"", "builtin", "none"}) {
    testing::internal::CaptureStderr();
    const auto device = MakePosixAudioDevice(setting, nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(device->DeviceCount(), 0) << setting;
    EXPECT_EQ(device->Open(), OpenResult::NoDevice) << setting;
    // Only a setting that asks for the missing synthesiser is told why there is none.
    EXPECT_EQ(said.find("no built-in synthesiser") != std::string::npos,
              std::string(setting) != "none")
        << said;
  }
}

}  // namespace
}  // namespace kadeno
