// A replay's start state comes from a stranger: every value in it is one the game can
// reach before a race, or the replay is refused before its first frame; what every race
// starts alike is rebuilt by the game. Races later in a session, which start from what
// the races before them left, play back as recorded.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <functional>

#include "app/sim_session.h"
#include "app/soak.h"
#include "replay/byte_io.h"
#include "replay/race_snapshot.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"

namespace kelto1 {
namespace {

// The start state as its parts: the generator, the two texts and the kept values, each a
// LEB128 number (signed values zigzagged).
struct StartParts {
  uint64_t random = 0;
  std::string best_rank, frame_delay;
  std::vector<uint64_t> values;
};

StartParts Split(const std::vector<uint8_t>& start) {
  StartParts p;
  ByteReader r(start.data(), start.size());
  p.random = r.Var();
  EXPECT_TRUE(r.Text(p.best_rank, 4096));
  EXPECT_TRUE(r.Text(p.frame_delay, 4096));
  while (r.ok() && r.left() > 0) p.values.push_back(r.Var());
  EXPECT_TRUE(r.ok());
  return p;
}

std::vector<uint8_t> Join(const StartParts& p) {
  ByteWriter w;
  w.Var(p.random);
  w.Text(p.best_rank);
  w.Text(p.frame_delay);
  for (uint64_t v : p.values) w.Var(v);
  return std::move(w.bytes());
}

uint64_t ZigZag(long long v) { return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v < 0 ? -1 : 0); }

// A game at its title screen, as a race would start from it.
std::unique_ptr<SimSession> TitleScreen() {
  auto s = std::make_unique<SimSession>();
  s->StartProgram();
  return s;
}

// Where a field's value sits among the kept values: found by changing it in a game.
size_t PlaceOf(const std::function<void(Kelto1&)>& change) {
  auto s = TitleScreen();
  const StartParts before = Split(CaptureRaceStart(s->game()));
  change(s->game());
  const StartParts after = Split(CaptureRaceStart(s->game()));
  EXPECT_EQ(before.values.size(), after.values.size());
  size_t found = SIZE_MAX;
  for (size_t i = 0; i < before.values.size() && i < after.values.size(); ++i) {
    if (before.values[i] == after.values[i]) continue;
    EXPECT_EQ(found, SIZE_MAX) << "the change moved more than one value";
    found = i;
  }
  EXPECT_NE(found, SIZE_MAX) << "the change is not among the kept values";
  return found;
}

// A recorded race of a few frames whose start state is replaced.
Replay WithStart(std::vector<uint8_t> start) {
  SimSession s;
  s.StartProgram();
  s.RunRace(5);
  std::string error;
  Replay replay = *DecodeReplay(s.game().recorder.last_file(), error);
  replay.start = std::move(start);
  return replay;
}

bool Prepares(const Replay& replay, std::string& error) {
  HeadlessPlatform machine;
  ReplayPlayer player(machine, replay);
  error.clear();
  return player.Prepare(error);
}

TEST(ReplayStartState, EveryIndexFieldIsRefusedPastItsEndAndTakenAtIt) {
  struct Case {
    const char* name;  // as the refusal names it
    std::function<void(Kelto1&)> change;  // a change of the field to a value the game reaches
    long long last;  // the field's last value the game reaches
  } cases[] = {
      {"NextLane 7", [](Kelto1& g) { g.vehicles.Vehicles[7].NextLane = 3; }, 4},
      {"Lane 7", [](Kelto1& g) { g.vehicles.Vehicles[7].Lane = 3; }, 4},
      {"RivalNo 7", [](Kelto1& g) { g.vehicles.Vehicles[7].RivalNo = 3; }, 29},
      {"RivalNo 0", [](Kelto1& g) { g.vehicles.Vehicles[0].RivalNo = 3; }, 29},
      {"Sprite 28", [](Kelto1& g) { g.vehicles.Vehicles[28].Sprite = 14; }, 53},
      {"BlinkSide 3", [](Kelto1& g) { g.vehicles.Vehicles[3].BlinkSide = 1; }, 1},
      {"rival Slot 29", [](Kelto1& g) { g.traffic.Rivals[29].Slot = 3; }, 28},
      {"pick-up Carrier 5", [](Kelto1& g) { g.traffic.Pickups[5].Carrier = 3; }, 28},
      {"pick-up Kind 0", [](Kelto1& g) { g.traffic.Pickups[0].Kind = 3; }, 10},
      {"debris Frame 9", [](Kelto1& g) { g.traffic.Debris[9].Frame = 2; }, 4},
      {"debris Frames 9", [](Kelto1& g) { g.traffic.Debris[9].Frames = 2; }, 4},
      {"signal Phase 2", [](Kelto1& g) { g.traffic.Signals[2].Phase = 2; }, 3},
      {"signal CrossLanes 2", [](Kelto1& g) { g.traffic.Signals[2].CrossLanes = 2; }, 3},
      {"SceneryMode", [](Kelto1& g) { g.course.SceneryMode = 5; }, 12},
      {"SceneryPhase", [](Kelto1& g) { g.course.SceneryPhase = 1; }, 1},
      {"ScrollSub", [](Kelto1& g) { g.vehicles.ScrollSub = 7; }, 31},
      {"SpriteQueue 1", [](Kelto1& g) { g.vehicles.SpriteQueue[1] = 7; }, 59},
      {"SpriteQueue 763", [](Kelto1& g) { g.vehicles.SpriteQueue[763] = 7; }, 59},
      {"SoundCooldown 13", [](Kelto1& g) { g.audio.SoundCooldown[13] = 7; }, 100},
      {"FlushCount", [](Kelto1& g) { g.shell.FlushCount = 4; }, 5},
  };
  auto s = TitleScreen();
  const StartParts good = Split(CaptureRaceStart(s->game()));
  for (const Case& c : cases) {
    const size_t at = PlaceOf(c.change);
    if (at == SIZE_MAX) continue;
    for (long long v : {-1LL, c.last, c.last + 1, 255LL}) {
      StartParts crafted = good;
      crafted.values[at] = ZigZag(v);
      std::string error;
      const bool taken = Prepares(WithStart(Join(crafted)), error);
      if (v == c.last) {
        EXPECT_TRUE(taken) << c.name << " at " << v << ": " << error;
        continue;
      }
      EXPECT_FALSE(taken) << c.name << " at " << v;
      EXPECT_NE(error.find(std::string(c.name) + " is " + std::to_string(v)), std::string::npos)
          << c.name << " at " << v << ": " << error;
      EXPECT_EQ(error.find('\n'), std::string::npos);
    }
  }
}

TEST(ReplayStartState, ImpossibleTextsGeneratorsAndShapesAreRefused) {
  auto s = TitleScreen();
  const StartParts good = Split(CaptureRaceStart(s->game()));
  const auto with = [&](const std::function<void(StartParts&)>& change) {
    StartParts p = good;
    change(p);
    return Join(p);
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> start;
    const char* says;
  } cases[] = {
      {"a generator past 24 bits", with([](StartParts& p) { p.random = 0x1000000; }), "random generator state 16777216"},
      {"a best rank of words", with([](StartParts& p) { p.best_rank = "first"; }), "best rank"},
      {"a best rank with a sign", with([](StartParts& p) { p.best_rank = "+3"; }), "best rank"},
      {"a delay box with a newline", with([](StartParts& p) { p.frame_delay = "1\n0"; }), "frame delay box"},
      {"a delay box of broken UTF-8", with([](StartParts& p) { p.frame_delay = "\xC3("; }), "frame delay box"},
      {"a delay box longer than it takes",
       with([](StartParts& p) { p.frame_delay = std::string(256, '1'); }), "frame delay box"},
      {"a contact factor that is no number",
       with([&](StartParts& p) {
         const size_t at = PlaceOf([](Kelto1& g) { g.vehicles.KeepSelf = 0.5f; });
         p.values[at] = 0x7FC00000;  // NaN
       }), "KeepSelf is not a number"},
      {"a value too few", with([](StartParts& p) { p.values.pop_back(); }), "ends early"},
      {"a value too many", with([](StartParts& p) { p.values.push_back(0); }), "bytes after the end"},
      {"nothing", {}, "ends early"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(Prepares(WithStart(c.start), error)) << c.name;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
  }
  Replay newline_car = WithStart(Join(good));
  newline_car.car = "Racing\nCar";
  std::string error;
  EXPECT_FALSE(Prepares(newline_car, error));
  EXPECT_NE(error.find("vehicle"), std::string::npos) << error;
}

// Races later in a session start from what earlier races left in the records: traffic's
// leftovers, the player's cooldowns, the sound cooldowns, the scenery, the generator.
// Every race the game plays to its end passes through game over, 400 frames after it is
// decided, and so through the title screen before the next; these races are cut short,
// so their game over is called where the race would have come to it.
TEST(ReplayStartState, EveryRaceOfALongSessionPlaysBackAsRecorded) {
  SimSession s;
  s.platform().joystick_present = true;
  s.platform().joystick.x = 32768;
  s.StartProgram();
  RandomDriver driver(7);
  const long lengths[] = {2500, 900, 3000, 1, 1800, 2200};
  int race = 0;
  for (long frames : lengths) {
    s.game().window[Element::CarSel].text = driver.NextCar();
    s.keys_for_frame = [&](long, HeadlessPlatform& p) { driver.HoldKeys(p); };
    s.RunRace(frames);
    s.game().GameOver();
    HeadlessPlatform machine;
    std::string error;
    auto replay = DecodeReplay(s.game().recorder.last_file(), error);
    ASSERT_TRUE(replay) << error;
    ReplayPlayer player(machine, std::move(*replay));
    ASSERT_TRUE(player.Prepare(error)) << "race " << race << ": " << error;
    const ReplayOutcome out = player.Play();
    EXPECT_FALSE(out.diverged) << "race " << race << " diverged at " << out.diverged_frame;
    EXPECT_EQ(out.frames, frames) << "race " << race;
    ++race;
  }
}

}  // namespace
}  // namespace kelto1
