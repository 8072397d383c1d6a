// The settings table.
#include "settings/SettingsTable.h"

#include <cstdlib>

#include "seams/Translate.h"

namespace kadeno {

namespace {

using K = SettingKind;
using S = Settings;

constexpr SettingCommand Volume(const char* prompt) { return {prompt, 127}; }
constexpr SettingCommand StereoShape(const char* prompt) { return {prompt, 100, false, true}; }

}  // namespace

constinit const std::array<SettingRow, 31> kSettingRows = {{
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

const SettingRow& SettingRowFor(std::string_view key) {
  for (const SettingRow& row : kSettingRows) {
    if (key == row.key) return row;
  }
  std::abort();  // a key the table lacks is the program's own mistake
}

namespace {

// Stores the factory value of every row that has one; soundOnly keeps to the rows Back to
// Default restores.
void StoreFactoryValues(Settings& s, bool soundOnly) {
  for (const SettingRow& row : kSettingRows) {
    if ((soundOnly && !row.sound) || !row.factory) continue;
    switch (row.kind) {
      case SettingKind::Whole:
        s.*row.whole = *row.factory;
        break;
      case SettingKind::Scaling:
        s.KeyboardScaling = static_cast<float>(*row.factory / 100.0);
        break;
      case SettingKind::Movement:
        s.FallingNoteMovementSound = *row.factory != 0;
        break;
      case SettingKind::Stereo:
        s.Stereo = *row.factory != 0;
        break;
      case SettingKind::Score:
      case SettingKind::Name:
        break;
    }
  }
}

}  // namespace

void RestoreFactorySound(Settings& s) { StoreFactoryValues(s, true); }

Settings ShippedSettings() {
  Settings s;
  StoreFactoryValues(s, false);
  return s;
}

}  // namespace kadeno
