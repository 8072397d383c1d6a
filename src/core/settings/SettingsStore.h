// The settings store: the one settings record of the run and its file, Kadeno.ini in the
// settings folder. Only the store and the settings' own commands (the value commands, the
// switches, the hall of fame) write the record; everyone else reads it through Values().
#pragma once

#include <functional>
#include <string>

#include "seams/Boxes.h"
#include "seams/Files.h"
#include "settings/Settings.h"

namespace kadeno {

// The default settings file that comes with the program, beside its wave files: what a new
// player starts from (made at build time from the settings table, see ShippedSettings).
inline constexpr const char* kShippedSettingsName = "Kadeno-default.ini";

class SettingsStore {
 public:
  // The boxes show the switches' captions a loaded file sets; a failed save is logged.
  SettingsStore(Boxes& boxes, Files& files, ProblemLog& log)
      : boxes_(boxes), files_(files), log_(log) {}

  const Settings& Values() const { return settings_; }

  std::string SettingsFile() const;
  std::string ShippedSettingsFile() const;
  // Every start turns stereo on before the file is read, so that a file without a Stereo
  // line leaves it on.
  void StartInStereo() { settings_.Stereo = true; }
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

  // The writers of the record.
  friend class SettingsCommands;
  friend class HallOfFame;
  friend class SettingsTestAccess;
  Settings& Writable() { return settings_; }

  Boxes& boxes_;
  Files& files_;
  ProblemLog& log_;
  Settings settings_;
  std::function<void()> onSaved_;
};

}  // namespace kadeno
