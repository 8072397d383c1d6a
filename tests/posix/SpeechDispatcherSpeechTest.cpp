// The speech client against a pretend speech service on a socket of its own: how often it
// tries while the service is away (on a virtual clock), and what it asks for once the
// service answers.
#if KADENO_WITH_SPEECHD
#include "speechd/SpeechDispatcherSpeech.h"

#include <gtest/gtest.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <thread>

#include "support/TempFolder.h"
#include "support/VirtualClock.h"

namespace kadeno {
namespace {

// A text waits for the service: tried at once, then every two seconds while the service
// closes every connection; the first try after ten seconds finds it answering, and the
// client asks for the voice's language and says the text.
TEST(SpeechDispatcherSpeech, TriesEveryTwoSecondsThenAsksForTheLanguage) {
  const test::TempFolder dir;
  const std::string path = dir / "ssip";
  setenv("SPEECHD_ADDRESS", ("unix_socket:" + path).c_str(), 1);
  const int server = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(server, 8), 0);

  const test::VirtualClock clock;
  std::vector<int64_t> tries;  // virtual ms of each connection
  std::string heard;           // every line the service was sent, once it answers
  std::atomic<bool> said{false};
  std::thread service([&] {
    int c = -1;
    while ((c = accept(server, nullptr, nullptr)) >= 0) {
      tries.push_back(clock.Ms());
      if (clock.Ms() >= 10000 || tries.size() >= 50) break;
      close(c);
    }
    if (c < 0) return;  // never answered: the listening socket was shut
    clock.Hold();
    FILE* in = fdopen(c, "r");
    char line[512];
    bool text = false;  // between SPEAK and the lone dot
    while (std::fgets(line, sizeof line, in) != nullptr) {
      heard += line;
      std::string reply = "200 OK\r\n";
      if (text && std::strcmp(line, ".\r\n") != 0) continue;
      if (text) reply = "225-1\r\n225 OK MESSAGE QUEUED\r\n", said = true, text = false;
      if (strncasecmp(line, "SPEAK", 5) == 0) reply = "230 OK RECEIVING DATA\r\n", text = true;
      send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
    std::fclose(in);
  });
  testing::internal::CaptureStderr();
  {
    SpeechDispatcherSpeech speech("pt-BR", clock.Make());
    speech.Say("Olá");
    for (int i = 0; i < 500 && !said; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  shutdown(server, SHUT_RDWR);
  service.join();
  close(server);
  unsetenv("SPEECHD_ADDRESS");
  EXPECT_EQ(tries, (std::vector<int64_t>{0, 2000, 4000, 6000, 8000, 10000}));
  // After the client's name, the voice's language comes first.
  EXPECT_EQ(heard.substr(heard.find('\n') + 1),
            "SET SELF LANGUAGE pt-BR\r\nCANCEL SELF\r\nSET SELF PRIORITY MESSAGE\r\nspeak\r\n"
            "Olá\r\n.\r\n");
}

}  // namespace
}  // namespace kadeno
#endif
