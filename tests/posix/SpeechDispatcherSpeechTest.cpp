// The speech client against a pretend service on a socket of its own: its tries while the
// service is away (on a virtual clock), and what it asks for once the service answers.
#if KADENO_WITH_SPEECHD
#include "speechd/SpeechDispatcherSpeech.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/TempFolder.h"
#include "support/VirtualClock.h"

namespace kadeno {
namespace {

using namespace std::chrono_literals;

// Answers one connection as the service does, until the client hangs up: every line it
// was sent goes to `heard`, and each text (its first line) to `said`.
void Serve(int c, std::string& heard, std::vector<std::string>& said, std::mutex& mutex) {
  FILE* in = fdopen(c, "r");
  char line[512];
  bool text = false;  // between SPEAK and the lone dot
  while (std::fgets(line, sizeof line, in) != nullptr) {
    std::lock_guard lock(mutex);
    heard += line;
    std::string reply = "200 OK\r\n";
    if (text && std::strcmp(line, ".\r\n") != 0) {
      if (said.back().empty()) said.back() = std::string(line, std::strlen(line) - 2);
      continue;
    }
    if (text) reply = "225-1\r\n225 OK MESSAGE QUEUED\r\n", text = false;
    if (strncasecmp(line, "SPEAK", 5) == 0)
      reply = "230 OK RECEIVING DATA\r\n", text = true, said.emplace_back();
    send(c, reply.data(), reply.size(), MSG_NOSIGNAL);
  }
  std::fclose(in);
}

// The pretend service: a socket named to the client by SPEECHD_ADDRESS, served by `service`.
struct SpeechService : ::testing::Test {
  SpeechService() {
    setenv("SPEECHD_ADDRESS", ("unix_socket:" + dir / "ssip").c_str(), 1);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (dir / "ssip").c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(server, 8), 0);
  }
  // Shuts the socket, for a service still waiting for a connection to end, and waits for it.
  void Finish() {
    shutdown(server, SHUT_RDWR);
    service.join();
  }
  ~SpeechService() override {
    close(server);
    unsetenv("SPEECHD_ADDRESS");
  }
  const test::TempFolder dir;
  const int server = socket(AF_UNIX, SOCK_STREAM, 0);
  std::thread service;
  std::string heard;  // every line the service was sent, once it answers
  std::vector<std::string> said;
  std::mutex mutex;
};

// Tried at once, then every two seconds while the service hangs up on each connection; the
// try at ten seconds finds it answering.
TEST_F(SpeechService, TriesEveryTwoSecondsThenAsksForTheLanguage) {
  const test::VirtualClock clock;
  std::vector<int64_t> tries;  // virtual ms of each connection
  service = std::thread([&] {
    int c = -1;
    while ((c = accept(server, nullptr, nullptr)) >= 0) {
      tries.push_back(clock.Ms());
      if (clock.Ms() >= 10000 || tries.size() >= 50) break;
      close(c);
    }
    if (c < 0) return;  // never answered: the listening socket was shut
    clock.Hold();
    Serve(c, heard, said, mutex);
  });
  testing::internal::CaptureStderr();
  {
    SpeechDispatcherSpeech speech("pt-BR", clock.Make());
    speech.Say("Olá");
    test::Within(10s, [&] {
      std::lock_guard lock(mutex);
      return !said.empty() && !said.back().empty();
    });
  }
  Finish();
  EXPECT_EQ(tries, (std::vector<int64_t>{0, 2000, 4000, 6000, 8000, 10000}));
  // One line when the service is missed and one when it is back, none for the tries between.
  const std::string lines = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
  EXPECT_EQ(lines.substr(lines.find('\n') + 1),
            "kadeno: the speech service answers again; speaking on\n");
  // After the client's name, the voice's language comes first.
  EXPECT_EQ(heard.substr(heard.find('\n') + 1),
            "SET SELF LANGUAGE pt-BR\r\nCANCEL SELF\r\nSET SELF PRIORITY MESSAGE\r\nspeak\r\n"
            "Olá\r\n.\r\n");
}

// A slow service answers late: the box waiting for it closed meanwhile; only the next is said.
TEST_F(SpeechService, SaysNothingOfABoxThatClosedWhileTheServiceStarted) {
  std::atomic<bool> connected{false}, answer{false};
  service = std::thread([&] {
    const int c = accept(server, nullptr, nullptr);
    connected = true;
    while (!answer) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (c >= 0) Serve(c, heard, said, mutex);
  });
  testing::internal::CaptureStderr();
  {
    SpeechDispatcherSpeech speech("");
    speech.Say("About to start Game Play.");
    test::Within(10s, [&] { return connected.load(); });
    speech.Stop();
    speech.Say("Game Play canceled by user request.");
    answer = true;
    test::Within(10s, [&] {
      std::lock_guard lock(mutex);
      return !said.empty() && said.back() == "Game Play canceled by user request.";
    });
  }
  Finish();
  EXPECT_EQ(said, std::vector<std::string>{"Game Play canceled by user request."});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// No try is made for the answered box once the two seconds after a failed one are over.
TEST_F(SpeechService, ForgetsABoxAnsweredWhileTheServiceIsAway) {
  std::atomic<int> tries{0};
  service = std::thread([&] {
    for (int c; (c = accept(server, nullptr, nullptr)) >= 0; ++tries) close(c);
  });
  testing::internal::CaptureStderr();
  {
    SpeechDispatcherSpeech speech("");
    speech.Say("About to start Game Play.");
    test::Within(10s, [&] { return tries > 0; });
    speech.Stop();
    std::this_thread::sleep_for(2500ms);
  }
  Finish();
  EXPECT_EQ(tries, 1);
  EXPECT_THAT(testing::internal::GetCapturedStderr(),
              testing::MatchesRegex("kadeno: [^\n]*; going on without speech\n"));
}

}  // namespace
}  // namespace kadeno
#endif
