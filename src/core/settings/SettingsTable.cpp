// The settings table.
#include "settings/SettingsTable.h"

namespace kadeno {

void RestoreFactorySound(Settings& s) {
  for (const SettingRow& row : kSettingRows) {
    if (!row.sound || !row.factory) continue;
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

}  // namespace kadeno
