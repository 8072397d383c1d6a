// Program > Uninstall Kadeno: removes the program's registry entries before the player
// uninstalls it, then ends the program.
#pragma once

#include "registry/RegistryAccess.h"
#include "seams/WindowServices.h"

namespace kadeno {

// Asks first; only a plain Yes removes anything. The registry may be absent (null).
void UninstallKadeno(WindowServices& window, RegistryAccess* registry);

}  // namespace kadeno
