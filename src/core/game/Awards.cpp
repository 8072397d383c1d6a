// What a scored combination earns, and how the player hears it: a fanfare of
// effect notes built from the notes that scored, a recorded sound, a short pause.
#include "game/Game.h"

namespace kadeno {

namespace {
constexpr int64_t kAfterChordMs = 400;
constexpr int64_t kAfterScaleMs = 600;
}  // namespace

void Game::AddChordPoints() { state_.Score += 10; }

void Game::AddScalePoints() { state_.Score += 50; }

void Game::ChordFanfare(int32_t a, int32_t b, int32_t c, int32_t root) {
  // Up and down through the chord in two octaves, then the root. A value is sounded an
  // octave higher only while it stays in the range the synthesiser plays well.
  struct Step {
    int32_t value;
    int32_t up;
  };
  const Step steps[] = {{a, 48}, {b, 48}, {c, 48}, {a, 60}, {b, 60},    {c, 60},   {b, 60},
                        {a, 60}, {c, 48}, {b, 48}, {a, 48}, {root, 60}, {root, 48}};
  for (const Step& s : steps) {
    if (s.value < 126 - s.up) {
      effects_.AwardEffectNote(s.value + s.up, state_.HalfStepFloor);
    }
  }
  voices_.PlayWave("TenMore");
  clock_.SleepMs(kAfterChordMs);
}

void Game::ScaleFanfare(const TopClasses& topClasses, int32_t keyNote) {
  // Copied first: the award notes yield, and nothing may be read through a reference
  // after a yield.
  const TopClasses t = topClasses;
  const int32_t k = keyNote;
  for (int i = 1; i <= kColumns; ++i) {
    voices_.SendPan(ColumnPan(i), Channel::Drum);
    effects_.AwardEffectNote(t[i] + 96, state_.HalfStepFloor);
  }
  if (k < 66) {
    voices_.SendPan(63, Channel::Drum);
    effects_.AwardEffectNote(k + 60, state_.HalfStepFloor);
  }
  for (int d = 7; d >= 1; --d) {
    voices_.SendPan(ColumnPan(d), Channel::Drum);
    const int64_t note = static_cast<int64_t>(k) + state_.ScaleTable[d] + 47;
    if (note + 1 < 126) effects_.AwardEffectNote(static_cast<int32_t>(note), state_.HalfStepFloor);
  }
  // The key four times, from side to side in two octaves.
  for (int i = 0; i < 2; ++i) {
    if (k < 66) {
      voices_.SendPan(126, Channel::Drum);
      effects_.AwardEffectNote(k + 60, state_.HalfStepFloor);
    }
    if (k < 78) {
      voices_.SendPan(0, Channel::Drum);
      effects_.AwardEffectNote(k + 48, state_.HalfStepFloor);
    }
  }
  voices_.PlayWave("AddFifty");
  clock_.SleepMs(kAfterScaleMs);
}

}  // namespace kadeno
