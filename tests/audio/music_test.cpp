// The background tune as the game drives it: the command texts it sends, when it restarts
// the tune, and a race without a tune.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "music_fixtures.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

using testing::MusicLayerPlatform;
using Texts = std::vector<std::string>;

std::string OpenText(const std::string& folder) {
  return "open \"" + folder + "/bgm.mid\" type sequencer alias midifile";
}

TEST(MusicTexts, StartStopsClosesOpensAndPlaysInThatOrder) {
  for (const std::string folder : {"/game", "/home/a player/My Games/kelto1"}) {
    HeadlessPlatform platform;
    platform.program_folder = folder;
    Kelto1 game{platform};
    game.StartMusic();
    EXPECT_EQ(platform.music_commands,
              (Texts{"stop midifile ", "close midifile", OpenText(folder), "play midifile from 0"}));
  }
}

TEST(MusicTexts, StopSendsStopThenClose) {
  HeadlessPlatform platform;
  Kelto1 game{platform};
  game.StopMusic();
  EXPECT_EQ(platform.music_commands, (Texts{"stop midifile ", "close midifile"}));
}

TEST(MusicTexts, EscapeInARaceStopsAndClosesTheTuneBeforeTheEnd) {
  HeadlessPlatform platform;
  Kelto1 game{platform};
  game.StartMusic();
  platform.music_commands.clear();
  platform.Tap(vk::kEscape);
  game.CheckQuitKey();
  EXPECT_TRUE(platform.ended);
  EXPECT_EQ(platform.music_commands, (Texts{"stop midifile ", "close midifile"}));
}

// Answers the status query with a scripted code and reply, and records how it was asked.
class ScriptedStatusPlatform : public HeadlessPlatform {
 public:
  int32_t SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) override {
    music_commands.push_back(command);
    if (command != "status midifile mode") return 0;
    status_buffer_seen = reply;
    status_length_seen = reply_length;
    reply = status_reply;
    return status_code;
  }
  int32_t status_code = 0;
  std::string status_reply;
  std::string status_buffer_seen;
  int32_t status_length_seen = -1;
};

struct StatusCase {
  int32_t code;
  const char* reply;
  bool restarts;
};

TEST(KeepMusicPlaying, RestartsOnlyOnAStoppedAnswerThatIsNotAliasNotOpen) {
  const StatusCase cases[] = {
      {0, "playing", false},
      {0, "stopped", true},
      {0, "STOPPED", true},
      {0, "Stopped", true},
      {0, "stopped and more", true},  // only the first seven letters count
      {0, "stoppe", false},
      {0, "paused", false},
      {0, "", false},
      {263, "stopped", false},  // the alias is not open: leave it
      {277, "stopped", true},   // any other failure still looks at the answer
  };
  for (const StatusCase& c : cases) {
    ScriptedStatusPlatform platform;
    platform.status_code = c.code;
    platform.status_reply = c.reply;
    Kelto1 game{platform};
    game.KeepMusicPlaying();
    const Texts expected = c.restarts ? Texts{"status midifile mode", "play midifile from 0"}
                                      : Texts{"status midifile mode"};
    EXPECT_EQ(platform.music_commands, expected) << c.code << " \"" << c.reply << '"';
    EXPECT_EQ(platform.status_buffer_seen, std::string(16, ' '));
    EXPECT_EQ(platform.status_length_seen, 15);
  }
}

// The whole program on the headless machine, its tune played by the real command layer.
class RaceMusicTest : public ::testing::Test {
 protected:
  void StartProgram() {
    game.Form_Load();
    game.Timer1_Timer();  // the title screen
  }
  // Starts a race with Ctrl and runs it for `frames` frames.
  void RunRace(long frames) {
    frame = 0;
    game.SetAfterFrame([this, frames](Kelto1&) {
      ++frame;
      if (on_frame) on_frame(frame);
      return frame < frames;
    });
    platform.ReleaseAll();
    platform.Tap(vk::kControl);
    game.Timer1_Timer();
  }
  void AddTune() { platform.files.files[platform.program_folder + "/bgm.mid"] = {'M', 'T', 'h', 'd'}; }
  // Index of the first command with this text sent at or after command `from`.
  size_t Find(const std::string& text, size_t from = 0) const {
    for (size_t i = from; i < platform.music_commands.size(); ++i)
      if (platform.music_commands[i] == text) return i;
    return platform.music_commands.size();
  }
  int Count(const std::string& text) const {
    int n = 0;
    for (const std::string& c : platform.music_commands) n += c == text;
    return n;
  }

