// MainForm: the MIDI output and its seven voices.
#include "shell/MainForm.h"

namespace kadeno {

namespace {
constexpr const char* kNoDeviceMessage =
    "The Midi device is already in use by another program. If I were you I would quit from "
    "the other program first. ";

bool ValidChannel(int32_t c) { return c >= 0 && c < kMidiChannels; }
}  // namespace

void MainForm::Send(uint32_t word) { audio.SendShortMessage(word); }

void MainForm::OpenMidiOut() {
  if (audio.DeviceCount() < 1) {
    window.MsgBox(kNoDeviceMessage, Box::Ok, std::nullopt);
    StopAllSound();
    window.EndProgram();
  }
  if (audio.Open() != OpenResult::Ok) {
    window.MsgBox(kNoDeviceMessage, Box::Ok, std::nullopt);
    StopAllSound();
    window.EndProgram();
  }
  midi.MidiIsOpen = true;
}

void MainForm::CloseMidiOut() {
  if (!midi.MidiIsOpen) return;
  for (int c = 0; c < kMidiChannels; ++c) EndChannelNote(c);
  audio.Close();
  midi.MidiIsOpen = false;
}

void MainForm::StopAllSound() {
  CloseMidiOut();
  audio.StopWave();
}

void MainForm::SoundChannel(int32_t c) {
  if (!ValidChannel(c)) return;
  if (midi.ChannelNote[c] == midi.ChannelLastNote[c]) return;
  if (midi.NoteSounding[c]) EndChannelNote(c);
  Send(ProgramChangeWord(c, midi.ChannelProgram[c]));
  Send(NoteOnWord(c, midi.ChannelNote[c], midi.ChannelVelocity[c]));
  midi.NoteSounding[c] = true;
  midi.SoundingNote[c] = midi.ChannelNote[c];
  midi.ChannelLastNote[c] = midi.ChannelNote[c];
}

void MainForm::EndChannelNote(int32_t c) {
  if (!ValidChannel(c) || !midi.NoteSounding[c]) return;
  Send(NoteOffWord(c, midi.SoundingNote[c], midi.ChannelVelocity[c]));
  midi.NoteSounding[c] = false;
}

void MainForm::AllNotesOff() {
  for (int c = 0; c < kMidiChannels; ++c) EndChannelNote(c);
}

void MainForm::SoundVoices(int32_t drumKey, int32_t baseNote, int32_t row1Note, int32_t row2Note,
                           int32_t row3Note, int32_t fallingNote) {
  const int32_t base = baseNote - 12;
  const int32_t row1 = row1Note == baseNote ? 0 : row1Note;
  const int32_t row2 = row2Note == baseNote ? 0 : row2Note;

  auto load = [this](int c, int32_t program, int32_t note, int32_t velocity) {
    midi.ChannelLastNote[c] = 0;
    midi.ChannelProgram[c] = program;
    midi.ChannelNote[c] = note;
    midi.ChannelVelocity[c] = velocity;
  };
  const Settings& s = settings;
  const float k = s.KeyboardScaling;
  load(Channel::Drum, 0, drumKey, s.DrumVolume);
  load(Channel::BaseLine, s.BaseLineInstrument, base, ScaledVelocity(s.BaseLineVolume, k, base));
  load(Channel::Row1, s.Row1Instrument, row1, ScaledVelocity(s.Row1Volume, k, row1));
  load(Channel::Row2, s.Row2Instrument, row2, ScaledVelocity(s.Row2Volume, k, row2));
  load(Channel::Row3, s.Row3Instrument, row3Note, ScaledVelocity(s.Row3Volume, k, row3Note));
  load(Channel::Falling, s.FallingInstrument, fallingNote,
       ScaledVelocity(s.FallingVolume, k, fallingNote));

  if (midi.ChannelVelocity[Channel::Drum] != 0) SoundChannel(Channel::Drum);
  for (int c = Channel::BaseLine; c <= Channel::Falling; ++c) {
    if (midi.ChannelVelocity[c] != 0 && midi.ChannelNote[c] != 0) SoundChannel(c);
  }
}

}  // namespace kadeno
