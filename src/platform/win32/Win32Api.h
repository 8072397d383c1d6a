// windows.h as the program's Win32 files take it: lean, without min and max, and without
// the old Yield macro, which would rename the window seam's Yield; with the multimedia
// calls (MIDI, waves, the timer period) and the shell's known folders.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// after windows.h, which they need
#include <knownfolders.h>
#include <mmsystem.h>
#include <shlobj.h>
#undef Yield
