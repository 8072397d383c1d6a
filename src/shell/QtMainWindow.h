// MainForm's window on the desktop: its caption, its two labels and the menu bar. Each
// menu item's click handler calls its command; key presses go to the game's key handler
// as virtual-key codes.
#pragma once

#include <QMainWindow>

namespace kadeno {

class MainForm;
class QtWindow;

class QtMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  QtMainWindow(MainForm& form, QtWindow& window);

 public slots:
  void mnuFileStartGame_Click();
  void mnuFileSetDifficulty_Click();
  void mnuFileHallOfFame_Click();
  void mnuFileExit_Click();
  void mnuProgramUninstallKadeno_Click();
  void mMidiStereo_Click();
  void mnuMidiStereoWide_Click();
  void mnuMidiCurve_Click();
  void mnuMidiStereoBalance_Click();
  void mnuMidiDrumVolume_Click();
  void mnuMidiBaseLineVolume_Click();
  void mnuMidiBaseLineInstrument_Click();
  void mnuMidiRow1Volume_Click();
  void mnuMidiRow1Instrument_Click();
  void mnuMidiRow2Volume_Click();
  void mnuMidiRow2Instrument_Click();
  void mnuMidiRow3Volume_Click();
  void mnuMidiRow3Instrument_Click();
  void mnuMidiFallingVolume_Click();
  void mnuMidiFallingInstrument_Click();
  void mnuMidiFallingNoteMovementSound_Click();
  void mnuMidiEffectVolume_Click();
  void mnuMidiEffectInstrument_Click();
  void mnuMidiKeyboardScaling_Click();
  void mnuMidiBackToDefault_Click();
  void mnuHelpInstructions_Click();
  void mnuHelpAbout_Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLabels();
  void BuildMenus();
  // Runs a click handler once the menu's event has returned and no box is open.
  void RunWhenFree(void (QtMainWindow::*handler)());

  MainForm& form_;
  QtWindow& window_;
};

}  // namespace kadeno
