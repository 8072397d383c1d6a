// MainForm: the menu commands that change settings. Eighteen of them ask for one number in
// an input box and share one routine, driven by a table of their texts and limits; two
// flip a switch; one restores the factory sound.
#include <optional>
#include <string>

#include "core/Arithmetic.h"
#include "settings/NumericValue.h"
#include "shell/MainForm.h"

namespace kadeno {

namespace {

// One value command: what it says around the current value, what it offers, how far it
// goes, and whether the stereo table must follow the new value.
struct ValueCommand {
  int32_t Settings::*field;  // null for Keyboard Scaling, which is a fraction
  const char* promptStart;
  const char* promptEnd;
  const char* defaultText;  // null: offer the current value
  int32_t upperLimit;
  bool rebuildsStereo;
};

constexpr ValueCommand kDifficulty{&Settings::Difficulty,
                                   "Difficulty Level is now ",
                                   " out of ten.  Please enter the New value for Difficulty Level.",
                                   "2",
                                   10,
                                   false};
constexpr ValueCommand kStereoWide{&Settings::StereoWide,
                                   "Stereo Width is now ",
                                   " out of 100.  Please enter the New value for Stereo Width.",
                                   "40",
                                   100,
                                   true};
constexpr ValueCommand kStereoCurve{&Settings::StereoCurve,
                                    "Stereo Curve is now ",
                                    " out of 100.  Please enter the New value for Stereo Curve.",
                                    "30",
                                    100,
                                    true};
constexpr ValueCommand kStereoBalance{
    &Settings::StereoBalance,
    "Stereo Balance is now ",
    " out of 100.  Please enter the New value for Stereo Balance.",
    "60",
    100,
    true};
constexpr ValueCommand kDrumVolume{&Settings::DrumVolume,
                                   "Drum Volume is now ",
                                   " out of 127.  Please enter the New value for Drum Volume.",
                                   "100",
                                   127,
                                   false};
constexpr ValueCommand kBaseLineVolume{
    &Settings::BaseLineVolume,
    "BaseLine Volume is now ",
    " out of 127.  Please enter the New value for BaseLine Volume.",
    "127",
    127,
    false};
constexpr ValueCommand kBaseLineInstrument{
    &Settings::BaseLineInstrument,
    "BaseLine Instrument is now ",
    " of 127.  Please enter the New value for BaseLine Instrument.",
    "24",
    127,
    false};
constexpr ValueCommand kRow1Volume{&Settings::Row1Volume,
                                   "Row 1 Volume is now ",
                                   " out of 127.  Please enter the New value for Row 1 Volume.",
                                   "100",
                                   127,
                                   false};
constexpr ValueCommand kRow1Instrument{&Settings::Row1Instrument,
                                       "Row 1 Instrument is now ",
                                       " of 127.  Please enter the New value for Row 1 Instrument.",
                                       "24",
                                       127,
                                       false};
constexpr ValueCommand kRow2Volume{&Settings::Row2Volume,
                                   "Row 2 Volume is now ",
                                   " out of 127.  Please enter the New value for Row 2 Volume.",
                                   "100",
                                   127,
                                   false};
constexpr ValueCommand kRow2Instrument{&Settings::Row2Instrument,
                                       "Row 2 Instrument is now ",
                                       " of 127.  Please enter the New value for Row 2 Instrument.",
                                       "24",
                                       127,
                                       false};
constexpr ValueCommand kRow3Volume{&Settings::Row3Volume,
                                   "Row 3 Volume is now ",
                                   " out of 127.  Please enter the New value for Row 3 Volume.",
                                   "100",
                                   127,
                                   false};
constexpr ValueCommand kRow3Instrument{&Settings::Row3Instrument,
                                       "Row 3 Instrument is now ",
                                       " of 127.  Please enter the New value for Row 3 Instrument.",
                                       "1",
                                       127,
                                       false};
constexpr ValueCommand kFallingVolume{
    &Settings::FallingVolume,
    "Falling Volume is now ",
    " out of 127.  Please enter the New value for Falling Volume.",
    "100",
    127,
    false};
constexpr ValueCommand kFallingInstrument{
    &Settings::FallingInstrument,
    "Falling Instrument is now ",
    " of 127.  Please enter the New value for Falling Instrument.",
    "1",
    127,
    false};
constexpr ValueCommand kEffectVolume{&Settings::EffectVolume,
                                     "Effect Volume is now ",
                                     " out of 127.  Please enter the New value for Effect Volume.",
                                     "100",
                                     127,
                                     false};
constexpr ValueCommand kEffectInstrument{
    &Settings::EffectInstrument,
    "Effect Instrument is now ",
    " of 127.  Please enter the New value for Effect Instrument.",
    "0",
    127,
    false};
constexpr ValueCommand kKeyboardScaling{
    nullptr,
    "Keyboard Scaling for Midi Note Volume is now ",
    " percent.  Please enter the New value for Keyboard Scaling.",
    nullptr,
    100,
    false};

// The answer's value limited to 0..upper, or nothing when the answer is to be ignored:
// Cancel, an empty box, or text that is neither a number nor holds a "0" (a typed 0 must
// count, while letters alone must not). A number too large for a double is ignored too.
std::optional<int32_t> AcceptedValue(const std::string& answer, int32_t upper) {
  const std::optional<double> value = CheckedNumericValue(answer);
  const bool accepted = (value && *value != 0) || answer.find('0') != std::string::npos;
  if (!accepted || !value) return std::nullopt;
  // Limit in floating point first, so that no answer can overflow the field.
  double n = RoundHalfEven(*value);
  if (n > upper) n = upper;
  if (n < 0) n = 0;
  return static_cast<int32_t>(n);
}

void RunValueCommand(MainForm& form, const ValueCommand& cmd) {
  // No pitched voice may hang on while the box holds the game still.
  for (int32_t c = Channel::BaseLine; c <= Channel::Effect; ++c) form.EndChannelNote(c);

  const std::string current =
      cmd.field ? std::to_string(form.settings.*cmd.field)
                : std::to_string(KeyboardScalingPercent(form.settings.KeyboardScaling));
  const std::string answer =
      form.window.InputBox(cmd.promptStart + current + cmd.promptEnd, std::nullopt,
                           cmd.defaultText ? std::string(cmd.defaultText) : current);

  // The box may have run a while inside a game; read the settings afresh from here on.
  const std::optional<int32_t> n = AcceptedValue(answer, cmd.upperLimit);
  if (!n) return;
  if (cmd.field) {
    form.settings.*cmd.field = *n;
  } else {
    form.settings.KeyboardScaling = static_cast<float>(*n / 100.0);
  }
  if (cmd.rebuildsStereo) form.BuildPanTable();
  form.SaveSettings();
}

}  // namespace

void MainForm::mnuFileSetDifficulty_Click() { RunValueCommand(*this, kDifficulty); }
void MainForm::mnuMidiStereoWide_Click() { RunValueCommand(*this, kStereoWide); }
void MainForm::mnuMidiCurve_Click() { RunValueCommand(*this, kStereoCurve); }
void MainForm::mnuMidiStereoBalance_Click() { RunValueCommand(*this, kStereoBalance); }
void MainForm::mnuMidiDrumVolume_Click() { RunValueCommand(*this, kDrumVolume); }
void MainForm::mnuMidiBaseLineVolume_Click() { RunValueCommand(*this, kBaseLineVolume); }
void MainForm::mnuMidiBaseLineInstrument_Click() { RunValueCommand(*this, kBaseLineInstrument); }
void MainForm::mnuMidiRow1Volume_Click() { RunValueCommand(*this, kRow1Volume); }
void MainForm::mnuMidiRow1Instrument_Click() { RunValueCommand(*this, kRow1Instrument); }
void MainForm::mnuMidiRow2Volume_Click() { RunValueCommand(*this, kRow2Volume); }
void MainForm::mnuMidiRow2Instrument_Click() { RunValueCommand(*this, kRow2Instrument); }
void MainForm::mnuMidiRow3Volume_Click() { RunValueCommand(*this, kRow3Volume); }
void MainForm::mnuMidiRow3Instrument_Click() { RunValueCommand(*this, kRow3Instrument); }
void MainForm::mnuMidiFallingVolume_Click() { RunValueCommand(*this, kFallingVolume); }
void MainForm::mnuMidiFallingInstrument_Click() { RunValueCommand(*this, kFallingInstrument); }
void MainForm::mnuMidiEffectVolume_Click() { RunValueCommand(*this, kEffectVolume); }
void MainForm::mnuMidiEffectInstrument_Click() { RunValueCommand(*this, kEffectInstrument); }
void MainForm::mnuMidiKeyboardScaling_Click() { RunValueCommand(*this, kKeyboardScaling); }

namespace {
// Flips a switch, shows its state in the menu caption and says it; nothing is saved.
void Toggle(WindowServices& window, bool& flag, MenuItem item, const char* onCaption,
            const char* offCaption, const char* onMessage, const char* offMessage) {
  flag = !flag;
  window.SetMenuCaption(item, flag ? onCaption : offCaption);
  window.MsgBox(flag ? onMessage : offMessage, Box::Ok, std::nullopt);
}
}  // namespace

void MainForm::mMidiStereo_Click() {
  // Only the switch and its caption change: the stereo table stays, no pan is sent, and
  // the new state reaches the file with the next save of any kind.
  Toggle(window, settings.Stereo, MenuItem::mMidiStereo, kStereoOnCaption, kStereoOffCaption,
         "Kadeno will scan in stereo", "Kadeno will scan in mono");
}

void MainForm::mnuMidiFallingNoteMovementSound_Click() {
  Toggle(window, settings.FallingNoteMovementSound, MenuItem::mnuMidiFallingNoteMovementSound,
         kMovementPercussiveCaption, kMovementNoteCaption,
         "Move a falling note, you'll hear Percussion.",
         "Move a falling note, you'll hear the Falling Note.");
}

void MainForm::mnuMidiBackToDefault_Click() {
  if (window.MsgBox("Are you sure you want to reset all the midi settings back to factory default?",
                    Box::YesNo, std::nullopt) != Answer::Yes) {
    return;
  }
  // Stereo, difficulty, starting speed and the hall of fame are the player's, not the
  // sound's, and stay. The stereo table and the movement caption follow later, with the
  // next stereo command or start and the next toggle or start.
  settings.DrumVolume = 100;
  settings.BaseLineVolume = 127;
  settings.Row1Volume = 100;
  settings.Row2Volume = 100;
  settings.Row3Volume = 100;
  settings.FallingVolume = 100;
  settings.EffectVolume = 100;
  settings.KeyboardScaling = 0;
  settings.BaseLineInstrument = 24;
  settings.Row1Instrument = 24;
  settings.Row2Instrument = 24;
  settings.Row3Instrument = 1;
  settings.FallingInstrument = 1;
  settings.EffectInstrument = 0;
  settings.StereoWide = 40;
  settings.StereoCurve = 30;
  settings.StereoBalance = 60;
  settings.FallingNoteMovementSound = true;
  SaveSettings();
  window.MsgBox("Midi settings are now as Quenloft originally made them.", Box::Ok, std::nullopt);
}

}  // namespace kadeno
