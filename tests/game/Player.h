// A scripted player for whole games: each cue waits for a moment of the game (checked at
// every yield, as a listening player would notice it) and then acts once, in order.
#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "support/Harness.h"

namespace kadeno::test {

using Cue = std::function<bool(const GameState&)>;

class Player {
 public:
  explicit Player(Harness& h) : h_(h) {}
  void When(Cue cue, std::vector<int> keys) {
    cues_.push_back({std::move(cue), std::move(keys)});
    if (cues_.size() == 1) Arm();
  }
  bool Done() const { return cues_.empty(); }

 private:
  void Arm() {
    h_.window.At(h_.window.now + 1, [this] {
      if (cues_.empty()) return;
      if (cues_.front().first(h_.G())) {
        const std::vector<int> keys = cues_.front().second;
        cues_.pop_front();
        for (int k : keys) h_.form.Form_KeyDown(k, 0);
      }
      if (!cues_.empty()) Arm();
    });
  }
  Harness& h_;
  std::deque<std::pair<Cue, std::vector<int>>> cues_;
};

// A new falling note has just been made in this key, column and degree.
inline Cue NewNote(int key, int column, int degree) {
  return [=](const GameState& g) {
    return g.NewNotePending && g.KeyNote == key && g.FallingColumn == column &&
           g.FallingDegree == degree;
  };
}

// The words of the last `count` MIDI messages before the n-th wave (hex, log style).
inline std::vector<std::string> WordsBeforeWave(const FakeAudio& a, size_t wave, size_t count) {
  std::vector<std::string> out = a.Hex(a.waves.at(wave).wordsBefore - count);
  out.resize(count);
  return out;
}

// The words an award note sends on the effect channel (instrument 0, velocity 100), after
// the pan its step sends to the percussion channel (a value of the default stereo table).
inline void AwardNoteWords(std::vector<std::string>& out, int pan, int note) {
  char buf[3][16];
  std::snprintf(buf[0], sizeof buf[0], "B9 0A %02X", pan);
  std::snprintf(buf[1], sizeof buf[1], "96 %02X 64", note);
  std::snprintf(buf[2], sizeof buf[2], "86 %02X 64", note);
  if (pan >= 0) out.push_back(buf[0]);
  out.insert(out.end(), {"C6 00", buf[1], buf[2]});
}

}  // namespace kadeno::test
