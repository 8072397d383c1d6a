#include "qt/QtWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTimer>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

#include "posix/PosixFiles.h"
#include "qt/QtBoxes.h"

namespace kadeno {

std::string WaveFolderFor(const std::string& exeFolder) {
  const QDir exe(QString::fromStdString(exeFolder));
  const QString installed = QDir::cleanPath(exe.filePath(QStringLiteral("../share/kadeno")));
  for (const QString& folder : {exe.absolutePath(), installed}) {
    if (QFileInfo::exists(QDir(folder).filePath(QStringLiteral("TenMore.wav")))) {
      return folder.toStdString();
    }
  }
  // Neither holds the waves: the build tree's habit is the better guess, and a missing
  // wave is only silent.
  return exe.absolutePath().toStdString();
}

QtWindow::QtWindow() : start_(std::chrono::steady_clock::now()) {
#ifdef __linux__
  // The scan's rhythm is made of sleeps of a few milliseconds each; the default timer
  // slack of 50 us lets every one of them overrun, and the overruns add up over a scan.
  prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
#endif
}

void QtWindow::RegisterMenuItem(MenuItem item, QAction* action) { items_[item] = action; }

QWidget* QtWindow::BoxParent() const {
  return mainWindow_ && mainWindow_->isVisible() ? mainWindow_.data() : nullptr;
}

namespace {

struct Counted {
  explicit Counted(int& n) : n_(n) { ++n_; }
  ~Counted() { --n_; }
  int& n_;
};

}  // namespace

Answer QtWindow::MsgBox(const std::string& prompt, int style,
                        const std::optional<std::string>& title) {
  Answer answer = Answer::Cancel;
  {
    Counted open(boxesOpen_);
    QtMessageBox box(prompt, style, title, BoxParent());
    box.exec();
    answer = box.AnswerGiven();
  }
  ReclaimKeyboard();
  return answer;
}

std::string QtWindow::InputBox(const std::string& prompt, const std::optional<std::string>& title,
                               const std::string& defaultText) {
  std::string typed;
  {
    Counted open(boxesOpen_);
    QtInputBox box(prompt, title, defaultText, BoxParent());
    if (box.exec() == QDialog::Accepted) typed = box.textValue().toStdString();
  }
  ReclaimKeyboard();
  return typed;
}

// When a box closes, the window manager hands the keyboard back to the main window. Under
// openbox with Orca on a loaded machine it was seen not to, after 5 of 24 start questions:
// no window active, no key reaching the game, nothing said, and a blind player unable even
// to quit. So once the box is gone, and while no other box is open, a window of ours that
// is not active asks to be: at once, and again at 0.25, 0.75, 1.5 and 3 s, since the
// window manager's own answer may still be on its way (asking again then changes
// nothing). Qt holds the request back until the window is mapped.
void QtWindow::ReclaimKeyboard() {
  if (boxesOpen_ > 0 || !mainWindow_ || !mainWindow_->isVisible()) return;
  for (int ms : {0, 250, 750, 1500, 3000}) {
    QTimer::singleShot(ms, mainWindow_.data(), [this] {
      if (boxesOpen_ == 0 && mainWindow_ && mainWindow_->isVisible() &&
          QApplication::activeWindow() == nullptr) {
        mainWindow_->activateWindow();
      }
    });
  }
}

void QtWindow::SetMenuCaption(MenuItem item, const std::string& caption) {
  auto it = items_.find(item);
  if (it != items_.end() && it->second) it->second->setText(QString::fromStdString(caption));
}

void QtWindow::Yield() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

int64_t QtWindow::ClockMs() {
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  // Counted from 1, so that 0 keeps meaning "no time taken yet" to the scan.
  return 1 + std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

void QtWindow::SleepMs(int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

QtWindow::Handler::Handler(QtWindow& window)
    : window_(window),
      start_(std::chrono::steady_clock::now()),
      outermost_(window.handlerDepth_++ == 0) {}

QtWindow::Handler::~Handler() {
  --window_.handlerDepth_;
  if (outermost_) window_.handlerTime_ += std::chrono::steady_clock::now() - start_;
}

void QtWindow::WaitMs(int64_t ms) {
  using Clock = std::chrono::steady_clock;
  if (ms <= 0) return;
  // The event loop's timers count whole milliseconds; the last stretch of the wait is a
  // plain sleep, so that the scan's rhythm keeps its sub-millisecond precision. Input in
  // that stretch waits for the next yield, at most this long.
  constexpr auto kFineStretch = std::chrono::milliseconds(2);

  // Handlers that run in this wait are timed afresh, even when the wait itself runs
  // inside a handler (an effect note of a key, say): their time lengthens the wait.
  const int outerDepth = std::exchange(handlerDepth_, 0);
  const auto outerTime = std::exchange(handlerTime_, Clock::duration{});
  const Clock::time_point start = Clock::now();
  const auto budget = std::chrono::milliseconds(ms);
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  for (;;) {
    const auto left = budget - (Clock::now() - start - handlerTime_);
    if (left <= Clock::duration::zero()) break;
    if (left <= kFineStretch) {
      std::this_thread::sleep_for(left);
      break;
    }
    // Sleeps until the timer or the first event; whatever arrived runs before it returns.
    wake.start(std::chrono::duration_cast<std::chrono::milliseconds>(left - kFineStretch / 2));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  wake.stop();
  handlerDepth_ = outerDepth;
  handlerTime_ = outerTime;
}

std::string QtWindow::ProgramFolder() {
  if (programFolder_.empty()) {
    programFolder_ = WaveFolderFor(QCoreApplication::applicationDirPath().toStdString());
  }
  return programFolder_;
}

std::string QtWindow::SettingsFolder() { return KadenoConfigFolder(); }

bool QtWindow::FileExists(const std::string& path) { return PosixFileExists(path); }

std::optional<std::string> QtWindow::ReadTextFile(const std::string& path) {
  return PosixReadFile(path);
}

bool QtWindow::WriteTextFile(const std::string& path, const std::string& contents) {
  return PosixWriteFileAtomically(path, contents);
}

void QtWindow::LogProblem(const std::string& line) {
  std::fprintf(stderr, "kadeno: %s\n", line.c_str());
}

void QtWindow::EndProgram() {
  // The callers have done their own clean-up (sound stopped and the device closed, the
  // settings saved where they save). This may run deep inside nested event loops of a
  // game and its boxes, where unwinding back to main would run the game on without its
  // window; so leave at once, without static destructors racing anything still alive.
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace kadeno
