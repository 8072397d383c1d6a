// The settings store: the one settings record of the run and its file, Kadeno.ini in the
// settings folder. Everything that changes a setting saves through here.
#pragma once

#include <functional>
#include <string>

#include "settings/Settings.h"
#include "seams/WindowServices.h"

namespace kadeno {

class SettingsStore {
 public:
  explicit SettingsStore(WindowServices& window) : window_(window) {}

  Settings& Values() { return settings_; }
  const Settings& Values() const { return settings_; }

  std::string SettingsFile() const;
  // Reads the file, when there is one, and sets the captions of the switches it names.
  // True when a settings file was there.
  bool LoadSettings();
  // Writes the whole file; a failed save keeps the old file and says so on the log.
  void SaveSettings();
  // Called after every save, whether it succeeded or not.
  void OnSaved(std::function<void()> hook) { onSaved_ = std::move(hook); }

 private:
  WindowServices& window_;
  Settings settings_;
  std::function<void()> onSaved_;
};

}  // namespace kadeno
