// What a stored setting sounds like. Outside a game, a volume or instrument box that stores
// its value is followed by a short phrase of that voice at its new setting, so that a number
// from 0 to 127 becomes an instrument the player has heard; a stereo command and Set Midi
// Back to Default by one quick scan of the seven columns, the movement switch by the sound
// a move now makes. Inside a game nothing extra sounds: the game is heard as it is.
#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <utility>

#include "game/Game.h"
#include "game/GameRules.h"

namespace kadeno {

namespace {

struct VoicePhrase {
  std::string_view volumeKey;
  std::string_view instrumentKey;
  int channel;
  std::array<int32_t, 4> notes;  // in the voice's own register in the first round's key
};

constexpr VoicePhrase kVoicePhrases[] = {
    {"DrumVolume", "", Channel::Drum, {36, 36, 38, 36}},
    {"BaseLineVolume", "BaseLineInstrument", Channel::BaseLine, {25, 29, 32, 37}},
    {"Row1Volume", "Row1Instrument", Channel::Row1, {61, 65, 68, 73}},
    {"Row2Volume", "Row2Instrument", Channel::Row2, {61, 65, 68, 73}},
    {"Row3Volume", "Row3Instrument", Channel::Row3, {61, 65, 68, 73}},
    {"FallingVolume", "FallingInstrument", Channel::Falling, {73, 77, 80, 85}},
    {"EffectVolume", "EffectInstrument", Channel::Effect, {85, 89, 92, 97}},
};

// Four notes of 350 ms: 1.4 s. A quick scan: seven steps of 250 ms, 1.75 s.
constexpr int32_t kPhraseNoteUnits = 35000;
constexpr int32_t kQuickHalfStep = 12500;

constexpr std::string_view kScanKeys[] = {"", "Stereo", "StereoWide", "StereoCurve",
                                          "StereoBalance"};

}  // namespace

void Game::HearSetting(std::string_view key) {
  if (running_) return;
  PlayPhrase(key);
  // Start Game, the tour or practice chosen meanwhile stopped the phrase: now they run.
  if (auto command = std::exchange(afterPhrase_, nullptr)) (this->*command)();
}

void Game::PlayPhrase(std::string_view key) {
  for (const VoicePhrase& p : kVoicePhrases) {
    if (key != p.volumeKey && key != p.instrumentKey) continue;
    LessonScope phrase(*this, Lesson::Phrase);
    voices_.SendPan(ColumnPan(4), p.channel);
    for (int32_t note : p.notes) {
      if (lessonStopped_) return;
      voices_.SoundVoice(p.channel, note);
      int32_t hold = kPhraseNoteUnits;
      Delay(clock_, hold);
      voices_.EndChannelNote(p.channel);
    }
    return;
  }
  const bool scan =
      std::find(std::begin(kScanKeys), std::end(kScanKeys), key) != std::end(kScanKeys);
  if (!scan && key != "FallingNoteMovementSound") return;
  LessonScope phrase(*this, Lesson::Phrase);
  SetUpLessonField(kQuickHalfStep);
  if (scan) {
    state_.FallingColumn = 0;
    // Channels keep the last pan they were sent, and mono sends none.
    if (!settings_.Stereo) voices_.CentreAllChannels();
    SweepColumns();
    return;
  }
  state_.FallingColumn = 4;
  state_.FallingNote = state_.CeilingNote + state_.ScaleTable[1];
  for (int32_t k : {Key::Left, Key::Right}) {
    if (lessonStopped_) return;
    Steer(k);
    HoldStep();
  }
}

}  // namespace kadeno
