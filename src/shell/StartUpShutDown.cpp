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

void MainForm::Form_Unload() {
  SaveSettings();
  CloseMidiOut();
  StopAllSound();
}

void MainForm::Form_Terminate() {
  SaveSettings();
  CloseMidiOut();
  StopAllSound();
}

void MainForm::mnuFileHallOfFame_Click() { RecordAndShowHallOfFame(); }
void MainForm::mnuHelpInstructions_Click() { ShowInstructions(); }
void MainForm::mnuHelpAbout_Click() { ShowAbout(); }

}  // namespace kadeno
