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
  MidiOutState& M() { return VoicesTestAccess::State(form.voices()); }
  Settings& S() { return SettingsTestAccess::Values(form.store()); }

  // A menu item chosen through the table, by its name or by the captions a player reads.
  void Click(std::string_view item) {
    Run([&](auto&, auto& i) { return i.name == item; }, item);
  }
  void Choose(std::string_view menu, std::string_view item) {
    Run([&](auto& m, auto& i) { return Shown(m.caption) == menu && Shown(i.caption) == item; },
        std::string(menu) + " > " + std::string(item));
  }
  template <typename Is>
  void Run(Is is, std::string_view what) {
    for (const MenuSpec& m : MainMenus())
      for (const MenuItemSpec& i : m.items)
        if (is(m, i)) return (form.*i.command)();
    throw std::invalid_argument("no menu item " + std::string(what));
  }
  static std::string Shown(std::string caption) {
    std::erase(caption, '&');
    return caption;
  }
  // The factory sound settings, stereo on (as every start turns it), the table built.
  void FactorySound() {
    RestoreFactorySound(S());
    S().Stereo = true;
    form.voices().BuildPanTable();
  }
  std::string SettingsPath() const { return window.settingsFolder + "/Kadeno.ini"; }
};

}  // namespace kadeno::test
