// The hall of fame: the offer of a place and the listing.
#include "settings/HallOfFame.h"

#include <cmath>
#include <cstdio>

#include "base/Arithmetic.h"
#include "seams/Translate.h"

namespace kadeno {

namespace {
constexpr int kPlaces = 5;
constexpr const char* kPlaceLines[kPlaces] = {
    // TRANSLATORS: A line of the hall of fame listing. %1 is the points, %2 the player's name,
    // %3 the difficulty level, which comes with a blank of its own before it ("of  2", as the
    // listing has always shown it) unless it is negative.
    N_("First Place, with %1 points is %2 at a difficulty level of %3"),
    // TRANSLATORS: A line of the hall of fame listing. %1 is the points, %2 the player's name,
    // %3 the difficulty level, which comes with a blank of its own before it ("of  2", as the
    // listing has always shown it) unless it is negative.
    N_("Second Place, with %1 points is %2 at a difficulty level of %3"),
    // TRANSLATORS: A line of the hall of fame listing. %1 is the points, %2 the player's name,
    // %3 the difficulty level, which comes with a blank of its own before it ("of  2", as the
    // listing has always shown it) unless it is negative.
    N_("Third Place, with %1 points is %2 at a difficulty level of %3"),
    // TRANSLATORS: A line of the hall of fame listing. %1 is the points, %2 the player's name,
    // %3 the difficulty level, which comes with a blank of its own before it ("of  2", as the
    // listing has always shown it) unless it is negative.
    N_("Fourth Place, with %1 points is %2 at a difficulty level of %3"),
    // TRANSLATORS: A line of the hall of fame listing. %1 is the points, %2 the player's name,
    // %3 the difficulty level, which comes with a blank of its own before it ("of  2", as the
    // listing has always shown it) unless it is negative.
    N_("Fifth Place, with %1 points is %2 at a difficulty level of %3")};

std::string PlaceLine(int place, const HallOfFameEntry& e) {
  const int32_t level = HallOfFameLevel(e.Score);
  // The level stands where a minus sign would, as the listing has always shown it.
  std::string levelText = level < 0 ? std::string() : std::string(" ");
  levelText += std::to_string(level);
  return Format(Tr(kPlaceLines[place]), {HallOfFamePoints(e.Score), e.Name, levelText}) + "\r\n";
}
}  // namespace

double EncodeHallOfFameScore(double points, int32_t difficulty) {
  if (difficulty == 0) return points + 0.05;
  return points + 0.1 * (static_cast<double>(difficulty) - 1.0);
}

std::string HallOfFamePoints(double scoreValue) {
  const double points = std::floor(scoreValue);
  if (auto whole = ToInt64(points)) return std::to_string(*whole);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", points);
  return buf;
}

int32_t HallOfFameLevel(double scoreValue) {
  if (auto hundredths = ToInt64(scoreValue * 100); hundredths && *hundredths % 100 == 5) {
    return 0;
  }
  if (auto tenths = ToInt64(scoreValue * 10)) return static_cast<int32_t>(*tenths % 10 + 1);
  return 1;
}

void HallOfFame::RecordAndShowHallOfFame(double score) {
  if (!offered_) {
    offered_ = true;
    OfferHallOfFamePlace(score);
  }
  store_.SaveSettings();

  const auto& places = store_.Values().HallOfFame;
  std::string listing;
  if (places[0].Score > 0) {
    // TRANSLATORS: The heading of the hall of fame listing; the first place follows it.
    listing += Tr("Here is the Kadeno Masters Hall of Fame:") + "\r\n" + PlaceLine(0, places[0]);
  }
  for (int i = 1; i < kPlaces; ++i) {
    if (places[i].Score > 0) listing += PlaceLine(i, places[i]);
  }
  boxes_.MsgBox(listing, Box::Ok, std::nullopt);
}

void HallOfFame::OfferHallOfFamePlace(double s) {
  Settings& settings = store_.Writable();
  std::string name;
  if (s > settings.HallOfFame[kPlaces - 1].Score) {
    // TRANSLATORS: The prompt of the box that asks a new master's name.
    name = boxes_.InputBox(Tr("Please enter your name for the Hall of Fame"),
                           // TRANSLATORS: That box's title; the English doubles a word,
                           // as it always has, which a translation need not.
                           Tr("You have have ranked among the Kadeno Masters!"),
                           // TRANSLATORS: The name that box offers in its field.
                           Tr("who?"));
  }
  // The places are read again after the box: nothing is held across it.
  int k = -1;
  for (int i = 0; i < kPlaces - 1 && k < 0; ++i) {
    if (settings.HallOfFame[i].Score < s) k = i;
  }
  if (k < 0) {
    if (!(s > settings.HallOfFame[kPlaces - 1].Score)) {
      boxes_.MsgBox(Tr("With practice, you will soon rank among the Kadeno Masters!"), Box::Ok,
                    std::nullopt);
      return;
    }
    k = kPlaces - 1;
  }
  for (int i = kPlaces - 1; i > k; --i) settings.HallOfFame[i] = settings.HallOfFame[i - 1];
  settings.HallOfFame[k] = {EncodeHallOfFameScore(s, settings.Difficulty), name};
}

}  // namespace kadeno
