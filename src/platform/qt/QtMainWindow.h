// MainForm's window on the desktop: its caption, its two labels and the menu bar, built
// from the shared menu table with each item calling its command; key presses go to the
// game's key handler as virtual-key codes.
#pragma once

#include <QMainWindow>

namespace kadeno {

class MainForm;
class QtWindow;

class QtMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  QtMainWindow(MainForm& form, QtWindow& window);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLabels();
  void BuildMenus();
  using Command = void (MainForm::*)();
  // Runs a menu command once the menu's event has returned and no box is open.
  void RunWhenFree(Command command);

  MainForm& form_;
  QtWindow& window_;
};

}  // namespace kadeno
