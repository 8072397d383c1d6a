// The short effect notes, the wait of the game and the wave player.
#include "base/Arithmetic.h"
#include "sound/Voices.h"

namespace kadeno {

namespace {
constexpr int32_t kNoWaitAbove = 700000;  // a wait longer than 7 s is no wait at all
}

void Delay(WindowServices& window, int32_t& units) {
  window.Yield();
  if (units > kNoWaitAbove) units = 0;
  window.WaitMs(units > 0 ? units / 100 : 0);
}

void Voices::EffectNote(int32_t channel, int32_t note, int32_t velocity, int32_t& hold) {
  midi_.ChannelLastNote[channel] = 0;
  midi_.ChannelProgram[channel] = settings_.EffectInstrument;
  midi_.ChannelVelocity[channel] = velocity;
  midi_.ChannelNote[channel] = note;
  SoundChannel(channel);
  Delay(window_, hold);
  EndChannelNote(channel);
}

void Voices::LandingEffectNote(int32_t note, int32_t& halfStepFloor) {
  EffectNote(Channel::Effect, note, settings_.EffectVolume, halfStepFloor);
}

void Voices::DropEffectNote(int32_t note, int32_t halfStepFloor) {
  int32_t hold = static_cast<int32_t>(RoundHalfEven(halfStepFloor / 2.0));
  EffectNote(Channel::Effect, note, settings_.EffectVolume, hold);
}

void Voices::PercussionEffect(int32_t key, int32_t halfStepFloor) {
  int32_t hold = halfStepFloor / 3;
  EffectNote(Channel::Drum, key, settings_.EffectVolume, hold);
}

void Voices::FallingNoteEcho(int32_t fallingNote, int32_t halfStepFloor) {
  const int32_t remembered = settings_.EffectVolume;
  AssignRounded(settings_.EffectVolume, remembered * 0.8);
  int32_t hold = halfStepFloor / 3;
  EffectNote(Channel::Effect, fallingNote, settings_.EffectVolume, hold);
  settings_.EffectVolume = remembered;
}

void Voices::AwardEffectNote(int32_t note, int32_t halfStepFloor) {
  int32_t hold = 3 * halfStepFloor;
  EffectNote(Channel::Effect, note, settings_.EffectVolume, hold);
}

void Voices::PlayWave(const std::string& name) {
  audio_.PlayWave(window_.ProgramFolder() + "/" + name + ".wav");
}

}  // namespace kadeno
