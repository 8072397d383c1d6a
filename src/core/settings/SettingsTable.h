// The settings as one table: for every line of the settings file its key, the field it
// fills, how its value is written and read, its factory value and, for the eighteen value
// commands, the box that asks for it. The file's reader and writer, the value commands and
// Back to Default are driven by it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/Settings.h"

namespace kadeno {

// How a value is filed.
enum class SettingKind {
  Whole,     // a whole number, in its field
  Scaling,   // KeyboardScaling: a fraction, filed as a percentage
  Score,     // a hall-of-fame place's score
  Name,      // a hall-of-fame place's name
  Stereo,    // True / False
  Movement,  // Percussive / Note
};

// A value command's input box: its prompt, with %1 where the current value goes, and the
// highest value it takes (answers are limited to 0..upperLimit).
struct SettingCommand {
  const char* prompt;
  int32_t upperLimit;
  bool offersCurrent = false;   // the box offers the current value, not the factory one
  bool rebuildsStereo = false;  // the stereo table follows the new value at once
};

struct SettingRow {
  const char* key;  // as filed, before " = "
  SettingKind kind;
  int32_t Settings::*whole = nullptr;  // Whole rows: the field
  int place = 0;                       // Score and Name rows: the place, 0 for the first
  // The reader tries the keys in this order (a line counts for the first that matches).
  int readOrder = 0;
  // The factory value: the number, the percentage, or 1 / 0 for a switch; none for the
  // player's own records.
  std::optional<int32_t> factory = std::nullopt;
  // Restored by Back to Default: the sound's settings, not the player's.
  bool sound = false;
  std::optional<SettingCommand> command = std::nullopt;
};

// Every line of the settings file after its two heading lines, in the file's order.
extern const std::array<SettingRow, 31> kSettingRows;

// The row of that key; the key must be one of the table's.
const SettingRow& SettingRowFor(std::string_view key);

// Back to Default: every sound setting to its factory value.
void RestoreFactorySound(Settings& s);

// The settings a new player starts from, shipped beside the program as its default file:
// every row at its factory value (the difficulty at the 2 its box offers, stereo on), the
// starting speed and the hall of fame as a new record has them.
Settings ShippedSettings();

}  // namespace kadeno
