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

// What midiOutShortMsg says when the device has gone away under the program (unplugged,
// its driver stopped) rather than being busy for a moment.
bool Gone(unsigned result) {
  switch (result) {
    case MMSYSERR_NODRIVER:
    case MMSYSERR_INVALHANDLE:
    case MMSYSERR_BADDEVICEID:
    case MIDIERR_NODEVICE:
      return true;
    default:
      return false;
  }
}

}  // namespace

WinmmCalls WinmmCalls::System() {
  WinmmCalls c;
  c.open = [](int device, uintptr_t* handle) -> unsigned {
    HMIDIOUT out = nullptr;
    const UINT id = device < 0 ? MIDI_MAPPER : static_cast<UINT>(device);
    const MMRESULT r = midiOutOpen(&out, id, 0, 0, CALLBACK_NULL);
    *handle = reinterpret_cast<uintptr_t>(out);
    return r;
  };
  c.shortMessage = [](uintptr_t handle, uint32_t word) -> unsigned {
    return midiOutShortMsg(Midi(handle), word);
  };
  c.close = [](uintptr_t handle) { midiOutClose(Midi(handle)); };
  c.errorText = [](unsigned result) {
    wchar_t text[MAXERRORLENGTH] = L"";
    midiOutGetErrorTextW(result, text, MAXERRORLENGTH);
    return Narrow(text);
  };
  c.deviceCount = [] { return static_cast<unsigned>(midiOutGetNumDevs()); };
  // Asynchronous, and a new wave cuts off the one playing; a missing file is silent
  // rather than the system's default sound, and no fault of the device.
  c.playWave = [](const std::string& path) {
    return PlaySoundW(WindowsPath(path).c_str(), nullptr,
                      SND_ASYNC | SND_FILENAME | SND_NODEFAULT) ||
           !Win32FileExists(path);
  };
  c.stopWave = [] { PlaySoundW(nullptr, nullptr, 0); };
  c.now = [] { return std::chrono::steady_clock::now(); };
  return c;
}

Win32AudioDevice::Win32AudioDevice(int device, WinmmCalls calls)
    : device_(device), calls_(std::move(calls)) {
  programs_.fill(-1);
  for (auto& channel : controllers_) channel.fill(-1);
}

Win32AudioDevice::~Win32AudioDevice() { Close(); }

int Win32AudioDevice::DeviceCount() { return static_cast<int>(calls_.deviceCount()); }

std::string Win32AudioDevice::Name() const {
  return device_ < 0 ? "mapper" : std::to_string(device_);
}

OpenResult Win32AudioDevice::Open() {
  if (open_) return OpenResult::Ok;
  uintptr_t out = 0;
  const unsigned r = calls_.open(device_, &out);
  if (r == MMSYSERR_NOERROR) {
    handle_ = out;
    open_ = true;
    return OpenResult::Ok;
  }
  std::fprintf(stderr, "kadeno: MIDI output %s did not open: %s (%u)\n", Name().c_str(),
               calls_.errorText(r).c_str(), r);
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

// The device is gone: the old handle is let go, and the next note due opens it again.
void Win32AudioDevice::Lose(unsigned result) {
  if (handle_ != 0) calls_.close(handle_);
  handle_ = 0;
  lost_ = true;
  if (pacer_.Failed(calls_.now())) {
    std::fprintf(stderr,
                 "kadeno: MIDI output %s is gone: %s (%u); opening it again at the next note\n",
                 Name().c_str(), calls_.errorText(result).c_str(), result);
  }
}

bool Win32AudioDevice::Reopen() {
  uintptr_t out = 0;
  const unsigned r = calls_.open(device_, &out);
  if (r != MMSYSERR_NOERROR) {
    pacer_.Failed(calls_.now());
    return false;
  }
  handle_ = out;
  lost_ = false;
  if (pacer_.Succeeded()) {
    std::fprintf(stderr, "kadeno: MIDI output %s is back\n", Name().c_str());
  }
  for (uint32_t channel = 0; channel < 16; ++channel) {
    if (programs_[channel] >= 0) {
      calls_.shortMessage(handle_, 0xC0 | channel | static_cast<uint32_t>(programs_[channel]) << 8);
    }
    for (uint32_t cc = 0; cc < 128; ++cc) {
      const int value = controllers_[channel][cc];
      if (value >= 0) {
        calls_.shortMessage(handle_, 0xB0 | channel | cc << 8 | static_cast<uint32_t>(value) << 16);
      }
    }
  }
  return true;
}

void Win32AudioDevice::Remember(uint32_t word) {
  const uint32_t channel = word & 0x0F;
  if ((word & 0xF0) == 0xC0) programs_[channel] = static_cast<int8_t>((word >> 8) & 0x7F);
  if ((word & 0xF0) == 0xB0) {
    controllers_[channel][(word >> 8) & 0x7F] = static_cast<int8_t>((word >> 16) & 0x7F);
  }
}

void Win32AudioDevice::SendShortMessage(uint32_t word) {
  if (!open_) return;
  Remember(word);
  if (lost_ && !(pacer_.Due(calls_.now()) && Reopen())) return;
  const unsigned r = calls_.shortMessage(handle_, word);
  if (Gone(r)) Lose(r);
}

void Win32AudioDevice::Close() {
  if (!open_) return;
  if (handle_ != 0) calls_.close(handle_);
  handle_ = 0;
  open_ = false;
  lost_ = false;
}

void Win32AudioDevice::PlayWave(const std::string& path) {
  if (!calls_.playWave(path) && open_ && !lost_) Lose(MMSYSERR_NODRIVER);
}

void Win32AudioDevice::StopWave() { calls_.stopWave(); }

std::unique_ptr<AudioDevice> MakeWin32AudioDevice(const char* midiOut) {
  const AudioDeviceChoice choice = ParseAudioDeviceChoice(midiOut);
  if (auto common = MakeCommonAudioDevice(choice)) return common;
  if (choice.kind == AudioDeviceChoice::Kind::Device) {
    return std::make_unique<Win32AudioDevice>(choice.device);
  }
  return std::make_unique<Win32AudioDevice>();
}

}  // namespace kadeno
