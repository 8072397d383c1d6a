// Program > Uninstall Kadeno: removes the program's registry entries before the player
// uninstalls it, then ends the program.
#pragma once

#include "registry/RegistryAccess.h"
#include "seams/Boxes.h"

namespace kadeno {

// How the player removes the program itself once its registry entries are gone, which the
// last box tells: Windows' Add/Remove Programs (the installer's entry), or the package
// manager the Linux package came from.
enum class Removal { AddRemovePrograms, PackageManager };

// Asks first; only a plain Yes removes anything. The registry may be absent (null).
void UninstallKadeno(Boxes& window, RegistryAccess* registry, Removal removal);

}  // namespace kadeno
