// MainForm: stereo placement of the columns.
#include <algorithm>

#include "shell/MainForm.h"

namespace kadeno {

int32_t MainForm::MapPan(int32_t nominal) const {
  return MapPanValue(nominal, settings.Stereo, settings.StereoWide, settings.StereoCurve,
                     settings.StereoBalance);
}

void MainForm::BuildPanTable() {
  for (int32_t p = 0; p < 128; ++p) midi.PanTable[p] = MapPan(p);
}

void MainForm::SendPan(int32_t value, int32_t channel) {
  if (!settings.Stereo) return;
  const int32_t index = std::clamp(value, 0, 127);
  const int32_t pan = std::clamp(midi.PanTable[index], 0, 127);
  if (channel == Channel::All) {
    for (int c = 0; c < kMidiChannels; ++c) Send(PanWord(c, pan));
    return;
  }
  Send(PanWord(std::clamp(channel, 0, kMidiChannels - 1), pan));
}

}  // namespace kadeno
