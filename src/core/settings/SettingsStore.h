// The settings store: the one settings record of the run and its file, Kadeno.ini in the
// settings folder. Everything that changes a setting saves through here.
#pragma once

#include <functional>
#include <string>

#include "settings/Settings.h"
#include "shell/WindowServices.h"

namespace kadeno {

// The default settings file that comes with the program, beside its wave files: what a new
// player starts from (made at build time from the settings table, see ShippedSettings).
inline constexpr const char* kShippedSettingsName = "Kadeno-default.ini";

class SettingsStore {
 public:
  explicit SettingsStore(WindowServices& window) : window_(window) {}

  Settings& Values() { return settings_; }
  const Settings& Values() const { return settings_; }

  std::string SettingsFile() const;
  std::string ShippedSettingsFile() const;
  // Reads the player's own file when there is one, else the shipped default file when it
  // can be read, and sets the captions of the switches it names. True when a file was
  // there to load.
  bool LoadSettings();
  // Writes the whole file; a failed save keeps the old file and says so on the log.
  void SaveSettings();
  // Called after every save, whether it succeeded or not.
  void OnSaved(std::function<void()> hook) { onSaved_ = std::move(hook); }

 private:
  void LoadFrom(const std::string& text);

  WindowServices& window_;
  Settings settings_;
  std::function<void()> onSaved_;
};

}  // namespace kadeno
