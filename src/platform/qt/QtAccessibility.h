// The program speaks to a screen reader through Qt's accessibility bridge (AT-SPI on
// Linux). It must not wait for the desktop to announce a screen reader: a blind player
// may start the reader after the game, or run one the desktop does not announce.
#pragma once

namespace kadeno {

// Turns the bridge on for this process. Call before the application object is made.
void TurnOnAccessibilityBridge();
// Makes message boxes known as alerts whose description is their whole text. Call once
// the application object exists.
void InstallBoxAccessibility();

}  // namespace kadeno
