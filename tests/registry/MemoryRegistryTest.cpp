// The registry in memory, which answers as Windows does, and its REGEDIT4 file text.
#include "registry/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <functional>

#include "registry/RegistryText.h"

namespace kadeno {
namespace {

using Bytes = std::vector<uint8_t>;

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
      {[&] { return reg.DeleteKey(app, ""); }, 5},                  // it has a sub-key
      {[&] { return reg.DeleteKey(hklm, ""); }, 5},
      {[&] { return reg.SetValue(gone, "v", 1, {0}); }, 1018},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].first(), cases[i].second) << i;
}

TEST(RegistryText, ReadsWhatCarefulHandsWriteAndWritesItBackTheSame) {
  const std::string text =
      "\xEF\xBB\xBF\r\nREGEDIT4\r\n; by hand\n\n[hklm\\SOFTWARE\\K]\n  @ = \"C:\\Games\"  \r\n"
      "\"Q\\\"d\"=\"b\\\\s\"\n\"Level\"=DWORD:2a\n\"Bytes\"=hex:01, 2,\\\n    ff\n"
      "\"short\"=hex(4):01,02\n\"nozero\"=hex(1):61\n\"level\"=dword:ffffffff\n"
      "[HKEY_CURRENT_USER\\a\\b]\n[HKCU\\A\\c]\n";
  RegistryKeys keys, again;
  ASSERT_FALSE(ParseRegistryText(text, keys));
  const std::vector<StoredValue> expected{
      {"", 1, Bytes{'C', ':', '\\', 'G', 'a', 'm', 'e', 's', 0}},
      {"Q\"d", 1, Bytes{'b', '\\', 's', 0}},
      {"Level", 4, Bytes{0xff, 0xff, 0xff, 0xff}},  // the later "level" replaced it
      {"Bytes", 3, Bytes{1, 2, 0xff}},
      {"short", 4, Bytes{1, 2}},
      {"nozero", 1, Bytes{'a'}}};
  EXPECT_EQ(keys.at("HKEY_LOCAL_MACHINE\\SOFTWARE\\K"), expected);
  EXPECT_EQ(RegistrySubKeyNames(keys, "HKEY_CURRENT_USER\\a"),
            (std::vector<std::string>{"b", "c"}));
  ASSERT_FALSE(ParseRegistryText(FormatRegistryText(keys), again));
  EXPECT_EQ(again, keys);
}

TEST(RegistryText, DamageIsReportedWithItsLine) {
  std::string deep = "REGEDIT4\n[HKLM", huge = deep;  // huge: some 23 MB of key paths
  for (int i = 0; i < 512; ++i) deep += "\\k";
  for (int i = 0; i < 300; ++i) huge += "\\" + std::string(255, 'k');
  RegistryKeys keys;
  const auto lineOf = [&](const std::string& text) {
    const auto problem = ParseRegistryText(text, keys);
    return problem ? problem->line : 0;
  };
  EXPECT_EQ(lineOf(deep + "]\n"), 0u);
  EXPECT_EQ(lineOf("REGEDIT5\n"), 1u);
  for (const std::string& bad :
       {std::string("\"v\"=\"x\""), std::string("[HKLM\\A"), std::string("[HKX]"),
        std::string("[HKLM\\A\\\\B]"), deep + "\\k]", huge + "]", std::string("[HKLM\\A\0B]", 10)})
    EXPECT_EQ(lineOf("REGEDIT4\n" + bad + "\n"), 2u) << bad.substr(0, 40);
  for (const char* bad : {"\"open", "-", "dword:123456789", "hex:100", "hex:01,\\"})
    EXPECT_EQ(lineOf(std::string("REGEDIT4\n[HKLM\\A]\n\"v\"=") + bad), 3u) << bad;
}

}  // namespace
}  // namespace kadeno
