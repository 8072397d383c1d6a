// The voices: the one MIDI output, its sixteen channel tables and the stereo table. Every
// note of the program is sounded through here; the voices never wait (the game holds its
// effect notes through its own wait) and read the settings without writing them.
#pragma once

#include <cstdint>
#include <string>

#include "seams/AudioDevice.h"
#include "seams/Boxes.h"
#include "seams/Files.h"
#include "settings/Settings.h"
#include "sound/MidiOut.h"

namespace kadeno {

class Voices {
 public:
  // The settings give the voices' volumes, instruments and the stereo map. The boxes say
  // when there is no device; the files give the wave files' folder.
  Voices(Boxes& boxes, Files& files, AudioDevice& audio, const Settings& settings);

  // ---- The output (sound/Voices.cpp) ----
  // Opens the device; with none to open, says so and ends the program.
  void OpenMidiOut();
  void CloseMidiOut();
  void StopAllSound();

  // ---- The channels (sound/Voices.cpp) ----
  void EndChannelNote(int32_t channel);
  void AllNotesOff();
  // Ends the pitched voices (base line to effect), so that none hangs on under a box.
  void EndPitchedNotes();
  // Loads an effect note (the effect instrument, at that velocity) into a channel's table
  // and sounds it; the caller holds it and ends it.
  void SoundEffectNote(int32_t channel, int32_t note, int32_t velocity);
  // One step of the scan: the drum, the base line, the three rows and the falling note.
  void SoundVoices(int32_t drumKey, int32_t baseNote, int32_t row1Note, int32_t row2Note,
                   int32_t row3Note, int32_t fallingNote);
  // One note of one voice (a channel of the scan, or the effect channel) with that voice's
  // instrument and volume; the caller ends it.
  void SoundVoice(int32_t channel, int32_t note);

  // ---- Stereo placement (sound/Stereo.cpp) ----
  void BuildPanTable();
  // Places a channel (or Channel::All) at a nominal position, through the stereo table.
  void SendPan(int32_t value, int32_t channel);
  // Every channel in the middle, whatever the stereo switch says: how mono sounds when the
  // switch has just been turned off and the channels still stand where the last pan put them.
  void CentreAllChannels();

  // ---- Waves (sound/Voices.cpp) ----
  // Plays NAME.wav from the program's folder.
  void PlayWave(const std::string& name);

 private:
  friend class VoicesTestAccess;
  void Send(uint32_t word);
  // Loads a voice's instrument, velocity and note into its channel's table.
  void LoadVoice(int32_t channel, int32_t note);
  // Sounds the note loaded in a channel's table, unless it is already sounding.
  void SoundChannel(int32_t channel);
  int32_t MapPan(int32_t nominal) const;

  Boxes& boxes_;
  Files& files_;
  AudioDevice& audio_;
  const Settings& settings_;
  MidiOutState midi_;
};

}  // namespace kadeno
