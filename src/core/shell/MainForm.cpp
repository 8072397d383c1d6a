// MainForm: start-up, the ways out, the keys that are not the game's, and the menu
// commands, each handed to its component.
#include "shell/MainForm.h"

#include "registry/CleanUpCommand.h"
#include "seams/Translate.h"
#include "shell/HelpPages.h"

namespace kadeno {

MainForm::MainForm(WindowServices& window, AudioDevice& audio)
    : window_(window),
      store_(window, window, window),
      voices_(window, window, audio, store_.Values()),
      hallOfFame_(window, store_),
      game_(window, window, voices_, store_.Values(), hallOfFame_),
      commands_(window, store_,
                {[this] { voices_.EndPitchedNotes(); }, [this] { voices_.BuildPanTable(); },
                 [this](std::string_view key) { game_.HearSetting(key); }}) {
  // The time spent saving must not count in the scan's step measurement.
  store_.OnSaved([this] { game_.ForgetScanStamp(); });
}

void MainForm::Form_Load() {
  window_.Yield();
  store_.StartInStereo();
  window_.SleepMs(300);
  ShowInstructions(window_);
  voices_.OpenMidiOut();
  if (store_.LoadSettings()) game_.AssumeShortStep();
  voices_.BuildPanTable();
}

void MainForm::mnuFileExit_Click() {
  voices_.StopAllSound();
  store_.SaveSettings();
  window_.EndProgram();
}

// Closing the window and its final release share one closing; a normal close runs both
// handlers, and the first to run saves the settings and lets the device go.
void MainForm::Form_Unload() { CloseDown(); }
void MainForm::Form_Terminate() { CloseDown(); }

void MainForm::CloseDown() {
  if (closedDown_) return;
  closedDown_ = true;
  store_.SaveSettings();
  voices_.CloseMidiOut();
  voices_.StopAllSound();
}

void MainForm::Form_KeyDown(int32_t keyCode, int32_t shift) {
  switch (keyCode) {
    case Key::Escape:
      // Escape leaves the tour or practice without a question.
      if (game_.StopLesson()) break;
      if (window_.MsgBox(Tr("Do you really want to quit?"), Box::YesNo, std::nullopt) ==
          Answer::Yes) {
        mnuFileExit_Click();
      }
      break;
    case Key::S:
      game_.SayScore();
      break;
    case Key::F1:
      ShowInstructions(window_);
      break;
    case Key::F4:
      if ((shift & Key::AltMask) == 0) break;
      voices_.AllNotesOff();
      voices_.StopAllSound();
      store_.SaveSettings();
      window_.EndProgram();
      break;
    default:
      game_.SteerKey(keyCode);
      break;
  }
}

void MainForm::mnuFileStartGame_Click() { game_.StartGame(); }
void MainForm::mnuFilePractice_Click() { game_.Practice(); }
void MainForm::mnuFileHallOfFame_Click() {
  hallOfFame_.RecordAndShowHallOfFame(game_.State().Score);
}
void MainForm::mnuProgramUninstallKadeno_Click() { UninstallKadeno(window_, registry_, removal_); }
void MainForm::mnuHelpInstructions_Click() { ShowInstructions(window_); }
void MainForm::mnuHelpHearTheField_Click() { game_.HearTheField(); }
void MainForm::mnuHelpAbout_Click() { ShowAbout(window_); }

void MainForm::mMidiStereo_Click() { commands_.ToggleStereo(); }
void MainForm::mnuMidiFallingNoteMovementSound_Click() { commands_.ToggleMovementSound(); }
void MainForm::mnuMidiBackToDefault_Click() { commands_.BackToDefault(); }

}  // namespace kadeno
