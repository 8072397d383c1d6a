// The speech seam met by the desktop's speech service (speech-dispatcher, through
// libspeechd). A worker thread owns the connection, so no box ever waits for it: opening
// it may start the service, and a service that hangs holds up only the worker. A fault (no
// service, a dropped connection, a text refused) costs one line on stderr; the next box
// tries again, no sooner than 2 s after the last failure, and the first text the service
// takes again is worth one line more.
#pragma once

#include <memory>
#include <string>

#include "retry/Reconnect.h"
#include "seams/Speech.h"

namespace kadeno {

class SpeechDispatcherSpeech : public Speech {
 public:
  // Connects only when there is first something to say; asks for a voice of the language
  // ("de", "pt-BR") when one is given. The retries go by `clock`.
  explicit SpeechDispatcherSpeech(std::string language = {}, RetryClock clock = {});
  ~SpeechDispatcherSpeech() override;
  SpeechDispatcherSpeech(const SpeechDispatcherSpeech&) = delete;
  SpeechDispatcherSpeech& operator=(const SpeechDispatcherSpeech&) = delete;

  void Say(const std::string& text) override;
  void Stop() override;

  // What the program and the worker share; it lives as long as either does.
  struct Channel;

 private:
  std::shared_ptr<Channel> channel_;
};

}  // namespace kadeno
