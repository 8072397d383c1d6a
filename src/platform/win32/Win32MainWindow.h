// MainForm's window on Windows: its caption, its two labels and the menu bar, built from
// the shared menu table with native controls only. Menu commands run once their message
// has returned and no box is open; key presses go to the game's key handler as the
// virtual-key codes they already are.
#pragma once

#include "win32/Win32Window.h"

namespace kadeno {

class MainForm;

class Win32MainWindow {
 public:
  Win32MainWindow(MainForm& form, Win32Window& window);
  ~Win32MainWindow();
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HMENU MenuBar() const { return menuBar_; }
  // Shows the window, hands it the keyboard and makes it the owner of the boxes.
  void Show();

  // The command id of a menu item of the table, by its name; 0 when there is none.
  static UINT CommandId(const char* itemName);
  // The shift state the game's key handler takes (1 shift, 2 ctrl, 4 alt), read from the
  // keyboard as the message left it.
  static int ShiftState();

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void BuildLabels();
  void BuildMenus();
  void RunCommand(UINT id);
  // True for Alt with the access letter of one of the menus: the menu bar's key.
  bool IsMenuAccessKey(WPARAM key) const;

  MainForm& form_;
  Win32Window& window_;
  HWND hwnd_ = nullptr;
  HMENU menuBar_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT titleFont_ = nullptr;
  HFONT fromFont_ = nullptr;
};

}  // namespace kadeno
