// The short effect notes and the wait of the game.
#include "game/EffectNotes.h"

#include "base/Arithmetic.h"

namespace kadeno {

namespace {
constexpr int32_t kNoWaitAbove = 700000;  // a wait longer than 7 s is no wait at all
}

void Delay(EventClock& clock, int32_t& units) {
  clock.Yield();
  if (units > kNoWaitAbove) units = 0;
  clock.WaitMs(units > 0 ? units / 100 : 0);
}

void EffectNotes::EffectNote(int32_t channel, int32_t note, int32_t velocity, int32_t& hold) {
  voices_.SoundEffectNote(channel, note, velocity);
  Delay(clock_, hold);
  voices_.EndChannelNote(channel);
}

void EffectNotes::LandingEffectNote(int32_t note, int32_t& halfStepFloor) {
  EffectNote(Channel::Effect, note, settings_.EffectVolume, halfStepFloor);
}

void EffectNotes::DropEffectNote(int32_t note, int32_t halfStepFloor) {
  int32_t hold = static_cast<int32_t>(RoundHalfEven(halfStepFloor / 2.0));
  EffectNote(Channel::Effect, note, settings_.EffectVolume, hold);
}

void EffectNotes::PercussionEffect(int32_t key, int32_t halfStepFloor) {
  int32_t hold = halfStepFloor / 3;
  EffectNote(Channel::Drum, key, settings_.EffectVolume, hold);
}

void EffectNotes::FallingNoteEcho(int32_t fallingNote, int32_t halfStepFloor) {
  // The echo's own velocity: the player's effect volume stays as it is, so that a save or
  // a value command answered while the echo holds keeps the player's value.
  int32_t velocity = settings_.EffectVolume;
  AssignRounded(velocity, settings_.EffectVolume * 0.8);
  int32_t hold = halfStepFloor / 3;
  EffectNote(Channel::Effect, fallingNote, velocity, hold);
}

void EffectNotes::AwardEffectNote(int32_t note, int32_t halfStepFloor) {
  int32_t hold = 3 * halfStepFloor;
  EffectNote(Channel::Effect, note, settings_.EffectVolume, hold);
}

}  // namespace kadeno
