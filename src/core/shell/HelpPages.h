// The paged instructions and the about page, as plain message boxes a screen reader speaks.
#pragma once

#include "seams/Boxes.h"

namespace kadeno {

// Yes pages on, No pages back, Cancel (or Yes on the last page) ends.
void ShowInstructions(Boxes& window);
void ShowAbout(Boxes& window);

}  // namespace kadeno
