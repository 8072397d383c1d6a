// The program's two kinds of box as the system's own: the message box, and the input box
// as a small dialog made from a template in memory, so that a screen reader meets the
// controls it knows best.
#pragma once

#include "win32/Win32Api.h"

#include <optional>
#include <string>

#include "seams/WindowServices.h"

namespace kadeno {

// Control ids of the input box; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int kInputBoxPromptId = 100;
inline constexpr int kInputBoxFieldId = 101;

// The style is the program's button set and icon, which are Windows' own codes. A box that
// fails to show answers Cancel.
Answer ShowMessageBox(HWND owner, const std::string& prompt, int style, const std::string& title);
// The text in the field when OK is chosen; nullopt for Cancel or a closed box. The offered
// text starts selected, so that typing replaces it.
std::optional<std::string> ShowInputBox(HWND owner, const std::string& prompt,
                                        const std::string& title, const std::string& defaultText);

}  // namespace kadeno
