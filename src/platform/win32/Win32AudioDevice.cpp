// MIDI and waves through winmm.
#include "win32/Win32AudioDevice.h"

#include "win32/Win32Api.h"

#include <cstdio>
#include <string>

#include "messagelog/MessageLogDevice.h"
#include "sound/AudioDeviceChoice.h"
#include "win32/Win32Files.h"

namespace kadeno {

namespace {
HMIDIOUT Midi(uintptr_t handle) { return reinterpret_cast<HMIDIOUT>(handle); }
}  // namespace

Win32AudioDevice::~Win32AudioDevice() { Close(); }

int Win32AudioDevice::DeviceCount() { return static_cast<int>(midiOutGetNumDevs()); }

OpenResult Win32AudioDevice::Open() {
  if (handle_ != 0) return OpenResult::Ok;
  HMIDIOUT out = nullptr;
  const UINT id = device_ < 0 ? MIDI_MAPPER : static_cast<UINT>(device_);
  const MMRESULT r = midiOutOpen(&out, id, 0, 0, CALLBACK_NULL);
  if (r == MMSYSERR_NOERROR) {
    handle_ = reinterpret_cast<uintptr_t>(out);
    return OpenResult::Ok;
  }
  wchar_t text[MAXERRORLENGTH] = L"";
  midiOutGetErrorTextW(r, text, MAXERRORLENGTH);
  std::fprintf(stderr, "kadeno: MIDI output %s did not open: %s (%u)\n",
               device_ < 0 ? "mapper" : std::to_string(device_).c_str(), Narrow(text).c_str(),
               static_cast<unsigned>(r));
  switch (r) {
    case MMSYSERR_ALLOCATED:
      return OpenResult::DeviceInUse;
    case MMSYSERR_BADDEVICEID:
    case MMSYSERR_NODRIVER:
      return OpenResult::NoDevice;
    default:
      return OpenResult::DeviceFailed;
  }
}

void Win32AudioDevice::SendShortMessage(uint32_t word) {
  if (handle_ != 0) midiOutShortMsg(Midi(handle_), word);
}

void Win32AudioDevice::Close() {
  if (handle_ == 0) return;
  midiOutClose(Midi(handle_));
  handle_ = 0;
}

void Win32AudioDevice::PlayWave(const std::string& path) {
  // Asynchronous, and a new wave cuts off the one playing; a missing file is silent
  // rather than the system's default sound.
  PlaySoundW(WindowsPath(path).c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
}

void Win32AudioDevice::StopWave() { PlaySoundW(nullptr, nullptr, 0); }

std::unique_ptr<AudioDevice> MakeWin32AudioDevice(const char* midiOut) {
  const AudioDeviceChoice choice = ParseAudioDeviceChoice(midiOut);
  if (auto common = MakeCommonAudioDevice(choice)) return common;
  if (choice.kind == AudioDeviceChoice::Kind::Device) {
    return std::make_unique<Win32AudioDevice>(choice.device);
  }
  return std::make_unique<Win32AudioDevice>();
}

}  // namespace kadeno
