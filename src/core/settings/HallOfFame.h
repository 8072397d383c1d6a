// The hall of fame: the five best games with their players' names and levels, kept in the
// settings. A game's score is offered a place once, at the end of its game; otherwise the
// command only reads the list out, so that the same game is never recorded twice.
#pragma once

#include "settings/SettingsStore.h"
#include "seams/WindowServices.h"

namespace kadeno {

class HallOfFame {
 public:
  HallOfFame(WindowServices& window, SettingsStore& store) : window_(window), store_(store) {}

  // Offers the score a place if it has not had its chance yet, saves, reads the list out.
  void RecordAndShowHallOfFame(double score);
  // A game has started: its score waits for the end of the game.
  void HoldOfferUntilGameEnd() { offered_ = true; }
  // The game has ended: its score has its chance now.
  void OfferAtGameEnd(double score) {
    offered_ = false;
    RecordAndShowHallOfFame(score);
  }

 private:
  // Steps 1 to 3: a name and a place for a good enough score.
  void OfferHallOfFamePlace(double s);

  WindowServices& window_;
  SettingsStore& store_;
  bool offered_ = false;  // the score has had (or, in mid-game, will get) its chance
};

}  // namespace kadeno
