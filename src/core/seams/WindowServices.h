// The whole window: its boxes, its clock and event loop, the files and the problem log.
// Each platform's window implements it in one class, and the shell hands each component
// only the seams it uses.
#pragma once

#include "seams/Boxes.h"
#include "seams/Clock.h"
#include "seams/Files.h"

namespace kadeno {

class WindowServices : public Boxes, public EventClock, public Files, public ProblemLog {};

}  // namespace kadeno
