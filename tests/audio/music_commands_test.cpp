// The command-string layer of the tune: which texts it takes, its error codes, and what
// it asks of the tune player.
#include "platform/music_commands.h"

#include <gtest/gtest.h>

#include "music_fixtures.h"

namespace kelto1 {
namespace {

using testing::FakeTune;

const std::string kTune = "/game folder/bgm.mid";
const std::string kOpen = "open \"" + kTune + "\" type sequencer alias midifile";

class MusicCommandsTest : public ::testing::Test {
 protected:
  MusicCommandsTest() { files.files[kTune] = {'M', 'T', 'h', 'd'}; }

  int32_t Send(const std::string& command) {
    std::string reply(16, ' ');
    return layer.Send(command, reply, 0);
  }
  // The status answer, or the error code in brackets.
  std::string Status(int32_t length = 15) {
    std::string reply(16, ' ');
    const int32_t code = layer.Send("status midifile mode", reply, length);
    return code == 0 ? reply : "[" + std::to_string(code) + "]";
  }

  MemoryFileStore files;
  FakeTune tune{files};
  MusicCommands layer{tune};
};

TEST_F(MusicCommandsTest, EveryCommandBeforeOpenAnswersAliasNotOpenAndTouchesNothing) {
  for (const char* command : {"play midifile from 0", "status midifile mode", "stop midifile ", "close midifile"}) {
    std::string reply(16, ' ');
    EXPECT_EQ(layer.Send(command, reply, 15), 263) << command;
    EXPECT_EQ(reply, std::string(16, ' ')) << command;
  }
  EXPECT_EQ(tune.starts, 0);
  EXPECT_EQ(tune.unloads, 0);
  EXPECT_TRUE(tune.load_paths.empty());
}

TEST_F(MusicCommandsTest, OpenLoadsTheQuotedPathBlanksAndAll) {
  EXPECT_EQ(Send(kOpen), 0);
  EXPECT_EQ(tune.load_paths, std::vector<std::string>{kTune});
  EXPECT_TRUE(layer.open());
  EXPECT_EQ(Status(), "stopped");  // opened, not yet played
}

TEST_F(MusicCommandsTest, AMissingTuneLeavesTheAliasClosed) {
  files.files.clear();
  EXPECT_EQ(Send(kOpen), 275);
  EXPECT_FALSE(layer.open());
  EXPECT_EQ(Send("play midifile from 0"), 263);
  EXPECT_EQ(Status(), "[263]");
  EXPECT_EQ(tune.starts, 0);
}

TEST_F(MusicCommandsTest, ASecondOpenIsRefusedAndKeepsTheFirstTune) {
  ASSERT_EQ(Send(kOpen), 0);
  ASSERT_EQ(Send("play midifile from 0"), 0);
  EXPECT_EQ(Send("open \"/elsewhere/other.mid\" type sequencer alias midifile"), 289);
  EXPECT_EQ(tune.load_paths.size(), 1u);
  EXPECT_EQ(Status(), "playing");
}

TEST_F(MusicCommandsTest, PlayStatusStopAndCloseFollowTheTune) {
  ASSERT_EQ(Send(kOpen), 0);
  EXPECT_EQ(Send("play midifile from 0"), 0);
  EXPECT_EQ(Status(), "playing");
  tune.Finish();  // the tune runs out by itself
  EXPECT_EQ(Status(), "stopped");
  EXPECT_EQ(Send("play midifile from 0"), 0);
  EXPECT_EQ(tune.starts, 2);
  EXPECT_EQ(Status(), "playing");
  EXPECT_EQ(Send("stop midifile "), 0);
  EXPECT_EQ(Status(), "stopped");
  EXPECT_EQ(Send("close midifile"), 0);
  EXPECT_EQ(tune.unloads, 1);
  EXPECT_FALSE(layer.open());
  EXPECT_EQ(Status(), "[263]");
  EXPECT_EQ(Send("close midifile"), 263);
  EXPECT_EQ(Send(kOpen), 0);  // and it can be opened again
}

TEST_F(MusicCommandsTest, TheStatusAnswerIsCutToTheStatedLength) {
  ASSERT_EQ(Send(kOpen), 0);
  ASSERT_EQ(Send("play midifile from 0"), 0);
  EXPECT_EQ(Status(15), "playing");
  EXPECT_EQ(Status(7), "playing");
  EXPECT_EQ(Status(3), "pla");
  EXPECT_EQ(Status(0), std::string(16, ' '));  // no room: the reply is left as it was
}

struct Refusal {
  const char* command;
  int32_t code;
};

TEST_F(MusicCommandsTest, TextsOutsideTheFewCommandsAreRefusedWithoutEffect) {
  const Refusal refusals[] = {
      {"", 261},
      {"   ", 261},
      {"pause midifile", 261},
      {"seek midifile to start", 261},
      {"play other from 0", 263},
      {"status other mode", 263},
      {"close", 263},
      {"play midifile", 259},
      {"play midifile from 10", 259},
      {"status midifile position", 259},
      {"stop midifile now", 259},
      {"open \"/game folder/bgm.mid type sequencer alias midifile", 261},  // unclosed quote
      {"open \"/game folder/bgm.mid\" type sequencer alias tune", 259},
      {"open \"/game folder/bgm.mid\" alias midifile", 259},
      {"open", 259},
  };
  ASSERT_EQ(Send(kOpen), 0);
  tune.load_paths.clear();
  for (const Refusal& r : refusals) {
    std::string reply(16, ' ');
    EXPECT_EQ(layer.Send(r.command, reply, 15), r.code) << '"' << r.command << '"';
    EXPECT_EQ(reply, std::string(16, ' ')) << '"' << r.command << '"';
  }
  EXPECT_TRUE(tune.load_paths.empty());
  EXPECT_EQ(tune.starts, 0);
  EXPECT_EQ(tune.unloads, 0);
  EXPECT_TRUE(layer.open());
}

TEST_F(MusicCommandsTest, WordsMayDifferInLetterCaseAndSpacing) {
  EXPECT_EQ(Send("OPEN   /game/plain.mid TYPE Sequencer ALIAS MidiFile"), 275);  // unquoted path taken as is
  EXPECT_EQ(tune.load_paths, std::vector<std::string>{"/game/plain.mid"});
  EXPECT_EQ(Send("Open \"" + kTune + "\"\ttype sequencer alias midifile"), 0);
  EXPECT_EQ(Send("  PLAY MIDIFILE  From 0  "), 0);
  EXPECT_EQ(tune.starts, 1);
  std::string reply;
  EXPECT_EQ(layer.Send("Status MidiFile MODE", reply, 15), 0);
  EXPECT_EQ(reply, "playing");
}

// Reports go to a list, as the desktop sends them to standard error.
class MusicReportsTest : public MusicCommandsTest {
 protected:
  std::vector<std::string> reports;
  MusicCommands told{tune, [this](const std::string& line) { reports.push_back(line); }};
  int32_t SendTold(const std::string& command) {
    std::string reply(16, ' ');
    return told.Send(command, reply, 0);
  }
};

TEST_F(MusicReportsTest, EachFailureToOpenIsToldOnceInOneLine) {
  files.files.clear();
  for (int race = 0; race < 5; ++race) EXPECT_EQ(SendTold(kOpen), 275);
  const std::string unclosed = "open \"/game folder/bgm.mid type sequencer alias midifile";
  for (int race = 0; race < 5; ++race) EXPECT_NE(SendTold(unclosed), 0);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[0].find(kTune), std::string::npos) << reports[0];
  EXPECT_NE(reports[0].find("missing"), std::string::npos) << reports[0];
  EXPECT_NE(reports[1].find("not understood"), std::string::npos) << reports[1];
  for (const std::string& r : reports) EXPECT_EQ(r.find('\n'), std::string::npos) << r;
  // Commands other than open are the game's everyday traffic, not worth a line.
  SendTold("status midifile mode");
  SendTold("close midifile");
  EXPECT_EQ(reports.size(), 2u);
}

TEST_F(MusicReportsTest, ATuneThatFailsToPlayIsNotStartedAgainUntilItIsOpenedAgain) {
  tune.plays_fail = true;
  ASSERT_EQ(SendTold(kOpen), 0);
  EXPECT_EQ(SendTold("play midifile from 0"), 275);
  EXPECT_TRUE(told.silenced());
  std::string reply(16, ' ');
  for (int frame = 0; frame < 100; ++frame) {
    EXPECT_EQ(told.Send("status midifile mode", reply, 15), 0);
    EXPECT_EQ(reply, "stopped");
    EXPECT_EQ(SendTold("play midifile from 0"), 275);
  }
  EXPECT_EQ(tune.starts, 1);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("the synthesizer refuses it"), std::string::npos) << reports[0];

  // The next race opens it again and tries once more; the same trouble is not told twice.
  ASSERT_EQ(SendTold("close midifile"), 0);
  ASSERT_EQ(SendTold(kOpen), 0);
  EXPECT_FALSE(told.silenced());
  EXPECT_EQ(SendTold("play midifile from 0"), 275);
  EXPECT_EQ(tune.starts, 2);
  EXPECT_EQ(reports.size(), 1u);
  // Once it plays, it plays.
  tune.plays_fail = false;
  SendTold("close midifile");
  SendTold(kOpen);
  EXPECT_EQ(SendTold("play midifile from 0"), 0);
  EXPECT_EQ(told.Send("status midifile mode", reply, 15), 0);
  EXPECT_EQ(reply, "playing");
}

}  // namespace
}  // namespace kelto1
