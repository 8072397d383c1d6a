// The MIDI output and its seven voices.
#include "sound/Voices.h"

#include "seams/Translate.h"

namespace kadeno {

namespace {
// TRANSLATORS: The box when the sound device cannot be opened; the program ends after it.
constexpr const char* kNoDeviceMessage =
    N_("The Midi device is already in use by another program. If I were you I would quit from "
       "the other program first. ");

bool ValidChannel(int32_t c) { return c >= 0 && c < kMidiChannels; }
}  // namespace

Voices::Voices(Boxes& boxes, Files& files, AudioDevice& audio, const Settings& settings)
    : boxes_(boxes), files_(files), audio_(audio), settings_(settings) {}

void Voices::Send(uint32_t word) { audio_.SendShortMessage(word); }

void Voices::OpenMidiOut() {
  if (audio_.DeviceCount() < 1) {
    boxes_.MsgBox(Tr(kNoDeviceMessage), Box::Ok, std::nullopt);
    StopAllSound();
    boxes_.EndProgram();
  }
  if (audio_.Open() != OpenResult::Ok) {
    boxes_.MsgBox(Tr(kNoDeviceMessage), Box::Ok, std::nullopt);
    StopAllSound();
    boxes_.EndProgram();
  }
  midi_.MidiIsOpen = true;
}

void Voices::CloseMidiOut() {
  if (!midi_.MidiIsOpen) return;
  for (int c = 0; c < kMidiChannels; ++c) EndChannelNote(c);
  audio_.Close();
  midi_.MidiIsOpen = false;
}

void Voices::StopAllSound() {
  CloseMidiOut();
  audio_.StopWave();
}

void Voices::SoundChannel(int32_t c) {
  if (!ValidChannel(c)) return;
  if (midi_.ChannelNote[c] == midi_.ChannelLastNote[c]) return;
  if (midi_.NoteSounding[c]) EndChannelNote(c);
  Send(ProgramChangeWord(c, midi_.ChannelProgram[c]));
  Send(NoteOnWord(c, midi_.ChannelNote[c], midi_.ChannelVelocity[c]));
  midi_.NoteSounding[c] = true;
  midi_.SoundingNote[c] = midi_.ChannelNote[c];
  midi_.ChannelLastNote[c] = midi_.ChannelNote[c];
}

void Voices::EndChannelNote(int32_t c) {
  if (!ValidChannel(c) || !midi_.NoteSounding[c]) return;
  Send(NoteOffWord(c, midi_.SoundingNote[c], midi_.ChannelVelocity[c]));
  midi_.NoteSounding[c] = false;
}

void Voices::AllNotesOff() {
  for (int c = 0; c < kMidiChannels; ++c) EndChannelNote(c);
}

void Voices::EndPitchedNotes() {
  for (int32_t c = Channel::BaseLine; c <= Channel::Effect; ++c) EndChannelNote(c);
}

void Voices::SoundEffectNote(int32_t channel, int32_t note, int32_t velocity) {
  midi_.ChannelLastNote[channel] = 0;
  midi_.ChannelProgram[channel] = settings_.EffectInstrument;
  midi_.ChannelVelocity[channel] = velocity;
  midi_.ChannelNote[channel] = note;
  SoundChannel(channel);
}

void Voices::PlayWave(const std::string& name) {
  audio_.PlayWave(files_.ProgramFolder() + "/" + name + ".wav");
}

void Voices::LoadVoice(int32_t channel, int32_t note) {
  const Settings& s = settings_;
  const float k = s.KeyboardScaling;
  auto load = [this, channel, note](int32_t program, int32_t velocity) {
    midi_.ChannelLastNote[channel] = 0;
    midi_.ChannelProgram[channel] = program;
    midi_.ChannelNote[channel] = note;
    midi_.ChannelVelocity[channel] = velocity;
  };
  switch (channel) {
    case Channel::Drum:
      return load(0, s.DrumVolume);
    case Channel::BaseLine:
      return load(s.BaseLineInstrument, ScaledVelocity(s.BaseLineVolume, k, note));
    case Channel::Row1:
      return load(s.Row1Instrument, ScaledVelocity(s.Row1Volume, k, note));
    case Channel::Row2:
      return load(s.Row2Instrument, ScaledVelocity(s.Row2Volume, k, note));
    case Channel::Row3:
      return load(s.Row3Instrument, ScaledVelocity(s.Row3Volume, k, note));
    case Channel::Falling:
      return load(s.FallingInstrument, ScaledVelocity(s.FallingVolume, k, note));
    case Channel::Effect:
      return load(s.EffectInstrument, s.EffectVolume);
    default:
      return;
  }
}

void Voices::SoundVoice(int32_t channel, int32_t note) {
  LoadVoice(channel, note);
  if (ValidChannel(channel) && midi_.ChannelVelocity[channel] != 0) SoundChannel(channel);
}

void Voices::SoundVoices(int32_t drumKey, int32_t baseNote, int32_t row1Note, int32_t row2Note,
                         int32_t row3Note, int32_t fallingNote) {
  LoadVoice(Channel::Drum, drumKey);
  LoadVoice(Channel::BaseLine, baseNote - 12);
  // A ground row on the floor is silent: the base line already sounds it.
  LoadVoice(Channel::Row1, row1Note == baseNote ? 0 : row1Note);
  LoadVoice(Channel::Row2, row2Note == baseNote ? 0 : row2Note);
  LoadVoice(Channel::Row3, row3Note);
  LoadVoice(Channel::Falling, fallingNote);

  if (midi_.ChannelVelocity[Channel::Drum] != 0) SoundChannel(Channel::Drum);
  for (int c = Channel::BaseLine; c <= Channel::Falling; ++c) {
    if (midi_.ChannelVelocity[c] != 0 && midi_.ChannelNote[c] != 0) SoundChannel(c);
  }
}

}  // namespace kadeno
