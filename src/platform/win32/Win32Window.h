// The window seam met by the Win32 API: message boxes, the input box, menu captions,
// yielding to the message queue, waits that wake for input, a monotonic clock, sleeping,
// the program's folders and files, and ending the program.
#pragma once

#include "win32/Win32Api.h"

#include <map>

#include "seams/WindowServices.h"

namespace kadeno {

class Win32Window : public WindowServices {
 public:
  Win32Window();
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  // The main window, its menu bar and its keyboard accelerators. Once the main window
  // shows, boxes belong to it; before that (the help pages at start-up) they stand alone.
  void SetMainWindow(HWND window, HMENU menuBar, HACCEL accelerators);
  // The command id of a menu item whose caption the program rewrites.
  void RegisterMenuItem(MenuItem item, UINT commandId);
  // How many boxes are open, counting one until its modal loop has returned.
  int BoxesOpen() const { return boxesOpen_; }

  // Hands one message to its window, through the accelerators first.
  void Dispatch(MSG& msg);
  // The program's message loop, for as long as the program runs.
  void RunMessageLoop();

  // Marks the running of one of the program's event handlers (a key, a menu command,
  // closing the window), whose time a wait does not count as its own. While any handler
  // runs that has waited, the system timer runs at 1 ms; it returns to its own pace
  // when the last one ends.
  class Handler {
   public:
    explicit Handler(Win32Window& window);
    ~Handler();
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

   private:
    Win32Window& window_;
    int64_t start_;
    bool outermost_;
  };

  Answer MsgBox(const std::string& prompt, int style,
                const std::optional<std::string>& title) override;
  std::string InputBox(const std::string& prompt, const std::optional<std::string>& title,
                       const std::string& defaultText) override;
  void SetMenuCaption(MenuItem item, const std::string& caption) override;
  void Yield() override;
  int64_t ClockMs() override;
  void SleepMs(int64_t ms) override;
  void WaitMs(int64_t ms) override;
  std::string ProgramFolder() override;
  std::string SettingsFolder() override;
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadTextFile(const std::string& path) override;
  bool WriteTextFile(const std::string& path, const std::string& contents) override;
  void LogProblem(const std::string& line) override;
  [[noreturn]] void EndProgram() override;

 private:
  int64_t Ticks() const;
  HWND BoxOwner() const;
  void UseFineTimer();
  void EndFineTimer();

  HWND main_ = nullptr;
  HMENU menuBar_ = nullptr;
  HACCEL accelerators_ = nullptr;
  std::map<MenuItem, UINT> items_;
  int64_t ticksPerSecond_ = 1;
  int64_t start_ = 0;
  int boxesOpen_ = 0;
  // Handlers open since the innermost wait began, and the ticks spent in outermost ones.
  int handlerDepth_ = 0;
  int64_t handlerTicks_ = 0;
  // Handlers running at all, however nested in waits.
  int handlersRunning_ = 0;
  bool fineTimer_ = false;
};

}  // namespace kadeno
