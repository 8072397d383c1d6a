// The settings commands. The value commands share one routine, driven by the settings
// table's rows.
#include <optional>
#include <string>

#include "base/Arithmetic.h"
#include "seams/Translate.h"
#include "settings/NumericValue.h"
#include "settings/SettingsCommands.h"
#include "settings/SettingsTable.h"

namespace kadeno {

namespace {

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

}  // namespace

void SettingsCommands::AskValue(const SettingRow& row) {
  if (!row.command) return;
  const SettingCommand& cmd = *row.command;
  // No pitched voice may hang on while the box holds the game still.
  sound_.silence();

  const bool whole = row.kind == SettingKind::Whole;
  const std::string current =
      whole ? std::to_string(store_.Values().*row.whole)
            : std::to_string(KeyboardScalingPercent(store_.Values().KeyboardScaling));
  const std::string answer =
      boxes_.InputBox(Format(Tr(cmd.prompt), {current}), std::nullopt,
                      cmd.offersCurrent ? current : std::to_string(*row.factory));

  // The box may have run a while inside a game; read the settings afresh from here on.
  const std::optional<int32_t> n = AcceptedValue(answer, cmd.upperLimit);
  if (!n) return;
  if (whole) {
    store_.Writable().*row.whole = *n;
  } else {
    store_.Writable().KeyboardScaling = static_cast<float>(*n / 100.0);
  }
  if (cmd.rebuildsStereo) sound_.stereoShapeChanged();
  store_.SaveSettings();
  Stored(row.key);
}

void SettingsCommands::Stored(std::string_view key) {
  if (sound_.stored) sound_.stored(key);
}

namespace {
// Flips a switch, shows its state in the menu caption and says it; nothing is saved.
void Toggle(Boxes& window, bool& flag, MenuItem item, const char* onCaption, const char* offCaption,
            const char* onMessage, const char* offMessage) {
  flag = !flag;
  window.SetMenuCaption(item, Tr(flag ? onCaption : offCaption));
  window.MsgBox(Tr(flag ? onMessage : offMessage), Box::Ok, std::nullopt);
}
}  // namespace

void SettingsCommands::ToggleStereo() {
  // Only the switch and its caption change: the stereo table stays, no pan is sent, and
  // the new state reaches the file with the next save of any kind.
  Toggle(boxes_, store_.Writable().Stereo, MenuItem::mMidiStereo, kStereoOnCaption,
         kStereoOffCaption, N_("Kadeno will scan in stereo"), N_("Kadeno will scan in mono"));
  Stored("Stereo");
}

void SettingsCommands::ToggleMovementSound() {
  Toggle(boxes_, store_.Writable().FallingNoteMovementSound,
         MenuItem::mnuMidiFallingNoteMovementSound, kMovementPercussiveCaption,
         kMovementNoteCaption, N_("Move a falling note, you'll hear Percussion."),
         N_("Move a falling note, you'll hear the Falling Note."));
  Stored("FallingNoteMovementSound");
}

void SettingsCommands::BackToDefault() {
  if (boxes_.MsgBox(
          Tr("Are you sure you want to reset all the midi settings back to factory default?"),
          Box::YesNo, std::nullopt) != Answer::Yes) {
    return;
  }
  // Stereo, difficulty, starting speed and the hall of fame are the player's, not the
  // sound's, and stay. The stereo table and the movement caption follow later, with the
  // next stereo command or start and the next toggle or start.
  RestoreFactorySound(store_.Writable());
  store_.SaveSettings();
  boxes_.MsgBox(Tr("Midi settings are now as Quenloft originally made them."), Box::Ok,
                std::nullopt);
  Stored("");
}

}  // namespace kadeno
