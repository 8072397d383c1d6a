// Qt key events turned into the virtual-key codes and shift state that the game's key
// handler was written for.
#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

namespace kadeno {

struct VirtualKey {
  int32_t code = 0;
  int32_t shift = 0;  // Shift 1, Ctrl 2, Alt 4
};

// The virtual-key code of a Qt key with its modifiers; nullopt for keys that have none
// (the handler could not act on them anyway). Letters always give the capital's code,
// whatever Shift and Caps Lock say. With a layout of another script (Cyrillic, Greek,
// Hebrew...) Qt names the letter of that script; then the key's place on the keyboard, the
// X11 keycode (Linux's key number + 8), gives the Latin letter that P and S are on, as the
// Windows build's virtual keys already do.
std::optional<VirtualKey> VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers,
                                       quint32 nativeScanCode = 0);

}  // namespace kadeno
