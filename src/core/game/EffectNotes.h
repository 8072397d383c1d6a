// The game's own timing: its wait, and the short effect notes that hold through it. Each
// effect note sounds on the voices, waits, then ends; a wait runs pending key handlers and
// menu commands, so a caller reads its own state again after one.
#pragma once

#include <cstdint>

#include "seams/Clock.h"
#include "settings/Settings.h"
#include "sound/Voices.h"

namespace kadeno {

// The wait of the game, in hundredths of a millisecond: a yield, then the rest of the time
// waited with input served. A wait longer than 7 s is no wait at all, and the units are
// then cleared.
void Delay(EventClock& clock, int32_t& units);

class EffectNotes {
 public:
  EffectNotes(EventClock& clock, Voices& voices, const Settings& settings)
      : clock_(clock), voices_(voices), settings_(settings) {}

  // Each holds for a share of the game's half-step floor. The landing note holds for the
  // floor itself, which the wait may clear.
  void LandingEffectNote(int32_t note, int32_t& halfStepFloor);
  void DropEffectNote(int32_t note, int32_t halfStepFloor);
  void PercussionEffect(int32_t key, int32_t halfStepFloor);
  // The echo of a moved note, at 80 % of the effect volume.
  void FallingNoteEcho(int32_t fallingNote, int32_t halfStepFloor);
  void AwardEffectNote(int32_t note, int32_t halfStepFloor);

 private:
  // One effect note: sound it on a channel, hold it through Delay, end it.
  void EffectNote(int32_t channel, int32_t note, int32_t velocity, int32_t& hold);

  EventClock& clock_;
  Voices& voices_;
  const Settings& settings_;
};

}  // namespace kadeno
