// Kadeno: the executable wires the core to its window, its audio device and its registry.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "catalog/LanguageChoice.h"
#include "posix/FileRegistry.h"
#include "posix/GettextTranslator.h"
#include "qt/QtAccessibility.h"
#include "qt/QtMainWindow.h"
#include "qt/QtScreenReaderWatch.h"
#include "qt/QtWindow.h"
#include "registry/RegistryAccess.h"
#include "shell/CommandLine.h"
#include "shell/MainForm.h"
#include "shell/SpeakingWindow.h"
#include "speechd/SpeechDispatcherSpeech.h"
#if KADENO_WITH_FLUIDSYNTH
#include "fluidsynth/FluidSynthDeviceFactory.h"
#else
#include "posix/PosixAudioDeviceFactory.h"
#endif

namespace {

// Qt's own texts (the input field's menu, among them) in the catalog's language, from
// Qt's translations where they are installed; English needs none.
void LoadQtTranslations(QApplication& app, QTranslator& qt, const std::string& language) {
  if (language.empty()) return;
  if (qt.load(QLocale(QString::fromStdString(language)), QStringLiteral("qtbase"),
              QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(&qt);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The texts' language comes first: --help answers in it too.
  std::error_code noPath;
  const kadeno::GettextTranslator translator(
      kadeno::LocaleFolderFor(std::filesystem::read_symlink("/proc/self/exe", noPath)));
  kadeno::SetTranslator(&translator);
  // --help and --version answer before anything opens a window or a sound device.
  if (const auto answer = kadeno::ReadCommandLine({argv + 1, argv + argc}, KADENO_VERSION);
      !answer.play) {
    std::fputs(answer.out.c_str(), stdout);
    std::fputs(answer.err.c_str(), stderr);
    return answer.status;
  }
  kadeno::TurnOnAccessibilityBridge();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kadeno"));
  QGuiApplication::setDesktopFileName(QStringLiteral("kadeno"));
  translator.KeepLocale();
  QTranslator qtTexts;
  LoadQtTranslations(app, qtTexts, translator.Language());
  kadeno::InstallBoxAccessibility();

  kadeno::QtWindow window;
  // With no screen reader running, the boxes speak for themselves.
  const char* speechMode = std::getenv("KADENO_SPEECH");
  const auto mode = kadeno::ParseSpeechMode(speechMode);
  if (!mode)
    std::fprintf(stderr, "kadeno: KADENO_SPEECH=%s is not auto, on or off; taking auto\n",
                 speechMode);
  kadeno::SpeechDispatcherSpeech speech(translator.Language().empty()
                                            ? std::string()
                                            : kadeno::SpeechLanguage(translator.Language()));
  kadeno::SelfVoicing voicing(speech, mode.value_or(kadeno::SpeechMode::Auto));
  kadeno::QtScreenReaderWatch screenReader(
      [&voicing](bool on) { voicing.ScreenReaderRunning(on); });
  kadeno::SpeakingWindow speakingWindow(window, voicing);

#if KADENO_WITH_FLUIDSYNTH
  std::unique_ptr<kadeno::AudioDevice> audio =
      kadeno::MakeAudioDevice(std::getenv("KADENO_MIDI_OUT"));
#else
  // Only the message log and no device at all.
  std::unique_ptr<kadeno::AudioDevice> audio =
      kadeno::MakePosixAudioDevice(std::getenv("KADENO_MIDI_OUT"), nullptr);
#endif
  kadeno::MainForm form(speakingWindow, *audio);
  kadeno::FileRegistry registryFile;
  kadeno::RegistryAccess registry(registryFile, speakingWindow, speakingWindow);
  form.SetRegistry(&registry, kadeno::Removal::PackageManager);

  kadeno::QtMainWindow mainWindow(form, window);
  // The help pages come first, before the window shows; a failed MIDI open ends the
  // program from inside the load step.
  form.Form_Load();
  window.SetMainWindow(&mainWindow);
  mainWindow.show();
  mainWindow.activateWindow();
  const int result = app.exec();
  form.Form_Terminate();
  return result;
}
