// With the core's include path alone this must not build: the core cannot name a platform
// header, and its test expects the compiler to say the header is not there.
#include "qt/QtWindow.h"
