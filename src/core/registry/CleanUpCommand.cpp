// Program > Uninstall Kadeno.
#include "registry/CleanUpCommand.h"

#include <optional>
#include <string>

#include "seams/Translate.h"

namespace kadeno {

namespace {

const std::string kStartUpKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kProgramKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenloft\\Kadeno";

}  // namespace

void UninstallKadeno(Boxes& window, RegistryAccess* registry, Removal removal) {
  window.MsgBox(
      // TRANSLATORS: Program > Uninstall Kadeno, first box. Keep the line ends (\n).
      TrLines("To help reduce the 'Space-Garbage' that collects in your registry,\n"
              "I have provided this tool to remove Kadeno' registry keys.\n"
              "You should only do this if you really are about to Uninstall Kadeno."),
      Box::Ok, std::nullopt);
  // Only a plain Yes removes anything: a box closed some other way declines.
  if (  // TRANSLATORS: The uninstall question.
      window.MsgBox(Tr("Do you really want to remove and uninstall Kadeno?"), Box::YesNo,
                    // TRANSLATORS: The uninstall question's title: "Are you sure?".
                    Tr("RUsure?")) != Answer::Yes) {
    window.MsgBox(Tr("Clear Registry Operation Aborted"), Box::Ok, std::nullopt);
    return;
  }

  // Failures are passed over: each leaves its description pending in the module and the
  // next step runs, so whatever can be removed is.
  if (registry != nullptr) {
    // Writing the start-up value first means the delete always finds something to remove.
    registry->WriteRegistryValue(kStartUpKey, "Kadeno", std::string("Kadeno.exe"), 0);
    registry->DeleteRegistryKey(kStartUpKey, std::string("Kadeno"));
    registry->DeleteRegistryKey(kProgramKey);
  }
  window.MsgBox(
      removal == Removal::AddRemovePrograms
          // TRANSLATORS: The last box of Program > Uninstall Kadeno on Windows. Keep the
          // line end (\n). Name the Control Panel item as Windows in your language does
          // (Programs and Features).
          ? TrLines("Kadeno Registry Keys Removed, you may now Uninstall Kadeno.\n"
                    "To Uninstall, Use the 'Add/Remove Programs' object in Control Panel.")
          // TRANSLATORS: The last box of Program > Uninstall Kadeno on Linux. Keep the line
          // end (\n) and the command as it is.
          : TrLines("Kadeno Registry Keys Removed, you may now Uninstall Kadeno.\n"
                    "To Uninstall, use your package manager, for example: sudo apt remove "
                    "kadeno."),
      Box::Ok, std::nullopt);
  // Straight out: the settings are not saved and the MIDI output is left as it is.
  window.EndProgram();
}

}  // namespace kadeno
