// The plain rules of game play, free of any state: the speed-up of the scan, the landing
// raise, the making of a new falling note, the chord and scale tests and the game-end
// rule. The game's operations
// apply them to its fields; the tests check them alone against figures worked by hand.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kadeno {

// ---- Scan timing ----

// The key a game's rounds count up from (the first round is a semitone higher, C sharp).
inline constexpr int32_t kFirstKeyNote = 36;
// The shortest half-step of a game, in hundredths of a millisecond; the effect notes hold
// for shares of it.
inline constexpr int32_t kHalfStepFloor = 1500;

// The factor by which stage 1 of the speed-up shrinks a half-step time in its range.
double SpeedUpFactor(int32_t halfStepTime);
// One speed-up of the half-step time (hundredths of a millisecond) in three stages.
int32_t SpeedUpStep(int32_t halfStepTime, int32_t floor, int32_t difficulty,
                    double difficultySpeedUp);
// The half-step time a game starts with at a difficulty level (nothing if it overflows).
std::optional<int32_t> StartingHalfStepTime(int32_t difficulty);

// ---- The falling note ----

// How close (semitones) a falling note may come to its column's top note before it lands.
int64_t LandingDistance(int32_t difficulty);

struct Landing {
  int32_t note;
  bool landed;
};
// The landing test of a falling note over a top note: a note at or below the top, below
// the floor, or closer than the landing distance lands, raised by whole octaves until it
// stands at least the landing distance above the top.
Landing LandingRaise(int32_t fallingNote, int32_t top, int32_t baseLineNote,
                     int64_t landingDistance);

// The column a new note starts in, from where the last one ended (0: none made yet).
int32_t NextStartColumn(int32_t fallingColumn);
// The degree of a new note: four degrees above the last (0: none made yet).
int32_t NextDegree(int32_t fallingDegree);
// The note the Down key makes: the previous degree, in the octave below the note's own.
std::optional<int32_t> LoweredNote(int32_t note, int32_t newDegreeClass);
// Raises a note by whole octaves until it is not below the floor.
int32_t RaiseToFloor(int32_t note, int32_t baseLineNote);

// ---- Scoring ----

// The chord test on three values (low, middle, high): the root of the major or minor
// triad they form, or nothing.
std::optional<int32_t> ChordRootOf(int32_t low, int32_t middle, int32_t high);
// The scale test: the seven top classes (columns 1..7) hold every class of the scale.
bool ScaleComplete(const std::array<int32_t, 8>& scaleTable,
                   const std::array<int32_t, 8>& topClass);

// The game-end rule: another round follows a round that scored something and at least
// half of the best round (the current round already counted in the best).
bool AnotherRound(int32_t roundScore, int32_t bestRoundScore);

// A score as the score message and the listing write it: no decimals when whole.
std::string FormatScore(double score);

}  // namespace kadeno
