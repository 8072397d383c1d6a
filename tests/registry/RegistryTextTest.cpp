// The REGEDIT4 text of the registry file: what a hand-edited file may hold, what stops the
// reader, and the exact text written.
#include <gtest/gtest.h>

#include "registry/RegistryText.h"

namespace kadeno {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(RegistryText, ReadsWhatExportsAndCarefulHandsWrite) {
  const std::string text =
      "\xEF\xBB\xBF\r\nREGEDIT4\r\n"
      "; written by hand\n"
      "\n"
      "[hklm\\SOFTWARE\\Quenloft\\Kadeno]\n"
      "  @ = \"C:\\Games\\Kadeno\"  \r\n"
      "\"Quote\\\"d\"=\"back\\\\slash\"\n"
      "\"Level\"=DWORD:2a\n"
      "\"Bytes\"=hex:01, 2,\\\n"
      "    ff\n"
      "\"Empty\"=hex:\n"
      "\"level\"=dword:ffffffff\n"
      "[HKEY_CURRENT_USER\\a\\b]\n"
      "[HKCU\\A\\c]\n";
  RegistryKeys keys;
  const auto problem = ParseRegistryText(text, keys);
  ASSERT_FALSE(problem) << problem->line << ": " << problem->what;

  const std::vector<StoredValue> expected{
      {"", 1,
       Bytes{'C', ':', '\\', 'G', 'a', 'm', 'e', 's', '\\', 'K', 'a', 'd', 'e', 'n', 'o', 0}},
      {"Quote\"d", 1, Bytes{'b', 'a', 'c', 'k', '\\', 's', 'l', 'a', 's', 'h', 0}},
      {"Level", 4, Bytes{0xff, 0xff, 0xff, 0xff}},  // the later "level" replaced it
      {"Bytes", 3, Bytes{1, 2, 0xff}},
      {"Empty", 3, Bytes{}},
  };
  EXPECT_EQ(keys.at("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno"), expected);
  // Keys on the way exist, and a second spelling of a key is the same key.
  EXPECT_EQ(RegistrySubKeyNames(keys, "HKEY_LOCAL_MACHINE"), std::vector<std::string>{"SOFTWARE"});
  EXPECT_EQ(RegistrySubKeyNames(keys, "HKEY_CURRENT_USER\\a"),
            (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(keys.size(), 6u + 3u + 3u);
}

TEST(RegistryText, DamageIsReportedWithItsLine) {
  std::string deep = "REGEDIT4\n[HKLM";
  std::string huge = deep;  // some 23 MB of key paths from a 77 kB line
  for (int i = 0; i < 512; ++i) deep += "\\k";
  for (int i = 0; i < 300; ++i) huge += "\\" + std::string(255, 'k');
  RegistryKeys keys;
  EXPECT_FALSE(ParseRegistryText(deep + "]\n", keys));
  const std::pair<std::string, size_t> cases[] = {
      {"REGEDIT5\n", 1},
      {"[HKEY_LOCAL_MACHINE\\A]\n", 1},
      {"REGEDIT4\n\"v\"=\"x\"\n", 2},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\n", 2},
      {"REGEDIT4\n[HKEY_NOWHERE\\A]\n", 2},
      {"REGEDIT4\n[-HKEY_LOCAL_MACHINE\\A]\n", 2},
      {"REGEDIT4\n[HKLM\\A\\\\B]\n", 2},
      {"REGEDIT4\n[HKLM\\A\\]\n", 2},
      {deep + "\\k]\n", 2},
      {huge + "]\n", 2},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=\"open\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\" \"x\"\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=\"x\" y\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=-\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=dword:123456789\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=dword:12g4\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=hex:100\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=hex:01,,02\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=hex(2:01\n", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=hex:01,\\", 3},
      {"REGEDIT4\n[HKLM\\A]\n\"v\"=hex:01,\\\nzz\n", 3},
      {std::string("REGEDIT4\n[HKLM\\A\0B]\n", 20), 2},
      {std::string("REGEDIT4\n[HKLM\\A]\n\"\0\"=\"\"\n", 25), 3},
  };
  for (const auto& [text, line] : cases) {
    SCOPED_TRACE(text.substr(0, 80));
    const auto problem = ParseRegistryText(text, keys);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->line, line) << problem->what;
  }
}

TEST(RegistryText, WritesEveryKeyAndReadsItBackTheSame) {
  RegistryKeys keys = EmptyRegistryKeys();
  const std::string k = MakeRegistryKey(keys, "HKEY_LOCAL_MACHINE", {"SOFTWARE", "K"});
  keys[k] = {
      {"", 1, Bytes{'d', 0}},
      {"q\"\\", 1, Bytes{'a', '"', '\\', 0}},
      {"n", 4, Bytes{0x2a, 0, 0, 0x80}},
      {"short", 4, Bytes{1, 2}},
      {"b", 3, Bytes{0, 0xab}},
      {"nozero", 1, Bytes{'a'}},
      {"big", 0x12345678, Bytes{}},
  };
  keys["HKEY_USERS"] = {{"r", 3, Bytes{7}}};
  const std::string text = FormatRegistryText(keys);
  EXPECT_EQ(text,
            "REGEDIT4\r\n"
            "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n"
            "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\K]\r\n"
            "@=\"d\"\r\n"
            "\"q\\\"\\\\\"=\"a\\\"\\\\\"\r\n"
            "\"n\"=dword:8000002a\r\n"
            "\"short\"=hex(4):01,02\r\n"
            "\"b\"=hex:00,ab\r\n"
            "\"nozero\"=hex(1):61\r\n"
            "\"big\"=hex(12345678):\r\n"
            "\r\n[HKEY_USERS]\r\n"
            "\"r\"=hex:07\r\n");
  RegistryKeys again;
  ASSERT_FALSE(ParseRegistryText(text, again));
  EXPECT_EQ(again, keys);
}

}  // namespace
}  // namespace kadeno
