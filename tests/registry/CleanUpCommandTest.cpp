// Program > Uninstall Kadeno on the registry seam.
#include "RegistryFixture.h"
#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST_F(RegistryTest, CleanUpNoLeavesTheRegistryYesRemovesTheTwoEntriesEveryTime) {
  const std::string run = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string program = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno";
  ASSERT_TRUE(access.WriteRegistryValue(run, "Other", std::string("other.exe")));
  ASSERT_TRUE(access.WriteRegistryValue(run, "Kadeno", std::string("C:\\Kadeno.exe")));
  ASSERT_TRUE(access.WriteRegistryValue(run, "Last", 1));
  ASSERT_TRUE(access.WriteRegistryValue(program + "\\Scores\\Old", "v", 1));
  ASSERT_TRUE(access.WriteRegistryValue(program + "2", "v", 4));
  const std::string gone = "delete " + program;
  // {answer, changes}: the second Yes finds neither entry, and must not leave behind the
  // value it writes; the way out skips the closing handlers, so no settings are written.
  const std::pair<Answer, std::vector<std::string>> runs[] = {
      {Answer::No, {}},
      {Answer::Yes,
       {"values " + run, "values " + run, gone + "\\Scores\\Old", gone + "\\Scores", gone}},
      {Answer::Yes, {"values " + run, "values " + run}}};
  for (const auto& [answer, changes] : runs) {
    Harness h;
    h.form.SetRegistry(&access);
    reg.changes.clear();
    h.window.Reply(Answer::Ok, "To help reduce the 'Space-Garbage' that collects in your");
    h.window.Reply(answer, "Do you really want to remove and uninstall Kadeno?");
    h.window.Reply(Answer::Ok, answer == Answer::Yes ? "Kadeno Registry Keys Removed"
                                                     : "Clear Registry Operation Aborted");
    if (answer == Answer::Yes)
      EXPECT_THROW(h.form.mnuProgramUninstallKadeno_Click(), ProgramEnded);
    else
      h.form.mnuProgramUninstallKadeno_Click();
    EXPECT_EQ(std::pair(h.window.boxes.at(1).style, h.window.writes), std::pair(Box::YesNo, 0));
    EXPECT_EQ(reg.changes, changes);
    if (answer == Answer::No) continue;
    EXPECT_EQ(access.EnumRegistryValues(run),
              (std::vector<RegistryEntry>{{"Other", std::string("other.exe")}, {"Last", 1}}));
    EXPECT_EQ(RegistrySubKeyNames(reg.Keys(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft"),
              (std::vector<std::string>{"Kadeno2"}));
  }
}

}  // namespace
}  // namespace kadeno::test
