// MainForm: start-up, the three ways out, and the menu commands that only route.
#include "shell/MainForm.h"

namespace kadeno {

void MainForm::Form_Load() {
  window.Yield();
  settings.Stereo = true;
  window.SleepMs(300);
  ShowInstructions();
  OpenMidiOut();
  LoadSettings();
  BuildPanTable();
}

void MainForm::mnuFileExit_Click() {
  StopAllSound();
  SaveSettings();
  window.EndProgram();
}

// Closing the window and its final release share one closing; a normal close runs both
// handlers, and the first to run saves the settings and lets the device go.
void MainForm::Form_Unload() { CloseDown(); }
void MainForm::Form_Terminate() { CloseDown(); }

void MainForm::CloseDown() {
  if (closedDown_) return;
  closedDown_ = true;
  SaveSettings();
  CloseMidiOut();
  StopAllSound();
}

void MainForm::mnuFileHallOfFame_Click() { RecordAndShowHallOfFame(); }
void MainForm::mnuHelpInstructions_Click() { ShowInstructions(); }
void MainForm::mnuHelpAbout_Click() { ShowAbout(); }

}  // namespace kadeno
