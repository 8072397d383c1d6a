// The menu bar of the main window.
#include "shell/MenuTable.h"

namespace kadeno {

namespace {

using F = MainForm;

constexpr MenuItemSpec kFile[] = {
    {"mnuFileStartGame", "&Start Game", &F::mnuFileStartGame_Click},
    {"mnuFileSetDifficulty", "Set &Difficulty", &F::mnuFileSetDifficulty_Click},
    {"mnuFileHallOfFame", "&Hall Of Fame", &F::mnuFileHallOfFame_Click},
    {"mnuFileExit", "E&xit", &F::mnuFileExit_Click},
};

constexpr MenuItemSpec kProgram[] = {
    {"mnuProgramUninstallKadeno", "&Uninstall Kadeno", &F::mnuProgramUninstallKadeno_Click},
};

constexpr MenuItemSpec kMidi[] = {
    {"mMidiStereo", "Stereo (on)", &F::mMidiStereo_Click, 0, MenuItem::mMidiStereo},
    {"mnuMidiStereoWide", "Set Stereo Width", &F::mnuMidiStereoWide_Click},
    {"mnuMidiCurve", "Set Stereo Curve", &F::mnuMidiCurve_Click},
    {"mnuMidiStereoBalance", "Set Stereo Balance", &F::mnuMidiStereoBalance_Click},
    {"mnuMidiDrumVolume", "Drum Volume", &F::mnuMidiDrumVolume_Click},
    {"mnuMidiBaseLineVolume", "BaseLine Volume", &F::mnuMidiBaseLineVolume_Click},
    {"mnuMidiBaseLineInstrument", "BaseLine Instrument", &F::mnuMidiBaseLineInstrument_Click},
    {"mnuMidiRow1Volume", "Row 1 Volume", &F::mnuMidiRow1Volume_Click},
    {"mnuMidiRow1Instrument", "Row 1 Instrument", &F::mnuMidiRow1Instrument_Click},
    {"mnuMidiRow2Volume", "Row 2 Volume", &F::mnuMidiRow2Volume_Click},
    {"mnuMidiRow2Instrument", "Row 2 Instrument", &F::mnuMidiRow2Instrument_Click},
    {"mnuMidiRow3Volume", "Row 3 Volume", &F::mnuMidiRow3Volume_Click},
    {"mnuMidiRow3Instrument", "Row 3 Instrument", &F::mnuMidiRow3Instrument_Click},
    {"mnuMidiFallingVolume", "Falling Note Volume", &F::mnuMidiFallingVolume_Click},
    {"mnuMidiFallingInstrument", "Falling Note Instrument", &F::mnuMidiFallingInstrument_Click},
    {"mnuMidiFallingNoteMovementSound", "Falling Note Movement Sound (Note)",
     &F::mnuMidiFallingNoteMovementSound_Click, 0, MenuItem::mnuMidiFallingNoteMovementSound},
    {"mnuMidiEffectVolume", "Special Effect Volume", &F::mnuMidiEffectVolume_Click},
    {"mnuMidiEffectInstrument", "Special Effect Instrument", &F::mnuMidiEffectInstrument_Click},
    {"mnuMidiKeyboardScaling", "Keyboard Scaling", &F::mnuMidiKeyboardScaling_Click},
    {"mnuMidiBackToDefault", "Set Midi Back to Default", &F::mnuMidiBackToDefault_Click},
};

constexpr MenuItemSpec kHelp[] = {
    {"mnuHelpInstructions", "&Instructions", &F::mnuHelpInstructions_Click, Key::F1},
    {"mnuHelpAbout", "&About", &F::mnuHelpAbout_Click},
};

constexpr MenuSpec kMenus[] = {
    {"mnuFile", "&File", kFile},
    {"mnuProgram", "&Program", kProgram},
    {"mnuMidi", "&Midi", kMidi},
    {"mnuHelp", "&Help", kHelp},
};

}  // namespace

std::span<const MenuSpec> MainMenus() { return kMenus; }

}  // namespace kadeno
