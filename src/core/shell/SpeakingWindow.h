// The window seam with self-voicing laid over it: every box is handed to the self-voicing
// before it shows and when it is answered; everything else goes straight through.
#pragma once

#include "seams/WindowServices.h"
#include "shell/SelfVoicing.h"

namespace kadeno {

class SpeakingWindow : public WindowServices {
 public:
  SpeakingWindow(WindowServices& window, SelfVoicing& voicing)
      : window_(window), voicing_(voicing) {}

  Answer MsgBox(const std::string& prompt, int style,
                const std::optional<std::string>& title) override;
  std::string InputBox(const std::string& prompt, const std::optional<std::string>& title,
                       const std::string& defaultText) override;

  void SetMenuCaption(MenuItem item, const std::string& caption) override {
    window_.SetMenuCaption(item, caption);
  }
  void Yield() override { window_.Yield(); }
  int64_t ClockMs() override { return window_.ClockMs(); }
  void SleepMs(int64_t ms) override { window_.SleepMs(ms); }
  void WaitMs(int64_t ms) override { window_.WaitMs(ms); }
  std::string ProgramFolder() override { return window_.ProgramFolder(); }
  std::string SettingsFolder() override { return window_.SettingsFolder(); }
  bool FileExists(const std::string& path) override { return window_.FileExists(path); }
  std::optional<std::string> ReadTextFile(const std::string& path) override {
    return window_.ReadTextFile(path);
  }
  bool WriteTextFile(const std::string& path, const std::string& contents) override {
    return window_.WriteTextFile(path, contents);
  }
  void LogProblem(const std::string& line) override { window_.LogProblem(line); }
  [[noreturn]] void EndProgram() override;

 private:
  WindowServices& window_;
  SelfVoicing& voicing_;
};

}  // namespace kadeno
