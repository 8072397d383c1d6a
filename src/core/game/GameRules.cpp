// The plain rules of game play. Whole-number work that could overflow its 32-bit field is
// done in 64 bits and stored only when it fits, so a wild value from a hand-edited
// settings file skips a step instead of wrapping.
#include "game/GameRules.h"

#include <cmath>
#include <cstdio>

#include "base/Arithmetic.h"

namespace kadeno {

namespace {
std::optional<int32_t> Fit(int64_t v) {
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}
}  // namespace

double SpeedUpFactor(int32_t t) {
  if (t < 3333) return 0.9998;
  if (t < 6666) return 0.9995;
  if (t < 10000) return 0.9991;
  if (t < 13333) return 0.9986;
  if (t < 16666) return 0.998;
  if (t < 18000) return 0.995;
  if (t < 21000) return 0.99;
  return 0.97;
}

int32_t SpeedUpStep(int32_t halfStepTime, int32_t floor, int32_t difficulty,
                    double difficultySpeedUp) {
  int32_t t = halfStepTime;
  // Stage 1: slows down its shrinking as the game gets fast, and stops at the floor.
  if (t >= floor) AssignRounded(t, t * SpeedUpFactor(t));
  // Stage 2: the harder levels keep shrinking it below the floor.
  if (difficulty > 2) {
    AssignRounded(t, t * (1.0 - (static_cast<double>(difficulty) - 2.0) * difficultySpeedUp));
  }
  // Stage 3.
  if (t > floor) AssignRounded(t, t * 0.998);
  return t;
}

std::optional<int32_t> StartingHalfStepTime(int32_t difficulty) {
  return Fit(21220 - 700 * static_cast<int64_t>(difficulty));
}

int64_t LandingDistance(int32_t difficulty) { return 3 * static_cast<int64_t>(difficulty) + 1; }

Landing LandingRaise(int32_t fallingNote, int32_t top, int32_t baseLineNote,
                     int64_t landingDistance) {
  // Each raise is the closed form of "add an octave while ...", so that no value,
  // however wild, can make it loop for long.
  int64_t n = fallingNote;
  bool landed = false;
  if (n <= top) {
    n += 12 * ((top - n) / 12 + 1);
    landed = true;
  }
  if (n < baseLineNote) {
    n += 12 * ((baseLineNote - n + 11) / 12);
    landed = true;
  }
  if (n - landingDistance < top) {
    n += 12 * ((top + landingDistance - n) / 12 + 1);
    landed = true;
  }
  return {Fit(n).value_or(fallingNote), landed};
}

int32_t NextStartColumn(int32_t fallingColumn) {
  const int64_t from = fallingColumn == 0 ? 5 : fallingColumn;
  int64_t c = from % 7 + 1;
  // A note never starts in the centre column nor at the right wall.
  if (c == 4) c = 5;
  if (c == 7) c = 1;
  return static_cast<int32_t>(c);
}

int32_t NextDegree(int32_t fallingDegree) {
  return static_cast<int32_t>((static_cast<int64_t>(fallingDegree) + 3) % 7 + 1);
}

std::optional<int32_t> LoweredNote(int32_t note, int32_t newDegreeClass) {
  return Fit(static_cast<int64_t>(note) - note % 12 + newDegreeClass - 12);
}

int32_t RaiseToFloor(int32_t note, int32_t baseLineNote) {
  if (note >= baseLineNote) return note;
  const int64_t n = note + 12 * ((static_cast<int64_t>(baseLineNote) - note + 11) / 12);
  return Fit(n).value_or(note);
}

std::optional<int32_t> ChordRootOf(int32_t low, int32_t middle, int32_t high) {
  const int64_t v[3] = {low, middle, high};
  // The order of the search never changes the answer for a true triad, but it decides
  // which pair is taken when two pairs lie a fifth apart (then there is no chord).
  constexpr int kPairs[6][2] = {{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}};
  for (const auto& pair : kPairs) {
    const int64_t root = v[pair[0]];
    const int64_t fifth = v[pair[1]];
    if ((fifth + 120 - root) % 12 != 7) continue;
    const int64_t third = v[3 - pair[0] - pair[1]];
    const int64_t q = (third + 120 - root) % 12;
    if (q != 3 && q != 4) return std::nullopt;
    return static_cast<int32_t>(root % 12);
  }
  return std::nullopt;
}

bool ScaleComplete(const std::array<int32_t, 8>& scaleTable,
                   const std::array<int32_t, 8>& topClass) {
  std::array<int, 13> needed{};
  for (int d = 1; d <= 7; ++d) {
    if (scaleTable[d] >= 0 && scaleTable[d] <= 12) needed[scaleTable[d]] = 1;
  }
  for (int c = 1; c <= 7; ++c) {
    if (topClass[c] >= 0 && topClass[c] <= 12) needed[topClass[c]] = 0;
  }
  int missing = 0;
  for (int i = 0; i < 12; ++i) missing += needed[i];
  return missing == 0;
}

bool AnotherRound(int32_t roundScore, int32_t bestRoundScore) {
  return bestRoundScore / 2.0 <= roundScore && roundScore != 0;
}

std::string FormatScore(double score) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", score);
  return buf;
}

}  // namespace kadeno
