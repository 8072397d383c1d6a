#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno {
namespace {

using test::Harness;

TEST(Stereo, ColumnTables) {
  const struct {
    int wide, curve, balance;
    std::array<int32_t, 7> columns;
  } cases[] = {
      {40, 30, 60, {45, 53, 62, 73, 84, 93, 101}},
      {50, 50, 50, {16, 32, 47, 63, 79, 94, 110}},
      {100, 50, 50, {0, 0, 26, 63, 100, 127, 127}},
      {0, 50, 50, {79, 74, 68, 63, 58, 52, 47}},
  };
  for (const auto& c : cases) {
    std::array<int32_t, 7> got{};
    for (int col = 1; col <= 7; ++col) {
      got[col - 1] = MapPanValue((col - 1) * 21, true, c.wide, c.curve, c.balance);
    }
    EXPECT_EQ(got, c.columns) << c.wide << "/" << c.curve << "/" << c.balance;
  }
  EXPECT_EQ(MapPanValue(1, true, 50, 50, 50), 16);  // exactly 16.5, to the even neighbour
  EXPECT_EQ(MapPanValue(77, false, 100, 0, 0), 77);
}

TEST(Stereo, SendPanLooksUpTheTableAndHonoursTheSwitch) {
  Harness h;
  h.FactorySound();
  h.form.voices().SendPan(0, 99);
  ASSERT_EQ(h.audio.words.size(), 16u);
  for (int c = 0; c < 16; ++c) EXPECT_EQ(h.audio.Pans(c), std::vector<int>{45}) << c;

  const size_t mark = h.audio.words.size();
  h.form.voices().SendPan(126, 20);
  h.form.voices().SendPan(63, -3);
  EXPECT_EQ(h.audio.Pans(15, mark), std::vector<int>{101});
  EXPECT_EQ(h.audio.Pans(0, mark), std::vector<int>{73});

  h.form.settings().Stereo = false;
  h.form.voices().SendPan(0, 99);
  h.form.voices().SendPan(0, 9);
  EXPECT_EQ(h.audio.words.size(), mark + 2);

  // A table built while stereo is off passes nominal values through once it is back on.
  h.form.voices().BuildPanTable();
  h.form.settings().Stereo = true;
  h.form.voices().SendPan(21, 6);
  EXPECT_EQ(h.audio.Pans(6, mark + 2), std::vector<int>{21});
}

}  // namespace
}  // namespace kadeno
