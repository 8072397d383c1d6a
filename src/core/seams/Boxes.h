// The window's seam for what the player reads and answers: modal boxes, the menu captions
// that show a switch's state, and the end of the program. The real program implements it
// with Qt or Win32; the tests with a scripted fake.
#pragma once

#include <optional>
#include <string>

namespace kadeno {

// Button sets and icons add up to a message-box style, as the classic dialog API has it.
namespace Box {
inline constexpr int Ok = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int IconQuestion = 32;
inline constexpr int IconExclamation = 48;
inline constexpr int IconInformation = 64;

inline constexpr int ButtonsOf(int style) { return style & 0x0F; }
inline constexpr int IconOf(int style) { return style & 0xF0; }
}  // namespace Box

// The button the player chose.
enum class Answer : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// The menu items whose captions change while the program runs.
enum class MenuItem { mMidiStereo, mnuMidiFallingNoteMovementSound };

// A box with no title of its own shows the program's name.
inline constexpr const char* kProgramName = "Kadeno";

class Boxes {
 public:
  virtual ~Boxes() = default;

  // Modal message box; returns only when the player answers. No title means "Kadeno".
  virtual Answer MsgBox(const std::string& prompt, int style,
                        const std::optional<std::string>& title) = 0;
  // Modal input box; Cancel returns the empty text.
  virtual std::string InputBox(const std::string& prompt, const std::optional<std::string>& title,
                               const std::string& defaultText) = 0;
  virtual void SetMenuCaption(MenuItem item, const std::string& caption) = 0;

  // Ends the program at once; no unload handler runs after it.
  [[noreturn]] virtual void EndProgram() = 0;
};

}  // namespace kadeno
