// Stereo placement of the columns.
#include <algorithm>

#include "sound/Voices.h"

namespace kadeno {

int32_t Voices::MapPan(int32_t nominal) const {
  return MapPanValue(nominal, settings_.Stereo, settings_.StereoWide, settings_.StereoCurve,
                     settings_.StereoBalance);
}

void Voices::BuildPanTable() {
  for (int32_t p = 0; p < 128; ++p) midi_.PanTable[p] = MapPan(p);
}

void Voices::SendPan(int32_t value, int32_t channel) {
  if (!settings_.Stereo) return;
  const int32_t index = std::clamp(value, 0, 127);
  const int32_t pan = std::clamp(midi_.PanTable[index], 0, 127);
  if (channel == Channel::All) {
    for (int c = 0; c < kMidiChannels; ++c) Send(PanWord(c, pan));
    return;
  }
  Send(PanWord(std::clamp(channel, 0, kMidiChannels - 1), pan));
}

void Voices::CentreAllChannels() {
  constexpr int32_t kCentre = 63;  // the centre column's nominal place
  for (int c = 0; c < kMidiChannels; ++c) Send(PanWord(c, kCentre));
}

}  // namespace kadeno
