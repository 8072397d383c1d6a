// The voices: the one MIDI output, its sixteen channel tables, the stereo table and the
// short effect notes. Every note of the program is sounded through here.
//
// The effect notes wait while they sound, and a wait runs pending key handlers and menu
// commands; a caller reads its own state again after one.
#pragma once

#include <cstdint>
#include <string>

#include "settings/Settings.h"
#include "seams/WindowServices.h"
#include "seams/AudioDevice.h"
#include "sound/MidiOut.h"

namespace kadeno {

// The wait of the game, in hundredths of a millisecond: a yield, then the rest of the time
// waited with input served. A wait longer than 7 s is no wait at all, and the units are
// then cleared.
void Delay(WindowServices& window, int32_t& units);

class Voices {
 public:
  // The settings give the voices' volumes, instruments and the stereo map; the echo of a
  // moved note lowers the effect volume for as long as it sounds.
  Voices(WindowServices& window, AudioDevice& audio, Settings& settings);

  // ---- The output (sound/Voices.cpp) ----
  // Opens the device; with none to open, says so and ends the program.
  void OpenMidiOut();
  void CloseMidiOut();
  void StopAllSound();
  bool IsOpen() const { return midi_.MidiIsOpen; }

  // ---- The channels (sound/Voices.cpp) ----
  // Sounds the note loaded in a channel's table, unless it is already sounding.
  void SoundChannel(int32_t channel);
  void EndChannelNote(int32_t channel);
  void AllNotesOff();
  // One step of the scan: the drum, the base line, the three rows and the falling note.
  void SoundVoices(int32_t drumKey, int32_t baseNote, int32_t row1Note, int32_t row2Note,
                   int32_t row3Note, int32_t fallingNote);

  // ---- Stereo placement (sound/Stereo.cpp) ----
  int32_t MapPan(int32_t nominal) const;
  void BuildPanTable();
  // Places a channel (or Channel::All) at a nominal position, through the stereo table.
  void SendPan(int32_t value, int32_t channel);

  // ---- Effect notes and waves (game/EffectNotes.cpp) ----
  // Each holds for a share of the game's half-step floor. The landing note holds for the
  // floor itself, which the wait may clear.
  void LandingEffectNote(int32_t note, int32_t& halfStepFloor);
  void DropEffectNote(int32_t note, int32_t halfStepFloor);
  void PercussionEffect(int32_t key, int32_t halfStepFloor);
  void FallingNoteEcho(int32_t fallingNote, int32_t halfStepFloor);
  void AwardEffectNote(int32_t note, int32_t halfStepFloor);
  void PlayWave(const std::string& name);

  const MidiOutState& State() const { return midi_; }

 private:
  friend class VoicesTestAccess;
  void Send(uint32_t word);
  // One effect note: sound it on a channel, hold it through Delay, end it.
  void EffectNote(int32_t channel, int32_t note, int32_t velocity, int32_t& hold);

  WindowServices& window_;
  AudioDevice& audio_;
  Settings& settings_;
  MidiOutState midi_;
};

}  // namespace kadeno
