// A MainForm wired to the fakes, with sugar for scripting a player.
#pragma once

#include "shell/MainForm.h"
#include "support/FakeAudio.h"
#include "support/FakeWindow.h"

namespace kadeno::test {

struct Harness {
  FakeWindow window;
  FakeAudio audio;
  MainForm form{window, audio};

  Harness() {
    audio.clock = [this] { return window.now; };
    form.midi.MidiIsOpen = true;  // as after a successful start-up
    audio.isOpen = true;
  }

  // A key press delivered at the first yield at or after virtual time t.
  void Key(int64_t t, int keyCode, int shift = 0) {
    window.At(t, [this, keyCode, shift] { form.Form_KeyDown(keyCode, shift); });
  }
  // The factory sound settings, stereo on and a built stereo table.
  void FactorySound() {
    Settings& s = form.settings;
    s.DrumVolume = 100;
    s.BaseLineVolume = 127;
    s.Row1Volume = s.Row2Volume = s.Row3Volume = s.FallingVolume = s.EffectVolume = 100;
    s.BaseLineInstrument = s.Row1Instrument = s.Row2Instrument = 24;
    s.Row3Instrument = s.FallingInstrument = 1;
    s.EffectInstrument = 0;
    s.StereoWide = 40;
    s.StereoCurve = 30;
    s.StereoBalance = 60;
    s.FallingNoteMovementSound = true;
    s.Stereo = true;
    form.BuildPanTable();
  }
  std::string SettingsPath() const { return window.settingsFolder + "/Kadeno.ini"; }
};

}  // namespace kadeno::test
