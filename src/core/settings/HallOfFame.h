// The hall of fame: the five best games with their players' names and levels, kept in the
// settings. A game's score is offered a place once, at the end of its game; otherwise the
// command only reads the list out, so that the same game is never recorded twice.
#pragma once

#include <cstdint>
#include <string>

#include "seams/Boxes.h"
#include "settings/SettingsStore.h"

namespace kadeno {

// ---- How a place carries its level (plain rules, tested alone) ----

// The score value stored for a game's points at a difficulty level. Levels 1..10 add
// their level less one as a tenth; level 0 adds five hundredths, so that the entry keeps
// its true points and a later game of equal points ranks below it.
double EncodeHallOfFameScore(double points, int32_t difficulty);
// The points a stored score value shows: the value rounded down.
std::string HallOfFamePoints(double scoreValue);
// The difficulty level a stored score value shows.
int32_t HallOfFameLevel(double scoreValue);

class HallOfFame {
 public:
  HallOfFame(Boxes& boxes, SettingsStore& store) : boxes_(boxes), store_(store) {}

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

  Boxes& boxes_;
  SettingsStore& store_;
  bool offered_ = false;  // the score has had (or, in mid-game, will get) its chance
};

}  // namespace kadeno
