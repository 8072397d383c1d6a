// The registry calls answer as Windows does, since the module's behaviour rests on those
// answers (above all: a key with sub-keys cannot be deleted).
#include <gtest/gtest.h>

#include <functional>

#include "registry/MemoryRegistry.h"

namespace kadeno {
namespace {

constexpr RegKey kHklm = 0x80000002;

std::string Levels(int n) {
  std::string path = "k";
  while (--n > 0) path += "\\k";
  return path;
}

TEST(MemoryRegistry, AnswersWithWindowsResults) {
  MemoryRegistry reg;
  RegKey app = 0, sub = 0, reader = 0, stale = 0, other = 0;
  ASSERT_EQ(reg.CreateKey(kHklm, "Software\\App\\Sub\\", RegAccess::All, sub), 0);
  ASSERT_EQ(reg.OpenKey(kHklm, "SOFTWARE\\APP", RegAccess::All, app), 0);
  ASSERT_EQ(reg.OpenKey(kHklm, "software\\app", RegAccess::Read, reader), 0);
  ASSERT_EQ(reg.CreateKey(kHklm, "Software\\Gone", RegAccess::All, stale), 0);
  ASSERT_EQ(reg.SetValue(app, "Name", 1, {'x', 0}), 0);
  ASSERT_EQ(reg.DeleteKey(stale, ""), 0);

  std::string name, cls;
  uint32_t type = 0, size = 0;
  std::vector<uint8_t> data(1);
  struct Case {
    const char* what;
    std::function<int32_t()> call;
    int32_t result;
  };
  const Case cases[] = {
      {"open a missing key", [&] { return reg.OpenKey(kHklm, "Software\\None", 0, other); }, 2},
      {"open with a leading \\", [&] { return reg.OpenKey(kHklm, "\\Software", 0, other); }, 161},
      {"create through an empty name", [&] { return reg.CreateKey(kHklm, "A\\\\B", 0, other); },
       161},
      {"create a name too long",
       [&] { return reg.CreateKey(app, std::string(256, 'k'), 0, other); }, 87},
      {"create 513 levels deep", [&] { return reg.CreateKey(kHklm, Levels(513), 0, other); }, 87},
      {"create under a key opened to read", [&] { return reg.CreateKey(reader, "New", 0, other); },
       5},
      {"query with too little room", [&] { return reg.QueryValue(app, "NAME", type, &data, size); },
       234},
      {"set through a key opened to read", [&] { return reg.SetValue(reader, "v", 1, {0}); }, 5},
      {"set a name with a line break", [&] { return reg.SetValue(app, "a\nb", 1, {0}); }, 87},
      {"enumerate past the end", [&] { return reg.EnumKey(app, 1, 10, 1, name, cls); }, 259},
      {"enumerate with too little room", [&] { return reg.EnumKey(app, 0, 3, 1, name, cls); }, 234},
      {"enumerate a value, data room short",
       [&] { return reg.EnumValue(app, 0, 5, 1, name, type, data); }, 234},
      {"delete a key with a sub-key", [&] { return reg.DeleteKey(app, ""); }, 5},
      {"delete a sub-key that has one", [&] { return reg.DeleteKey(kHklm, "Software\\App"); }, 5},
      {"delete a root", [&] { return reg.DeleteKey(kHklm, ""); }, 5},
      {"delete through a key opened to read", [&] { return reg.DeleteKey(reader, ""); }, 5},
      {"use a deleted key", [&] { return reg.SetValue(stale, "v", 1, {0}); }, 1018},
      {"use a handle never given", [&] { return reg.CloseKey(12345); }, 6},
  };
  for (const Case& c : cases) EXPECT_EQ(c.call(), c.result) << c.what;

  // Room for the name and its terminating zero is enough.
  ASSERT_EQ(reg.EnumKey(app, 0, 4, 1, name, cls), 0);
  EXPECT_EQ(name, "Sub");
  for (RegKey k : {app, sub, reader, stale}) EXPECT_EQ(reg.CloseKey(k), 0);
  EXPECT_EQ(reg.OpenHandles(), 0u);
}

}  // namespace
}  // namespace kadeno
