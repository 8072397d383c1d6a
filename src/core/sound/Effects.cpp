// MainForm: the short effect notes, the wait of the game and the wave player.
#include "base/Arithmetic.h"
#include "shell/MainForm.h"

namespace kadeno {

namespace {
constexpr int32_t kNoWaitAbove = 700000;  // a wait longer than 7 s is no wait at all
}

void MainForm::Delay(int32_t& units) {
  window.Yield();
  if (units > kNoWaitAbove) units = 0;
  window.WaitMs(units > 0 ? units / 100 : 0);
}

void MainForm::EffectNote(int32_t channel, int32_t note, int32_t velocity, int32_t& hold) {
  midi.ChannelLastNote[channel] = 0;
  midi.ChannelProgram[channel] = settings.EffectInstrument;
  midi.ChannelVelocity[channel] = velocity;
  midi.ChannelNote[channel] = note;
  SoundChannel(channel);
  Delay(hold);
  EndChannelNote(channel);
}

void MainForm::LandingEffectNote(int32_t note) {
  // The landing holds for HalfStepFloor itself (Delay may clear an overlong value).
  EffectNote(Channel::Effect, note, settings.EffectVolume, game.HalfStepFloor);
}

void MainForm::DropEffectNote(int32_t note) {
  int32_t hold = static_cast<int32_t>(RoundHalfEven(game.HalfStepFloor / 2.0));
  EffectNote(Channel::Effect, note, settings.EffectVolume, hold);
}

void MainForm::PercussionEffect(int32_t key) {
  int32_t hold = game.HalfStepFloor / 3;
  EffectNote(Channel::Drum, key, settings.EffectVolume, hold);
}

void MainForm::FallingNoteEcho() {
  const int32_t remembered = settings.EffectVolume;
  AssignRounded(settings.EffectVolume, remembered * 0.8);
  int32_t hold = game.HalfStepFloor / 3;
  EffectNote(Channel::Effect, game.FallingNote, settings.EffectVolume, hold);
  settings.EffectVolume = remembered;
}

void MainForm::AwardEffectNote(int32_t note) {
  int32_t hold = 3 * game.HalfStepFloor;
  EffectNote(Channel::Effect, note, settings.EffectVolume, hold);
}

void MainForm::PlayWave(const std::string& name) {
  audio.PlayWave(window.ProgramFolder() + "/" + name + ".wav");
}

}  // namespace kadeno
