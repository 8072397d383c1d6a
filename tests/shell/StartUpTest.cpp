#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(StartUp, BuildsTheStereoTableFromTheLoadedSettings) {
  // Wide 40, curve 30, balance 60: the left column (nominal 0) sits at 45, the right
  // column (126) at 101.
  Harness h;
  h.window.files[h.SettingsPath()] =
      "StereoWide = 40\r\nStereoCurve = 30\r\nStereoBalance = 60\r\n";
  h.window.Reply(Answer::Cancel);  // leaves the help at once
  h.form.Form_Load();
  EXPECT_TRUE(h.form.settings().Stereo);
  h.form.voices().SendPan(0, Channel::Drum);
  h.form.voices().SendPan(126, Channel::Drum);
  EXPECT_EQ(h.audio.Hex(), (std::vector<std::string>{"B9 0A 2D", "B9 0A 65"}));
}

}  // namespace
}  // namespace kadeno::test
