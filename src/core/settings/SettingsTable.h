// The settings as one table: for every line of the settings file its key, the field it
// fills, how its value is written and read, its factory value and, for the eighteen value
// commands, the box that asks for it. The file's reader and writer, the value commands and
// Back to Default are driven by it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "seams/Translate.h"
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

namespace table {

using K = SettingKind;
using S = Settings;

inline constexpr SettingCommand Volume(const char* prompt) { return {prompt, 127}; }
inline constexpr SettingCommand StereoShape(const char* prompt) {
  return {prompt, 100, false, true};
}

// Every line of the settings file after its two heading lines, in the file's order. A new
// setting is its field in the record, its row here and, for a value command, its item in
// the menu table; nothing else.
inline constexpr std::array<SettingRow, 31> kRows = {{
    {"DrumVolume", K::Whole, &S::DrumVolume, 0, 0, 100, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_("Drum Volume is now %1 out of 127.  Please enter the New value for Drum Volume."))},
    {"Difficulty", K::Whole, &S::Difficulty, 0, 2, 2, false,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     SettingCommand{N_("Difficulty Level is now %1 out of ten.  Please enter the New value for "
                       "Difficulty Level."),
                    10}},
    {"BaseLineVolume", K::Whole, &S::BaseLineVolume, 0, 1, 127, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_("BaseLine Volume is now %1 out of 127.  Please enter the New value for BaseLine "
               "Volume."))},
    {"Row1Volume", K::Whole, &S::Row1Volume, 0, 3, 100, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(
         N_("Row 1 Volume is now %1 out of 127.  Please enter the New value for Row 1 Volume."))},
    {"Row2Volume", K::Whole, &S::Row2Volume, 0, 4, 100, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(
         N_("Row 2 Volume is now %1 out of 127.  Please enter the New value for Row 2 Volume."))},
    {"Row3Volume", K::Whole, &S::Row3Volume, 0, 5, 100, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(
         N_("Row 3 Volume is now %1 out of 127.  Please enter the New value for Row 3 Volume."))},
    {"FallingVolume", K::Whole, &S::FallingVolume, 0, 6, 100, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_(
         "Falling Volume is now %1 out of 127.  Please enter the New value for Falling Volume."))},
    {"EffectVolume", K::Whole, &S::EffectVolume, 0, 7, 100, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(
         N_("Effect Volume is now %1 out of 127.  Please enter the New value for Effect Volume."))},
    {"BaseLineInstrument", K::Whole, &S::BaseLineInstrument, 0, 8, 24, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_("BaseLine Instrument is now %1 of 127.  Please enter the New value for BaseLine "
               "Instrument."))},
    {"Row1Instrument", K::Whole, &S::Row1Instrument, 0, 9, 24, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_(
         "Row 1 Instrument is now %1 of 127.  Please enter the New value for Row 1 Instrument."))},
    {"Row2Instrument", K::Whole, &S::Row2Instrument, 0, 10, 24, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_(
         "Row 2 Instrument is now %1 of 127.  Please enter the New value for Row 2 Instrument."))},
    {"Row3Instrument", K::Whole, &S::Row3Instrument, 0, 11, 1, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_(
         "Row 3 Instrument is now %1 of 127.  Please enter the New value for Row 3 Instrument."))},
    {"FallingInstrument", K::Whole, &S::FallingInstrument, 0, 12, 1, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_("Falling Instrument is now %1 of 127.  Please enter the New value for Falling "
               "Instrument."))},
    {"EffectInstrument", K::Whole, &S::EffectInstrument, 0, 13, 0, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     Volume(N_("Effect Instrument is now %1 of 127.  Please enter the New value for Effect "
               "Instrument."))},
    {"KeyboardScaling", K::Scaling, nullptr, 0, 14, 0, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     SettingCommand{N_("Keyboard Scaling for Midi Note Volume is now %1 percent.  Please enter the "
                       "New value for Keyboard Scaling."),
                    100, true}},
    {"1stPlaceScore", K::Score, nullptr, 0, 15},
    {"1stPlaceName", K::Name, nullptr, 0, 16},
    {"2ndPlaceScore", K::Score, nullptr, 1, 17},
    {"2ndPlaceName", K::Name, nullptr, 1, 18},
    {"3rdPlaceScore", K::Score, nullptr, 2, 19},
    {"3rdPlaceName", K::Name, nullptr, 2, 20},
    {"4thPlaceScore", K::Score, nullptr, 3, 21},
    {"4thPlaceName", K::Name, nullptr, 3, 22},
    {"5thPlaceScore", K::Score, nullptr, 4, 23},
    {"5thPlaceName", K::Name, nullptr, 4, 24},
    {"StartingSpeed", K::Whole, &S::StartingSpeed, 0, 25},
    {"StereoWide", K::Whole, &S::StereoWide, 0, 28, 40, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     StereoShape(
         N_("Stereo Width is now %1 out of 100.  Please enter the New value for Stereo Width."))},
    {"StereoCurve", K::Whole, &S::StereoCurve, 0, 29, 30, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     StereoShape(
         N_("Stereo Curve is now %1 out of 100.  Please enter the New value for Stereo Curve."))},
    {"StereoBalance", K::Whole, &S::StereoBalance, 0, 30, 60, true,
     // TRANSLATORS: A value box's prompt; %1 is the current value.
     StereoShape(N_(
         "Stereo Balance is now %1 out of 100.  Please enter the New value for Stereo Balance."))},
    // Percussive; the start-up turns stereo on, so that is its factory value.
    {"FallingNoteMovementSound", K::Movement, nullptr, 0, 27, 1, true},
    {"Stereo", K::Stereo, nullptr, 0, 26, 1, false},
}};

}  // namespace table

inline constexpr const std::array<SettingRow, 31>& kSettingRows = table::kRows;

// The index of the row of a value command's key, found while compiling: a key the table
// lacks, or a row without a command, does not compile.
consteval std::size_t ValueCommandRow(std::string_view key) {
  for (std::size_t i = 0; i < kSettingRows.size(); ++i) {
    if (kSettingRows[i].key == key && kSettingRows[i].command) return i;
  }
  throw "no value command of that key in the settings table";
}

// Back to Default: every sound setting to its factory value.
void RestoreFactorySound(Settings& s);

// The settings a new player starts from, shipped beside the program as its default file:
// every row at its factory value (the difficulty at the 2 its box offers, stereo on), the
// starting speed and the hall of fame as a new record has them.
Settings ShippedSettings();

}  // namespace kadeno
