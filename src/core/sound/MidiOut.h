// State of the one MIDI output: the device flag and the sixteen channel tables that
// callers load before sounding a note, plus the stereo table.
#pragma once

#include <array>
#include <cstdint>

namespace kadeno {

inline constexpr int kMidiChannels = 16;

// Fixed voices and their channels.
namespace Channel {
inline constexpr int BaseLine = 1;
inline constexpr int Row1 = 2;
inline constexpr int Row2 = 3;
inline constexpr int Row3 = 4;
inline constexpr int Falling = 5;
inline constexpr int Effect = 6;
inline constexpr int Drum = 9;  // also the percussion effects
inline constexpr int All = 99;  // SendPan: every channel
}  // namespace Channel

struct MidiOutState {
  bool MidiIsOpen = false;
  std::array<int32_t, kMidiChannels> ChannelProgram{};
  std::array<int32_t, kMidiChannels> ChannelNote{};
  std::array<int32_t, kMidiChannels> ChannelVelocity{};
  std::array<int32_t, kMidiChannels> ChannelLastNote{};
  std::array<bool, kMidiChannels> NoteSounding{};
  // The note that actually sounds on a channel, so that its note off ends it even when a
  // nested effect has cleared ChannelLastNote to force a restart.
  std::array<int32_t, kMidiChannels> SoundingNote{};
  std::array<int32_t, 128> PanTable{};
};

// Packs one MIDI 1.0 channel message; every byte is limited to its range first.
uint32_t PackShortMessage(int status, int32_t data1, int32_t data2);
inline uint32_t ProgramChangeWord(int channel, int32_t program) {
  return PackShortMessage(0xC0 + channel, program, 0);
}
inline uint32_t NoteOnWord(int channel, int32_t note, int32_t velocity) {
  return PackShortMessage(0x90 + channel, note, velocity);
}
inline uint32_t NoteOffWord(int channel, int32_t note, int32_t velocity) {
  return PackShortMessage(0x80 + channel, note, velocity);
}
inline uint32_t PanWord(int channel, int32_t pan) {
  return PackShortMessage(0xB0 + channel, 10, pan);
}

// A voice's velocity: volume less KeyboardScaling x note / 100, rounded half to even.
int32_t ScaledVelocity(int32_t volume, float keyboardScaling, int32_t note);

// The stereo map of a nominal pan value 0..127 for the given settings.
int32_t MapPanValue(int32_t nominal, bool stereo, int32_t wide, int32_t curve, int32_t balance);

}  // namespace kadeno
