// The main window's menu bar as data: every window of the program builds its menus from
// this one table, so that each desktop offers the same menus, captions and access letters
// (an "&" before a letter) and each item calls the same command of MainForm.
#pragma once

#include <optional>
#include <span>

#include "shell/MainForm.h"

namespace kadeno {

struct MenuItemSpec {
  const char* name;
  const char* caption;
  void (MainForm::*command)();
  // The virtual-key code of the item's shortcut key, or 0 for none.
  int shortcut = 0;
  // Set for the items whose captions the program rewrites while it runs.
  std::optional<MenuItem> live = std::nullopt;
};

struct MenuSpec {
  const char* name;
  const char* caption;
  std::span<const MenuItemSpec> items;
};

// File, Program, Midi and Help, in the order of the menu bar.
std::span<const MenuSpec> MainMenus();

}  // namespace kadeno
