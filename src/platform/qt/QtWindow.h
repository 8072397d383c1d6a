// The window seam met by Qt: modal boxes, menu captions, yielding to pending events, a
// monotonic clock, sleeping, the program's folders and files, and ending the program.
#pragma once

#include <QPointer>
#include <QWidget>
#include <chrono>
#include <map>

#include "seams/WindowServices.h"

class QAction;

namespace kadeno {

class QtWindow : public WindowServices {
 public:
  QtWindow();

  // Once the main window shows, boxes are centred on it; before that (the help pages at
  // start-up) they stand alone.
  void SetMainWindow(QWidget* window) { mainWindow_ = window; }
  // The menu items whose captions the program rewrites.
  void RegisterMenuItem(MenuItem item, QAction* action);
  // How many boxes are open, counting one until its modal loop has returned (it may be
  // hidden already).
  int BoxesOpen() const { return boxesOpen_; }
  // Gives the keyboard back to the main window after the last open box has closed, if
  // the window manager has not: see the definition.
  void ReclaimKeyboard();

  // Marks the running of one of the program's event handlers (a key, a menu command,
  // closing the window), whose time a wait does not count as its own.
  class Handler {
   public:
    explicit Handler(QtWindow& window);
    ~Handler();
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

   private:
    QtWindow& window_;
    std::chrono::steady_clock::time_point start_;
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
  QWidget* BoxParent() const;

  QPointer<QWidget> mainWindow_;
  std::map<MenuItem, QPointer<QAction>> items_;
  std::chrono::steady_clock::time_point start_;
  std::string programFolder_;
  int boxesOpen_ = 0;
  // Handlers open since the innermost wait began, and the time spent in outermost ones.
  int handlerDepth_ = 0;
  std::chrono::steady_clock::duration handlerTime_{};
};

// Where the wave files are: beside the executable in the build tree, or the data folder
// of the installation (bin/../share/kadeno). exeFolder is the executable's folder.
std::string WaveFolderFor(const std::string& exeFolder);

}  // namespace kadeno
