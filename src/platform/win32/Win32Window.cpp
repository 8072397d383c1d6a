#include "win32/Win32Window.h"

#include <cstdio>
#include <utility>

#include "win32/Win32Boxes.h"
#include "win32/Win32Files.h"

namespace kadeno {

namespace {

struct Counted {
  explicit Counted(int& n) : n_(n) { ++n_; }
  ~Counted() { --n_; }
  int& n_;
};

// The last stretch of a wait is slept and spun by the clock rather than waited for in the
// message queue, whose timeouts count whole milliseconds: the scan's rhythm keeps its
// precision. Input in that stretch waits for the next yield, at most this long.
constexpr int64_t kFineStretchMs = 2;

}  // namespace

Win32Window::Win32Window() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  ticksPerSecond_ = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
  start_ = now.QuadPart;
}

Win32Window::~Win32Window() { EndFineTimer(); }

void Win32Window::SetMainWindow(HWND window, HMENU menuBar, HACCEL accelerators) {
  main_ = window;
  menuBar_ = menuBar;
  accelerators_ = accelerators;
}

void Win32Window::RegisterMenuItem(MenuItem item, UINT commandId) { items_[item] = commandId; }

int64_t Win32Window::Ticks() const {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

HWND Win32Window::BoxOwner() const { return main_ && IsWindowVisible(main_) ? main_ : nullptr; }

Answer Win32Window::MsgBox(const std::string& prompt, int style,
                           const std::optional<std::string>& title) {
  Counted open(boxesOpen_);
  return ShowMessageBox(BoxOwner(), prompt, style, title.value_or(kProgramName));
}

std::string Win32Window::InputBox(const std::string& prompt,
                                  const std::optional<std::string>& title,
                                  const std::string& defaultText) {
  Counted open(boxesOpen_);
  return ShowInputBox(BoxOwner(), prompt, title.value_or(kProgramName), defaultText).value_or("");
}

void Win32Window::SetMenuCaption(MenuItem item, const std::string& caption) {
  const auto it = items_.find(item);
  if (it == items_.end() || menuBar_ == nullptr) return;
  const std::wstring text = Widen(caption);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(text.c_str());
  SetMenuItemInfoW(menuBar_, it->second, FALSE, &info);
}

void Win32Window::Dispatch(MSG& msg) {
  if (main_ && accelerators_ && TranslateAcceleratorW(main_, accelerators_, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Window::RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
}

void Win32Window::Yield() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    // Nothing here ends the loop by a quit message: the program ends through EndProgram.
    if (msg.message != WM_QUIT) Dispatch(msg);
  }
}

int64_t Win32Window::ClockMs() {
  // Counted from 1, so that 0 keeps meaning "no time taken yet" to the scan.
  return 1 + (Ticks() - start_) * 1000 / ticksPerSecond_;
}

void Win32Window::SleepMs(int64_t ms) {
  if (ms > 0) Sleep(static_cast<DWORD>(ms));
}

Win32Window::Handler::Handler(Win32Window& window)
    : window_(window), start_(window.Ticks()), outermost_(window.handlerDepth_++ == 0) {
  ++window_.handlersRunning_;
}

Win32Window::Handler::~Handler() {
  --window_.handlerDepth_;
  if (outermost_) window_.handlerTicks_ += window_.Ticks() - start_;
  if (--window_.handlersRunning_ == 0) window_.EndFineTimer();
}

void Win32Window::UseFineTimer() {
  if (!fineTimer_) fineTimer_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

void Win32Window::EndFineTimer() {
  if (fineTimer_) timeEndPeriod(1);
  fineTimer_ = false;
}

void Win32Window::WaitMs(int64_t ms) {
  if (ms <= 0) return;
  // A game's waits are its rhythm; the system timer's usual 15.6 ms would blur it.
  if (handlersRunning_ > 0) UseFineTimer();
  // Handlers that run in this wait are timed afresh, even when the wait itself runs
  // inside a handler (an effect note of a key, say): their time lengthens the wait.
  const int outerDepth = std::exchange(handlerDepth_, 0);
  const int64_t outerTicks = std::exchange(handlerTicks_, 0);
  const int64_t start = Ticks();
  const int64_t budget = ms * ticksPerSecond_ / 1000;
  const int64_t fineStretch = kFineStretchMs * ticksPerSecond_ / 1000;
  for (;;) {
    int64_t left = budget - (Ticks() - start - handlerTicks_);
    if (left <= 0) break;
    if (left <= fineStretch) {
      // Sleeps whole milliseconds while more than one and a half are left, then spins.
      const int64_t end = Ticks() + left;
      while ((left = end - Ticks()) > 0) {
        if (left * 2000 > 3 * ticksPerSecond_) {
          Sleep(1);
        } else {
          YieldProcessor();
        }
      }
      break;
    }
    // Sleeps until the time is nearly up or input arrives; whatever arrived runs before
    // the next turn.
    const int64_t wakeMs = (left - fineStretch / 2) * 1000 / ticksPerSecond_;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wakeMs), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    Yield();
  }
  handlerDepth_ = outerDepth;
  handlerTicks_ = outerTicks;
}

std::string Win32Window::ProgramFolder() { return Win32ProgramFolder(); }

std::string Win32Window::SettingsFolder() { return Win32SettingsFolder(); }

bool Win32Window::FileExists(const std::string& path) { return Win32FileExists(path); }

std::optional<std::string> Win32Window::ReadTextFile(const std::string& path) {
  return Win32ReadFile(path);
}

bool Win32Window::WriteTextFile(const std::string& path, const std::string& contents) {
  return Win32WriteFileAtomically(path, contents);
}

void Win32Window::LogProblem(const std::string& line) {
  std::fprintf(stderr, "kadeno: %s\n", line.c_str());
}

void Win32Window::EndProgram() {
  // The callers have done their own clean-up (sound stopped and the device closed, the
  // settings saved where they save). This may run deep inside nested message loops of a
  // game and its boxes, where unwinding back to main would run the game on without its
  // window; so leave at once.
  EndFineTimer();
  std::fflush(nullptr);
  ExitProcess(0);
}

}  // namespace kadeno
