// Kadeno for Windows: the executable wires the core to its Win32 window, its winmm audio
// device and the Windows registry.
#include <cstdlib>
#include <memory>

#include "registry/RegistryAccess.h"
#include "shell/MainForm.h"
#include "win32/Win32AudioDevice.h"
#include "win32/Win32Files.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Translator.h"
#include "win32/Win32Window.h"

int main() {
  const kadeno::Win32Translator translator(kadeno::Win32ProgramFolder(),
                                           kadeno::Win32AskedLanguage());
  kadeno::SetTranslator(&translator);
  // The environment's text, like every other text at this boundary, is UTF-16.
  const wchar_t* midiOut = _wgetenv(L"KADENO_MIDI_OUT");
  const std::string midiOutText = midiOut ? kadeno::Narrow(midiOut) : std::string();

  kadeno::Win32Window window;
  std::unique_ptr<kadeno::AudioDevice> audio =
      kadeno::MakeWin32AudioDevice(midiOut ? midiOutText.c_str() : nullptr);
  kadeno::MainForm form(window, *audio);
  kadeno::Win32Registry registryApi;
  kadeno::RegistryAccess registry(registryApi, window, window);
  form.SetRegistry(&registry, kadeno::Removal::AddRemovePrograms);

  kadeno::Win32MainWindow mainWindow(form, window);
  // The help pages come first, before the window shows; a failed MIDI open ends the
  // program from inside the load step.
  form.Form_Load();
  mainWindow.Show();
  window.RunMessageLoop();
  form.Form_Terminate();
  return 0;
}
