// Program > Uninstall Kadeno: removes the program's registry entries before the player
// uninstalls it, then ends the program.
#pragma once

#include "registry/RegistryAccess.h"
#include "seams/Boxes.h"

namespace kadeno {

// Asks first; only a plain Yes removes anything. The registry may be absent (null).
void UninstallKadeno(Boxes& window, RegistryAccess* registry);

}  // namespace kadeno
