// The settings table.
#include "settings/SettingsTable.h"

namespace kadeno {

namespace {

// Stores the factory value of every row that has one; soundOnly keeps to the rows Back to
// Default restores.
void StoreFactoryValues(Settings& s, bool soundOnly) {
  for (const SettingRow& row : kSettingRows) {
    if ((soundOnly && !row.sound) || !row.factory) continue;
    switch (row.kind) {
      case SettingKind::Whole:
        s.*row.whole = *row.factory;
        break;
      case SettingKind::Scaling:
        s.KeyboardScaling = static_cast<float>(*row.factory / 100.0);
        break;
      case SettingKind::Movement:
        s.FallingNoteMovementSound = *row.factory != 0;
        break;
      case SettingKind::Stereo:
        s.Stereo = *row.factory != 0;
        break;
      case SettingKind::Score:
      case SettingKind::Name:
        break;
    }
  }
}

}  // namespace

void RestoreFactorySound(Settings& s) { StoreFactoryValues(s, true); }

Settings ShippedSettings() {
  Settings s;
  StoreFactoryValues(s, false);
  return s;
}

}  // namespace kadeno
