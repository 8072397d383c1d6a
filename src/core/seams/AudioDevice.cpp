// Names of the audio seam's results.
#include "seams/AudioDevice.h"

namespace kadeno {

const char* OpenResultName(OpenResult result) {
  switch (result) {
    case OpenResult::Ok:
      return "ok";
    case OpenResult::NoSoundfont:
      return "no soundfont";
    case OpenResult::NoOutput:
      return "no audio output";
    case OpenResult::CannotWriteLog:
      return "cannot write the log";
    case OpenResult::NoDevice:
      return "no device";
    case OpenResult::DeviceInUse:
      return "device in use";
    case OpenResult::DeviceFailed:
      return "device failed";
  }
  return "?";
}

}  // namespace kadeno
