// Program > Uninstall Kadeno on the registry seam.
#include <gtest/gtest.h>

#include "RegistryFixture.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

const std::string kRun = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kProgram = "HKLM\\SOFTWARE\\Quenloft\\Kadeno";
const std::string kIntro =
    "To help reduce the 'Space-Garbage' that collects in your registry,\r\n"
    "I have provided this tool to remove Kadeno' registry keys.\r\n"
    "You should only do this if you really are about to Uninstall Kadeno.";
const std::string kQuestion = "Do you really want to remove and uninstall Kadeno?";

struct CleanUpTest : ::testing::Test {
  Recording<MemoryRegistry> memory;
  Harness h;
  RegistryAccess registry{memory, h.window};

  CleanUpTest() { h.form.registry = &registry; }

  // Answers the question, runs the command and tells whether it ended the program.
  bool Run(Answer answer, const std::string& last) {
    h.window.boxes.clear();
    memory.changes.clear();
    memory.opened = 0;
    h.window.Reply(Answer::Ok, kIntro);
    h.window.Reply(answer, kQuestion);
    h.window.Reply(Answer::Ok, last);
    try {
      h.form.mnuProgramUninstallKadeno_Click();
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }
  void ExpectBoxes(const std::string& last) {
    ASSERT_EQ(h.window.boxes.size(), 3u);
    const std::optional<std::string> titles[] = {std::nullopt, "RUsure?", std::nullopt};
    const int styles[] = {Box::Ok, Box::YesNo, Box::Ok};
    EXPECT_EQ(h.window.Prompts(), (std::vector<std::string>{kIntro, kQuestion, last}));
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(h.window.boxes[i].style, styles[i]);
      EXPECT_EQ(h.window.boxes[i].title, titles[i]);
    }
  }
};

TEST_F(CleanUpTest, NoLeavesTheRegistryUntouched) {
  ASSERT_TRUE(registry.WriteRegistryValue(kRun, "Kadeno", std::string("Kadeno.exe")));
  ASSERT_TRUE(registry.WriteRegistryValue(kProgram, "Level", 3));
  const RegistryKeys before = memory.Keys();

  EXPECT_FALSE(Run(Answer::No, "Clear Registry Operation Aborted"));
  ExpectBoxes("Clear Registry Operation Aborted");
  EXPECT_EQ(memory.opened, 0);
  EXPECT_EQ(memory.Keys(), before);
}

TEST_F(CleanUpTest, YesRemovesExactlyTheTwoEntriesEveryTime) {
  ASSERT_TRUE(registry.WriteRegistryValue(kRun, "Other", std::string("other.exe")));
  ASSERT_TRUE(registry.WriteRegistryValue(kRun, "Kadeno", std::string("Kadeno.exe")));
  ASSERT_TRUE(registry.WriteRegistryValue(kRun, "Last", 1));
  ASSERT_TRUE(registry.WriteRegistryValue(kProgram + "\\Scores\\Old", "v", 1));
  ASSERT_TRUE(registry.WriteRegistryValue(kProgram, "Level", 3));
  ASSERT_TRUE(registry.WriteRegistryValue("HKLM\\SOFTWARE\\Quenloft\\Other", "v", 4));
  const std::string done =
      "Kadeno Registry Keys Removed, you may now Uninstall Kadeno.\r\n"
      "To Uninstall, Use the 'Add/Remove Programs' object in Control Panel.";
  const std::string value = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run : Kadeno";
  const std::string program = "delete SOFTWARE\\Quenloft\\Kadeno";

  // The second run finds neither entry, and must not leave behind the value it writes.
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    EXPECT_TRUE(Run(Answer::Yes, done));
    ExpectBoxes(done);
    std::vector<std::string> changes{"set " + value, "delete " + value};
    if (run == 1) {
      changes.insert(changes.end(), {program + "\\Scores\\Old", program + "\\Scores", program});
    }
    EXPECT_EQ(memory.changes, changes);
    EXPECT_EQ(registry.EnumRegistryValues(kRun),
              (std::vector<RegistryEntry>{{"Other", std::string("other.exe")}, {"Last", 1}}));
    EXPECT_EQ(RegistrySubKeyNames(memory.Keys(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft"),
              std::vector<std::string>{"Other"});
    EXPECT_EQ(registry.EnumRegistryValues("HKLM\\SOFTWARE\\Quenloft\\Other").size(), 1u);
  }
  // The way out skips the closing handlers: no settings file was written.
  EXPECT_EQ(h.window.writes, 0);
}

}  // namespace
}  // namespace kadeno::test
