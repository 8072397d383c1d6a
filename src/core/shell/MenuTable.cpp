// The menu bar of the main window.
#include "shell/MenuTable.h"

namespace kadeno {

namespace {

using F = MainForm;
// A value command's item names its row of the settings table by key; a key the table lacks
// does not compile.

constexpr MenuItemSpec kFile[] = {
    {"mnuFileStartGame", "&Start Game", &F::mnuFileStartGame_Click},
    {"mnuFileSetDifficulty", "Set &Difficulty",
     &F::ValueCommand_Click<ValueCommandRow("Difficulty")>},
    {"mnuFileHallOfFame", "&Hall Of Fame", &F::mnuFileHallOfFame_Click},
    {"mnuFileExit", "E&xit", &F::mnuFileExit_Click},
};

constexpr MenuItemSpec kProgram[] = {
    {"mnuProgramUninstallKadeno", "&Uninstall Kadeno", &F::mnuProgramUninstallKadeno_Click},
};

constexpr MenuItemSpec kMidi[] = {
    {"mMidiStereo", "Stereo (on)", &F::mMidiStereo_Click, 0, MenuItem::mMidiStereo},
    {"mnuMidiStereoWide", "Set Stereo Width",
     &F::ValueCommand_Click<ValueCommandRow("StereoWide")>},
    {"mnuMidiCurve", "Set Stereo Curve", &F::ValueCommand_Click<ValueCommandRow("StereoCurve")>},
    {"mnuMidiStereoBalance", "Set Stereo Balance",
     &F::ValueCommand_Click<ValueCommandRow("StereoBalance")>},
    {"mnuMidiDrumVolume", "Drum Volume", &F::ValueCommand_Click<ValueCommandRow("DrumVolume")>},
    {"mnuMidiBaseLineVolume", "BaseLine Volume",
     &F::ValueCommand_Click<ValueCommandRow("BaseLineVolume")>},
    {"mnuMidiBaseLineInstrument", "BaseLine Instrument",
     &F::ValueCommand_Click<ValueCommandRow("BaseLineInstrument")>},
    {"mnuMidiRow1Volume", "Row 1 Volume", &F::ValueCommand_Click<ValueCommandRow("Row1Volume")>},
    {"mnuMidiRow1Instrument", "Row 1 Instrument",
     &F::ValueCommand_Click<ValueCommandRow("Row1Instrument")>},
    {"mnuMidiRow2Volume", "Row 2 Volume", &F::ValueCommand_Click<ValueCommandRow("Row2Volume")>},
    {"mnuMidiRow2Instrument", "Row 2 Instrument",
     &F::ValueCommand_Click<ValueCommandRow("Row2Instrument")>},
    {"mnuMidiRow3Volume", "Row 3 Volume", &F::ValueCommand_Click<ValueCommandRow("Row3Volume")>},
    {"mnuMidiRow3Instrument", "Row 3 Instrument",
     &F::ValueCommand_Click<ValueCommandRow("Row3Instrument")>},
    {"mnuMidiFallingVolume", "Falling Note Volume",
     &F::ValueCommand_Click<ValueCommandRow("FallingVolume")>},
    {"mnuMidiFallingInstrument", "Falling Note Instrument",
     &F::ValueCommand_Click<ValueCommandRow("FallingInstrument")>},
    {"mnuMidiFallingNoteMovementSound", "Falling Note Movement Sound (Note)",
     &F::mnuMidiFallingNoteMovementSound_Click, 0, MenuItem::mnuMidiFallingNoteMovementSound},
    {"mnuMidiEffectVolume", "Special Effect Volume",
     &F::ValueCommand_Click<ValueCommandRow("EffectVolume")>},
    {"mnuMidiEffectInstrument", "Special Effect Instrument",
     &F::ValueCommand_Click<ValueCommandRow("EffectInstrument")>},
    {"mnuMidiKeyboardScaling", "Keyboard Scaling",
     &F::ValueCommand_Click<ValueCommandRow("KeyboardScaling")>},
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
