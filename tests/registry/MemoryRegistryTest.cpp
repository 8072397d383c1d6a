// The registry calls answer as Windows does; above all, a key with sub-keys cannot be deleted.
#include "registry/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <functional>

namespace kadeno {
namespace {

TEST(MemoryRegistry, AnswersWithWindowsResults) {
  MemoryRegistry reg;
  constexpr RegKey hklm = 0x80000002;
  RegKey app = 0, reader = 0, gone = 0, other = 0;
  ASSERT_EQ(reg.CreateKey(hklm, "Software\\App\\Sub\\", RegAccess::All, other), 0);
  ASSERT_EQ(reg.OpenKey(hklm, "SOFTWARE\\APP", RegAccess::All, app), 0);
  ASSERT_EQ(reg.OpenKey(hklm, "software\\app", RegAccess::Read, reader), 0);
  ASSERT_EQ(reg.CreateKey(hklm, "Software\\Gone", RegAccess::All, gone), 0);
  ASSERT_EQ(reg.DeleteKey(gone, ""), 0);
  std::string name, cls;
  const std::pair<std::function<int32_t()>, int32_t> cases[] = {
      {[&] { return reg.OpenKey(hklm, "Software\\None", 0, other); }, 2},
      {[&] { return reg.SetValue(reader, "v", 1, {0}); }, 5},
      {[&] { return reg.EnumKey(app, 0, 3, 1, name, cls); }, 234},  // no room for the zero
      {[&] { return reg.DeleteKey(app, ""); }, 5},
      {[&] { return reg.DeleteKey(hklm, ""); }, 5},
      {[&] { return reg.SetValue(gone, "v", 1, {0}); }, 1018},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].first(), cases[i].second) << i;
}

}  // namespace
}  // namespace kadeno
