// The games of tests/data/game-scripts.txt: every MIDI word and wave with its time, then
// the journal, compared with tests/data/stream-*.txt.
#include <gtest/gtest.h>

#include "support/Script.h"

namespace kadeno::test {
namespace {

TEST(Streams, ScriptedGamesMatchTheirRecords) { EXPECT_EQ(Script("game-scripts.txt").plays, 7); }

}  // namespace
}  // namespace kadeno::test