  MusicLayerPlatform platform;
  Kelto1 game{platform};
  long frame = 0;
  std::function<void(long)> on_frame;
};

TEST_F(RaceMusicTest, TheTuneStartsAfterTheBannerAndRestartsWithinAFrameOfItsEnd) {
  AddTune();
  StartProgram();
  EXPECT_FALSE(platform.tune.playing);  // no music on the title screen
  const uint32_t ctrl_at = platform.now_ms;
  std::vector<long> silent_frames;
  on_frame = [&](long f) {
    if (!platform.tune.playing) silent_frames.push_back(f);
    if (f == 100 || f == 250) platform.tune.Finish();
  };
  RunRace(300);
  ASSERT_EQ(frame, 300);
  const size_t open = Find(OpenText(platform.program_folder));
  ASSERT_LT(open, platform.codes.size());
  EXPECT_EQ(platform.codes[open], 0);
  EXPECT_GE(platform.times_ms[open] - ctrl_at, 2000u);  // after the banner's pause
  EXPECT_EQ(platform.music_commands[open + 1], "play midifile from 0");
  EXPECT_TRUE(silent_frames.empty()) << "first silent frame " << silent_frames.front();
  EXPECT_EQ(platform.tune.starts, 3);
  EXPECT_EQ(Count("status midifile mode"), 300);

  game.ShowTitle();
  EXPECT_FALSE(platform.tune.playing);
  EXPECT_FALSE(platform.layer.open());
}

TEST_F(RaceMusicTest, WithoutTheTuneFileTheRaceRunsSilently) {
  StartProgram();
  for (int race = 1; race <= 2; ++race) {
    RunRace(200);
    EXPECT_EQ(frame, 200) << "race " << race;
    game.ShowTitle();
  }
  EXPECT_FALSE(game.Ended());
  EXPECT_FALSE(platform.ended);
  EXPECT_EQ(platform.tune.load_paths.size(), 2u);
  EXPECT_FALSE(platform.tune.loaded);
  EXPECT_EQ(platform.tune.starts, 0);
  EXPECT_EQ(Count("play midifile from 0"), 2);  // the one of each StartMusic, and never again
  EXPECT_EQ(Count("status midifile mode"), 400);
  for (const std::string& note : platform.notes) EXPECT_EQ(note.find("bgm"), std::string::npos) << note;
  for (size_t i = 0; i < platform.codes.size(); ++i) {
    if (platform.music_commands[i] == "status midifile mode") {
      EXPECT_EQ(platform.codes[i], 263);
    }
  }
}

TEST(MusicTexts, AnyFolderNameReachesThePlayerAsItIs) {
  const char* const folders[] = {
      "/usr/lib/kelto1",
      "/home/me/my games/kelto 1",
      "/home/me/the \"best\" game",
      "/home/me/ends in a quote\"",
      "/home/me/back\\slash",
      "/home/me/ends in a backslash\\",
      "/home/me/\\\"\"\\ all at once",
      "/home/me/tab\there",
  };
  for (const char* folder : folders) {
    MusicLayerPlatform platform;
    Kelto1 game{platform};
    platform.program_folder = folder;
    platform.files.files[platform.program_folder + "/bgm.mid"] = {'M', 'T', 'h', 'd'};
    game.StartMusic();
    ASSERT_FALSE(platform.tune.load_paths.empty()) << folder;
    EXPECT_EQ(platform.tune.load_paths.back(), std::string(folder) + "/bgm.mid");
    EXPECT_TRUE(platform.layer.open()) << folder;
    EXPECT_TRUE(platform.reports.empty()) << folder;
  }
}

TEST_F(RaceMusicTest, ATuneThatWillNotPlayIsToldOnceAndLeftSilentUntilTheNextRace) {
  AddTune();
  platform.tune.plays_fail = true;
  StartProgram();
  for (int race = 1; race <= 3; ++race) {
    RunRace(300);
    ASSERT_EQ(frame, 300);
    // Tried once at the start of each race, not again on every frame.
    EXPECT_EQ(platform.tune.starts, race);
    game.ShowTitle();
  }
  EXPECT_EQ(Count("status midifile mode"), 900);
  ASSERT_EQ(platform.reports.size(), 1u);
  EXPECT_NE(platform.reports[0].find(platform.program_folder + "/bgm.mid"), std::string::npos) << platform.reports[0];
  EXPECT_NE(platform.reports[0].find("the synthesizer refuses it"), std::string::npos) << platform.reports[0];
  EXPECT_EQ(platform.reports[0].find('\n'), std::string::npos);
}

}  // namespace
}  // namespace kelto1
