// Program > Uninstall Kadeno on the registry seam.
#include <gtest/gtest.h>

#include "RegistryFixture.h"
#include "registry/RegistryAccess.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

const std::string kRun = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kProgram = "HKLM\\SOFTWARE\\Quenloft\\Kadeno";
const char* kIntro =
    "To help reduce the 'Space-Garbage' that collects in your registry,\r\n"
    "I have provided this tool to remove Kadeno' registry keys.\r\n"
    "You should only do this if you really are about to Uninstall Kadeno.";
const char* kQuestion = "Do you really want to remove and uninstall Kadeno?";
const char* kDone =
    "Kadeno Registry Keys Removed, you may now Uninstall Kadeno.\r\n"
    "To Uninstall, Use the 'Add/Remove Programs' object in Control Panel.";

struct CleanUpTest : ::testing::Test {
  MemoryRegistry memory;
  RecordingRegistry recording{memory};
  Harness h;
  RegistryAccess registry{recording, h.window};
  RegistryAccess setup{memory, h.window};

  CleanUpTest() { h.form.registry = &registry; }

  void Answer(kadeno::Answer a) {
    h.window.Reply(Answer::Ok, kIntro);
    h.window.Reply(a, kQuestion);
  }
  // Runs the command; true when it ended the program.
  bool Run() {
    try {
      h.form.mnuProgramUninstallKadeno_Click();
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }
  void ExpectBoxes(
      const std::vector<std::tuple<std::string, int, std::optional<std::string>>>& want) {
    ASSERT_EQ(h.window.boxes.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
      EXPECT_EQ(h.window.boxes[i].prompt, std::get<0>(want[i]));
      EXPECT_EQ(h.window.boxes[i].style, std::get<1>(want[i]));
      EXPECT_EQ(h.window.boxes[i].title, std::get<2>(want[i]));
    }
  }
};

TEST_F(CleanUpTest, NoLeavesTheRegistryUntouched) {
  ASSERT_TRUE(setup.WriteRegistryValue(kRun, "Kadeno", std::string("Kadeno.exe")));
  ASSERT_TRUE(setup.WriteRegistryValue(kProgram, "Level", 3));
  const RegistryKeys before = memory.Keys();
  Answer(Answer::No);
  h.window.Reply(Answer::Ok, "Clear Registry Operation Aborted");

  EXPECT_FALSE(Run());
  EXPECT_EQ(recording.calls, 0);
  EXPECT_EQ(memory.Keys(), before);
  ExpectBoxes({{kIntro, Box::Ok, std::nullopt},
               {kQuestion, Box::YesNo, "RUsure?"},
               {"Clear Registry Operation Aborted", Box::Ok, std::nullopt}});
}

TEST_F(CleanUpTest, YesRemovesExactlyTheTwoEntriesEveryTime) {
  ASSERT_TRUE(setup.WriteRegistryValue(kRun, "Other", std::string("other.exe")));
  ASSERT_TRUE(setup.WriteRegistryValue(kRun, "Kadeno", std::string("Kadeno.exe")));
  ASSERT_TRUE(setup.WriteRegistryValue(kRun, "Last", 1));
  ASSERT_TRUE(setup.WriteRegistryValue(kProgram + "\\Scores\\Old", "v", 1));
  ASSERT_TRUE(setup.WriteRegistryValue(kProgram, "Level", 3));
  ASSERT_TRUE(setup.WriteRegistryValue("HKLM\\SOFTWARE\\Quenloft\\Other", "v", 4));
  const std::vector<RegistryEntry> otherRunValues{{"Other", std::string("other.exe")}, {"Last", 1}};

  // The second run finds no program key and no start-up value, and must not leave the
  // value it writes behind.
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    h.window.boxes.clear();
    recording.changes.clear();
    Answer(Answer::Yes);
    h.window.Reply(Answer::Ok, "Kadeno Registry Keys Removed");

    EXPECT_TRUE(Run());
    ExpectBoxes({{kIntro, Box::Ok, std::nullopt},
                 {kQuestion, Box::YesNo, "RUsure?"},
                 {kDone, Box::Ok, std::nullopt}});
    EXPECT_EQ(setup.EnumRegistryValues(kRun), otherRunValues);
    EXPECT_EQ(setup.EnumRegistryValues("HKLM\\SOFTWARE\\Quenloft\\Other"),
              (std::vector<RegistryEntry>{{"v", 4}}));
    EXPECT_EQ(RegistrySubKeyNames(memory.Keys(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft"),
              std::vector<std::string>{"Other"});
    EXPECT_EQ(memory.OpenHandles(), 0u);
    const std::string run_ = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run : Kadeno";
    if (run == 1) {
      EXPECT_EQ(
          recording.changes,
          (std::vector<std::string>{
              "set " + run_, "delete " + run_, "delete SOFTWARE\\Quenloft\\Kadeno\\Scores\\Old",
              "delete SOFTWARE\\Quenloft\\Kadeno\\Scores", "delete SOFTWARE\\Quenloft\\Kadeno"}));
      EXPECT_EQ(registry.PendingError().number, 0);
    } else {
      EXPECT_EQ(recording.changes, (std::vector<std::string>{"set " + run_, "delete " + run_}));
      EXPECT_EQ(registry.PendingError().description, "Key/Value does not exist.");
    }
  }
  // The way out skips the closing handlers: no settings file was written.
  EXPECT_EQ(h.window.writes, 0);
}

TEST_F(CleanUpTest, WithoutARegistryTheCommandStillEnds) {
  h.form.registry = nullptr;
  Answer(Answer::Yes);
  h.window.Reply(Answer::Ok, kDone);
  EXPECT_TRUE(Run());
  EXPECT_EQ(h.window.PendingReplies(), 0u);
}

}  // namespace
}  // namespace kadeno::test
