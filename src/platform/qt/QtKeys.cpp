#include "qt/QtKeys.h"

#include <string_view>

namespace kadeno {

namespace {

std::optional<int32_t> CodeOf(int key, bool keypad) {
  // Qt numbers letters and digits by their capital ASCII code, which is what the
  // virtual-key codes do too.
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    return keypad ? 96 + (key - Qt::Key_0) : key;  // the keypad digits have codes of their own
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Asterisk:
      return keypad ? std::optional<int32_t>(106) : std::nullopt;
    case Qt::Key_Plus:
      return keypad ? std::optional<int32_t>(107) : std::nullopt;
    case Qt::Key_Minus:
      return keypad ? std::optional<int32_t>(109) : std::nullopt;
    case Qt::Key_Slash:
      return keypad ? std::optional<int32_t>(111) : std::nullopt;
    default:
      return std::nullopt;
  }
}

// The Latin letter on a key of the US layout, by its X11 keycode: the three letter rows
// start at keycodes 24 (Q), 38 (A) and 52 (Z).
std::optional<int32_t> LetterAt(quint32 keycode) {
  static constexpr const char* kRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  static constexpr quint32 kFirst[] = {24, 38, 52};
  for (int row = 0; row < 3; ++row) {
    const std::string_view letters = kRows[row];
    if (keycode >= kFirst[row] && keycode < kFirst[row] + letters.size()) {
      return letters[keycode - kFirst[row]];
    }
  }
  return std::nullopt;
}

// A letter of another script than the Latin one: Greek and Coptic up to the end of the
// scripts before the Latin extensions (U+0370 to U+1DFF).
bool OtherScriptLetter(int key) { return key >= 0x0370 && key < 0x1E00; }

}  // namespace

std::optional<VirtualKey> VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers,
                                       quint32 nativeScanCode) {
  std::optional<int32_t> code = CodeOf(qtKey, modifiers.testFlag(Qt::KeypadModifier));
  if (!code && OtherScriptLetter(qtKey)) code = LetterAt(nativeScanCode);
  if (!code) return std::nullopt;
  VirtualKey k;
  k.code = *code;
  if (modifiers.testFlag(Qt::ShiftModifier)) k.shift |= 1;
  if (modifiers.testFlag(Qt::ControlModifier)) k.shift |= 2;
  if (modifiers.testFlag(Qt::AltModifier)) k.shift |= 4;
  return k;
}

}  // namespace kadeno
