// The settings record: every field that outlives a run of the program, filed in
// Kadeno.ini. Field names are the keys of the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "seams/Translate.h"

namespace kadeno {

// One place of the hall of fame: the score value carries the points and, as a tenth,
// the difficulty level it was played at.
struct HallOfFameEntry {
  double Score = 0;
  std::string Name;
};

struct Settings {
  int32_t DrumVolume = 0;
  int32_t Difficulty = 0;
  int32_t BaseLineVolume = 0;
  int32_t Row1Volume = 0;
  int32_t Row2Volume = 0;
  int32_t Row3Volume = 0;
  int32_t FallingVolume = 0;
  int32_t EffectVolume = 0;
  int32_t BaseLineInstrument = 0;
  int32_t Row1Instrument = 0;
  int32_t Row2Instrument = 0;
  int32_t Row3Instrument = 0;
  int32_t FallingInstrument = 0;
  int32_t EffectInstrument = 0;
  float KeyboardScaling = 0;                    // fraction 0.00..1.00, filed as a percentage
  std::array<HallOfFameEntry, 5> HallOfFame{};  // places 1..5 at indices 0..4
  int32_t StartingSpeed = 0;                    // filed and read back, used by nothing else
  int32_t StereoWide = 0;
  int32_t StereoCurve = 0;
  int32_t StereoBalance = 0;
  bool FallingNoteMovementSound = false;  // true = percussive, false = note
  bool Stereo = false;
};

// Menu captions that show the state of the two toggles.
// TRANSLATORS: Midi menu items that show the state of a switch in brackets.
inline constexpr const char* kStereoOnCaption = N_("Stereo (on)");
// TRANSLATORS: Midi menu items that show the state of a switch in brackets.
inline constexpr const char* kStereoOffCaption = N_("Stereo (off)");
// TRANSLATORS: Midi menu items that show the state of a switch in brackets.
inline constexpr const char* kMovementPercussiveCaption =
    N_("Falling Note Movement Sound (Percussive)");
// TRANSLATORS: Midi menu items that show the state of a switch in brackets.
inline constexpr const char* kMovementNoteCaption = N_("Falling Note Movement Sound (Note)");

// The numeric value of typed or filed text: blanks, tabs and line feeds are ignored, then
// the longest leading decimal number (sign, digits, point, exponent) is read; 0 if none.
double NumericValue(const std::string& text);

// The whole settings file, 33 lines ended by CR LF.
std::string FormatSettingsFile(const Settings& s);

// Which of the two toggles a settings file named (their menu captions follow the file).
struct SettingsFileSeen {
  bool stereo = false;
  bool movementSound = false;
};

// Reads a settings file's text into s. A line counts for a key only when the key's text
// stands at its start (blanks before it allowed), so a hall-of-fame name can never set
// another field; lines that match no key are skipped, and a value that does not fit its
// field leaves the field as it was.
SettingsFileSeen ParseSettingsFile(const std::string& text, Settings& s);

// The percentage that the file and the Keyboard Scaling prompt show.
int64_t KeyboardScalingPercent(float scaling);

// A score value written as the file holds it: at most 15 significant digits, no
// trailing zeros, no point for a whole value.
std::string FormatScoreValue(double v);

}  // namespace kadeno
