#include "qt/QtKeys.h"

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

}  // namespace

std::optional<VirtualKey> VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  const std::optional<int32_t> code = CodeOf(qtKey, modifiers.testFlag(Qt::KeypadModifier));
  if (!code) return std::nullopt;
  VirtualKey k;
  k.code = *code;
  if (modifiers.testFlag(Qt::ShiftModifier)) k.shift |= 1;
  if (modifiers.testFlag(Qt::ControlModifier)) k.shift |= 2;
  if (modifiers.testFlag(Qt::AltModifier)) k.shift |= 4;
  return k;
}

}  // namespace kadeno
