// Kadeno: the executable wires the core to its window, its audio device and its registry.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "registry/FileRegistry.h"
#include "registry/RegistryAccess.h"
#include "shell/CommandLine.h"
#include "shell/MainForm.h"
#include "shell/QtAccessibility.h"
#include "shell/QtMainWindow.h"
#include "shell/QtWindow.h"
#include "sound/FluidSynthDeviceFactory.h"

int main(int argc, char** argv) {
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
  kadeno::InstallBoxAccessibility();

  kadeno::QtWindow window;
  std::unique_ptr<kadeno::AudioDevice> audio =
      kadeno::MakeAudioDevice(std::getenv("KADENO_MIDI_OUT"));
  kadeno::MainForm form(window, *audio);
  kadeno::FileRegistry registryFile;
  kadeno::RegistryAccess registry(registryFile, window);
  form.registry = &registry;

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
