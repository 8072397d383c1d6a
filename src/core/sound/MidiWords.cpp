// Pure computations of the sound subsystem: message packing, velocities, the pan map.
#include <cmath>

#include "base/Arithmetic.h"
#include "sound/MidiOut.h"

namespace kadeno {

uint32_t PackShortMessage(int status, int32_t data1, int32_t data2) {
  const auto s = static_cast<uint32_t>(status & 0xFF);
  const auto d1 = static_cast<uint32_t>(ClampDataByte(data1));
  const auto d2 = static_cast<uint32_t>(ClampDataByte(data2));
  return s | (d1 << 8) | (d2 << 16);
}

int32_t ScaledVelocity(int32_t volume, float keyboardScaling, int32_t note) {
  const double v = static_cast<double>(volume) -
                   static_cast<double>(keyboardScaling) * static_cast<double>(note) / 100.0;
  // A value that does not fit is limited later, when it is packed into its data byte.
  if (auto r = ToInt32(v)) return *r;
  return v < 0 ? 0 : 127;
}

int32_t MapPanValue(int32_t nominal, bool stereo, int32_t wide, int32_t curve, int32_t balance) {
  if (!stereo) return nominal;
  const double x = static_cast<double>(nominal) - 63.0;
  const double t = x / 16.0;
  double s = t * t;
  if (nominal < 63) s = -s;
  double y = x * static_cast<double>(wide) / 50.0 + (static_cast<double>(curve) - 50.0) * s / 50.0 +
             63.0 - 4.0 * t + (static_cast<double>(balance) - 50.0);
  if (y > 127) y = 127;
  if (y < 0) y = 0;
  return static_cast<int32_t>(RoundHalfEven(y));
}

}  // namespace kadeno
