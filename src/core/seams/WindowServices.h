// The window seam: everything the game logic asks of the desktop (modal boxes, menu
// captions, yielding to pending events, time, files, ending the program). The real
// program implements it with Qt; the tests with a scripted fake on a virtual clock.
#pragma once

#include <cstdint>
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

class WindowServices {
 public:
  virtual ~WindowServices() = default;

  // Modal message box; returns only when the player answers. No title means "Kadeno".
  virtual Answer MsgBox(const std::string& prompt, int style,
                        const std::optional<std::string>& title) = 0;
  // Modal input box; Cancel returns the empty text.
  virtual std::string InputBox(const std::string& prompt, const std::optional<std::string>& title,
                               const std::string& defaultText) = 0;
  virtual void SetMenuCaption(MenuItem item, const std::string& caption) = 0;

  // Runs every pending window event (keys, menu commands) to completion.
  virtual void Yield() = 0;
  // A monotonic clock in whole milliseconds; never 0 and never jumps back.
  virtual int64_t ClockMs() = 0;
  // Blocks the thread; no events run meanwhile. Negative amounts sleep 0.
  virtual void SleepMs(int64_t ms) = 0;
  // The game's wait: sleeps ms, but wakes as soon as input arrives and runs its handlers
  // at once, as a yield would; then sleeps out the rest. The handlers' own time does not
  // count toward ms, so the wait is as long as a yield followed by a sleep would make it.
  // Negative amounts sleep 0.
  virtual void WaitMs(int64_t ms) = 0;

  // Folder that holds the wave files (beside the program, or its data folder once installed).
  virtual std::string ProgramFolder() = 0;
  // Folder that holds the settings file.
  virtual std::string SettingsFolder() = 0;

  virtual bool FileExists(const std::string& path) = 0;
  // The whole file, or nullopt when it cannot be read.
  virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
  // Writes the file whole or not at all (temporary file, flush, rename); makes the folder.
  virtual bool WriteTextFile(const std::string& path, const std::string& contents) = 0;

  // Tells whoever looks (stderr) of a failure no box shows the player: one line, given
  // without the program's name and the line end.
  virtual void LogProblem(const std::string& line) = 0;

  // Ends the program at once; no unload handler runs after it.
  [[noreturn]] virtual void EndProgram() = 0;
};

}  // namespace kadeno
