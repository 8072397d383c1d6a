// Arithmetic rules shared by every subsystem: conversions to whole numbers round
// halves to the even neighbour, and a conversion that does not fit its field is
// refused (the caller skips its step) instead of being undefined behaviour.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace kadeno {

// Rounds to the nearest whole number, halves to the even neighbour.
inline double RoundHalfEven(double x) { return std::nearbyint(x); }

// x rounded half to even as a 32-bit integer; nullopt when it does not fit (or is NaN).
inline std::optional<int32_t> ToInt32(double x) {
  const double r = RoundHalfEven(x);
  if (!(r >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
        r <= static_cast<double>(std::numeric_limits<int32_t>::max()))) {
    return std::nullopt;
  }
  return static_cast<int32_t>(r);
}

// Same for 64-bit fields.
inline std::optional<int64_t> ToInt64(double x) {
  const double r = RoundHalfEven(x);
  // 2^63 is exactly representable; anything at or above it does not fit.
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return std::nullopt;
  return static_cast<int64_t>(r);
}

// Stores the rounded value when it fits, else leaves the field as it was.
inline void AssignRounded(int32_t& field, double x) {
  if (auto v = ToInt32(x)) field = *v;
}

// A value limited to a data byte of a MIDI message.
inline int32_t ClampDataByte(int64_t v) {
  return v < 0 ? 0 : (v > 127 ? 127 : static_cast<int32_t>(v));
}

}  // namespace kadeno
