// A MainForm wired to the fakes, with sugar for scripting a player.
#pragma once

#include "game/TestAccess.h"
#include "settings/SettingsTable.h"
#include "shell/MainForm.h"
#include "shell/MenuTable.h"
#include "support/FakeAudio.h"
#include "support/FakeWindow.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace kadeno::test {

struct Harness {
  FakeWindow window;
  FakeAudio audio;
  MainForm form{window, audio};

  Harness() {
    audio.clock = [this] { return window.now; };
    M().MidiIsOpen = true;  // as after a successful start-up
    audio.isOpen = true;
  }
  GameState& G() { return GameTestAccess::State(form.game()); }
  Field& F() { return GameTestAccess::FieldOf(form.game()); }
  MidiOutState& M() { return VoicesTestAccess::State(form.voices()); }
  Settings& S() { return SettingsTestAccess::Values(form.store()); }

  // Chooses the menu item of that name, as the window does; a name no menu has fails.
  void Click(std::string_view item) {
    for (const MenuSpec& menu : MainMenus()) {
      for (const MenuItemSpec& i : menu.items) {
        if (item == i.name) return (form.*i.command)();
      }
    }
    throw std::invalid_argument("no menu item " + std::string(item));
  }
  // Chooses menu > item by the captions a player reads (without the access letters) from
  // the table, as the window does; captions no menu has fail.
  void Choose(std::string_view menu, std::string_view item) {
    for (const MenuSpec& m : MainMenus()) {
      for (const MenuItemSpec& i : m.items) {
        if (Shown(m.caption) == menu && Shown(i.caption) == item) return (form.*i.command)();
      }
    }
    throw std::invalid_argument("no menu item " + std::string(menu) + " > " + std::string(item));
  }
  static std::string Shown(const char* caption) {
    std::string s;
    for (const char* p = caption; *p; ++p)
      if (*p != '&') s += *p;
    return s;
  }
  // The factory sound settings, stereo on (as every start turns it) and a built stereo
  // table.
  void FactorySound() {
    RestoreFactorySound(S());
    S().Stereo = true;
    form.voices().BuildPanTable();
  }
  std::string SettingsPath() const { return window.settingsFolder + "/Kadeno.ini"; }
};

}  // namespace kadeno::test
