// The menu bar of the main window.
#include "shell/MenuTable.h"

#include "seams/Translate.h"

namespace kadeno {

namespace {

using F = MainForm;
// A value command's item names its row of the settings table by key; a key the table lacks
// does not compile.

constexpr MenuItemSpec kFile[] = {
    // TRANSLATORS: File menu item. "&" marks its access key: keep one, a different letter from the
    // other items of the File menu.
    {"mnuFileStartGame", N_("&Start Game"), &F::mnuFileStartGame_Click},
    // TRANSLATORS: File menu item: a game with no clock, to learn steering. "&" marks its
    // access key: keep one, a different letter from the other items of the File menu.
    {"mnuFilePractice", N_("&Practice"), &F::mnuFilePractice_Click},
    // TRANSLATORS: File menu item. "&" marks its access key: keep one, a different letter from the
    // other items of the File menu.
    {"mnuFileSetDifficulty", N_("Set &Difficulty"),
     &F::ValueCommand_Click<ValueCommandRow("Difficulty")>},
    // TRANSLATORS: File menu item. "&" marks its access key: keep one, a different letter from the
    // other items of the File menu.
    {"mnuFileHallOfFame", N_("&Hall Of Fame"), &F::mnuFileHallOfFame_Click},
    // TRANSLATORS: File menu item. "&" marks its access key: keep one, a different letter from the
    // other items of the File menu.
    {"mnuFileExit", N_("E&xit"), &F::mnuFileExit_Click},
};

constexpr MenuItemSpec kProgram[] = {
    // TRANSLATORS: Program menu item. "&" marks its access key: keep one, a different letter from
    // the other items of the Program menu.
    {"mnuProgramUninstallKadeno", N_("&Uninstall Kadeno"), &F::mnuProgramUninstallKadeno_Click},
};

constexpr MenuItemSpec kMidi[] = {
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mMidiStereo", N_("Stereo (on)"), &F::mMidiStereo_Click, 0, MenuItem::mMidiStereo},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiStereoWide", N_("Set Stereo Width"),
     &F::ValueCommand_Click<ValueCommandRow("StereoWide")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiCurve", N_("Set Stereo Curve"),
     &F::ValueCommand_Click<ValueCommandRow("StereoCurve")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiStereoBalance", N_("Set Stereo Balance"),
     &F::ValueCommand_Click<ValueCommandRow("StereoBalance")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiDrumVolume", N_("Drum Volume"), &F::ValueCommand_Click<ValueCommandRow("DrumVolume")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiBaseLineVolume", N_("BaseLine Volume"),
     &F::ValueCommand_Click<ValueCommandRow("BaseLineVolume")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiBaseLineInstrument", N_("BaseLine Instrument"),
     &F::ValueCommand_Click<ValueCommandRow("BaseLineInstrument")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiRow1Volume", N_("Row 1 Volume"),
     &F::ValueCommand_Click<ValueCommandRow("Row1Volume")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiRow1Instrument", N_("Row 1 Instrument"),
     &F::ValueCommand_Click<ValueCommandRow("Row1Instrument")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiRow2Volume", N_("Row 2 Volume"),
     &F::ValueCommand_Click<ValueCommandRow("Row2Volume")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiRow2Instrument", N_("Row 2 Instrument"),
     &F::ValueCommand_Click<ValueCommandRow("Row2Instrument")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiRow3Volume", N_("Row 3 Volume"),
     &F::ValueCommand_Click<ValueCommandRow("Row3Volume")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiRow3Instrument", N_("Row 3 Instrument"),
     &F::ValueCommand_Click<ValueCommandRow("Row3Instrument")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiFallingVolume", N_("Falling Note Volume"),
     &F::ValueCommand_Click<ValueCommandRow("FallingVolume")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiFallingInstrument", N_("Falling Note Instrument"),
     &F::ValueCommand_Click<ValueCommandRow("FallingInstrument")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiFallingNoteMovementSound", N_("Falling Note Movement Sound (Note)"),
     &F::mnuMidiFallingNoteMovementSound_Click, 0, MenuItem::mnuMidiFallingNoteMovementSound},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiEffectVolume", N_("Special Effect Volume"),
     &F::ValueCommand_Click<ValueCommandRow("EffectVolume")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiEffectInstrument", N_("Special Effect Instrument"),
     &F::ValueCommand_Click<ValueCommandRow("EffectInstrument")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiKeyboardScaling", N_("Keyboard Scaling"),
     &F::ValueCommand_Click<ValueCommandRow("KeyboardScaling")>},
    // TRANSLATORS: Midi menu item; it has no access key.
    {"mnuMidiBackToDefault", N_("Set Midi Back to Default"), &F::mnuMidiBackToDefault_Click},
};

constexpr MenuItemSpec kHelp[] = {
    // TRANSLATORS: Help menu item. "&" marks its access key: keep one, a different letter from the
    // other items of the Help menu.
    {"mnuHelpInstructions", N_("&Instructions"), &F::mnuHelpInstructions_Click, Key::F1},
    // TRANSLATORS: Help menu item: a guided tour of the game's sounds. "&" marks its access
    // key: keep one, a different letter from the other items of the Help menu.
    {"mnuHelpHearTheField", N_("&Hear the Field"), &F::mnuHelpHearTheField_Click},
    // TRANSLATORS: Help menu item. "&" marks its access key: keep one, a different letter from the
    // other items of the Help menu.
    {"mnuHelpAbout", N_("&About"), &F::mnuHelpAbout_Click},
};

constexpr MenuSpec kMenus[] = {
    // TRANSLATORS: A menu of the menu bar. "&" marks its access key (Alt+letter): keep one, a
    // different letter for each menu.
    {"mnuFile", N_("&File"), kFile},
    // TRANSLATORS: A menu of the menu bar. "&" marks its access key (Alt+letter): keep one, a
    // different letter for each menu.
    {"mnuProgram", N_("&Program"), kProgram},
    // TRANSLATORS: A menu of the menu bar. "&" marks its access key (Alt+letter): keep one, a
    // different letter for each menu.
    {"mnuMidi", N_("&Midi"), kMidi},
    // TRANSLATORS: A menu of the menu bar. "&" marks its access key (Alt+letter): keep one, a
    // different letter for each menu.
    {"mnuHelp", N_("&Help"), kHelp},
};

}  // namespace

std::span<const MenuSpec> MainMenus() { return kMenus; }

}  // namespace kadeno
