// The value commands (the toggles and the factory reset are in the whole run's transcript).
#include <gtest/gtest.h>

#include "support/Harness.h"

namespace kadeno::test {
namespace {

TEST(ValueCommands, AnswersAreAcceptedLimitedOrIgnored) {
  const std::pair<std::string, std::optional<int32_t>> cases[] = {
      {"0", 0},      {"200", 127},   {"-5", 0},     {"127.5", 127}, {"126.5", 126},
      {"12abc", 12}, {" 1 2", 12},   {"abc", {}},   {"a0b", 0},     {"" /* Cancel */, {}},
      {"1e400", {}}, {"1e300", 127}, {"-1e300", 0}, {"0.4", 0},     {"0.6", 1},
  };
  for (const auto& [typed, stored] : cases) {
    Harness h;
    h.S().DrumVolume = 55;
    h.window.Type(typed);
    h.Click("mnuMidiDrumVolume");
    EXPECT_EQ(h.form.settings().DrumVolume, stored.value_or(55)) << typed;
    EXPECT_EQ(h.window.files[h.SettingsPath()],
              stored ? FormatSettingsFile(h.form.settings()) : "");
  }
}

TEST(ValueCommands, AValueBoxSilencesTheEffectNote) {
  // A wall knock still sounding would hang on under the box for as long as it stays open.
  Harness h;
  h.form.voices().SoundEffectNote(Channel::Effect, 70, 90);
  h.window.Type("50");
  h.Click("mnuMidiDrumVolume");
  // Then, outside a game, the drum at its new volume (50): kick, kick, snare, kick.
  EXPECT_EQ(h.audio.Hex(),
            (std::vector<std::string>{"C6 00", "96 46 5A", "86 46 5A", "C9 00", "99 24 32",
                                      "89 24 32", "C9 00", "99 24 32", "89 24 32", "C9 00",
                                      "99 26 32", "89 26 32", "C9 00", "99 24 32", "89 24 32"}));
}

TEST(ValueCommands, StartGameChosenDuringThePhraseEndsItAndThenStarts) {
  // Not refused as in a game: the phrase stops after its first note.
  Harness h;
  h.window.Type("50");
  h.window.At(h.window.now + 300, [&h] { h.Click("mnuFileStartGame"); });
  h.window.Reply(Answer::No, "Are you ready?");
  h.window.Reply(Answer::Ok, "Game Play canceled by user request");
  h.Click("mnuMidiDrumVolume");
  EXPECT_EQ(h.audio.NotesOn(Channel::Drum), std::vector<int>{36});
  EXPECT_EQ(h.window.boxes.size(), 3u);
  EXPECT_EQ(h.window.PendingReplies(), 0u);
}

}  // namespace
}  // namespace kadeno::test
