// The records table: its order, the twenty it keeps with their replays, and tables that
// were damaged or written by somebody else.
#include <gtest/gtest.h>

#include "app/sim_session.h"
#include "headless/headless_platform.h"
#include "replay/records.h"
#include "replay/replay_file.h"

namespace kelto1 {
namespace {

RaceRecord Race(int rank, int places, int64_t distance, std::string replay = "r.k1r") {
  RaceRecord r;
  r.when = "2026-12-11 06:30:00";
  r.vehicle = "MotorBike";
  r.rank = rank;
  r.places = places;
  r.place = "新宿";
  r.distance = distance;
  r.frames = 1000;
  r.replay = std::move(replay);
  return r;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(RecordsOrder, RankFirstThenPlacesThenDistance) {
  struct Case {
    RaceRecord a, b;
    bool a_better;
  } cases[] = {
      {Race(3, 1, 10), Race(4, 9, 900), true},    // a better rank beats everything else
      {Race(4, 9, 900), Race(3, 1, 10), false},
      {Race(5, 3, 10), Race(5, 2, 900), true},    // same rank: more places
      {Race(5, 3, 500), Race(5, 3, 499), true},   // same places: further
      {Race(5, 3, 500), Race(5, 3, 500), false},  // equal races: neither is better
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BetterRace(c.a, c.b), c.a_better) << c.a.rank << "/" << c.a.places << "/" << c.a.distance;
  }
}

TEST(RecordsOrder, AnEqualRaceGoesBehindTheOlderOnesAndTheTwentyFirstMissesOut) {
  std::vector<RaceRecord> table = {Race(2, 5, 100), Race(7, 2, 50), Race(7, 2, 50), Race(9, 1, 10)};
  EXPECT_EQ(PlaceInTable(table, Race(7, 2, 50)), 3u);  // ties keep the older ahead
  EXPECT_EQ(PlaceInTable(table, Race(1, 1, 1)), 0u);
  EXPECT_EQ(PlaceInTable(table, Race(30, 1, 0)), 4u);
  table.assign(kRecordsKept, Race(10, 3, 300));
  EXPECT_EQ(PlaceInTable(table, Race(10, 3, 300)), std::nullopt);
  EXPECT_EQ(PlaceInTable(table, Race(11, 9, 999)), std::nullopt);
  EXPECT_EQ(PlaceInTable(table, Race(10, 3, 301)), 0u);
}

TEST(RecordsFile, EveryFieldComesBackAsItWasWrittenWhateverTheVehicleIsCalled) {
  RaceRecord odd = Race(1, 40, 7347, "20261211-063000.k1r");
  odd.vehicle = "Tab\there\nnew line \\ back\x01slash \xE8\xBB\x8A";
  std::vector<RaceRecord> table = {odd, Race(12, 2, 300, "b.k1r")};
  const std::string text = EncodeRecords(table);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << "a field broke its line";
  const DecodedRecords back = DecodeRecords(text);
  EXPECT_TRUE(back.problems.empty()) << back.problems.front();
  ASSERT_EQ(back.table.size(), 2u);
  EXPECT_EQ(back.table[0].vehicle, odd.vehicle);
  EXPECT_EQ(back.table[0].place, odd.place);
  EXPECT_EQ(back.table[0].distance, 7347);
  EXPECT_EQ(back.table[1].replay, "b.k1r");
}

TEST(RecordsFile, DamagedLinesAreLeftOutWithOneLineEachAndTheRestIsKept) {
  const std::string head = "kelto1 records 1\n";
  const std::string good = "2026-12-11 06:30:00\tCar\t5\t2\tX\t300\t1000\tgood.k1r\n";
  struct Case {
    std::string text;
    size_t kept;
    std::string problem;  // part of the first problem's line
  } cases[] = {
      {"", 0, "not a records table"},
      {"kelto1 records 2\n" + good, 0, "newer"},
      {head + good, 1, ""},
      {head + good + "2026-12-11 06:30:00\tCar\t5\t2\tX\t300\t1000\t../car.dat\n", 1, "outside the records folder"},
      {head + good + "2026-12-11 06:30:00\tCar\t5\t2\tX\t300\t1000\t/etc/passwd.k1r\n", 1, "outside"},
      {head + good + "2026-12-11 06:30:00\tCar\t0\t2\tX\t300\t1000\tb.k1r\n", 1, "rank"},
      {head + good + "2026-12-11 06:30:00\tCar\t31\t2\tX\t300\t1000\tb.k1r\n", 1, "rank"},
      {head + good + "2026-12-11 06:30:00\tCar\t-5\t2\tX\t300\t1000\tb.k1r\n", 1, "rank"},
      {head + good + "2026-12-11 06:30:00\tCar\t5\t2\tX\t99999999999999999999\t1000\tb.k1r\n", 1, "distance"},
      {head + good + "2026-12-11 06:30:00\tCar\t5\t2\tX\t300\t0\tb.k1r\n", 1, "race length"},
      {head + good + "yesterday\tCar\t5\t2\tX\t300\t1000\tb.k1r\n", 1, "date"},
      {head + good + "2026-12-11 06:30:00\tCar\t5\t2\tX\t300\n", 1, "fields"},
      {head + good + "2026-12-11 06:30:00\tCa\x01r\t5\t2\tX\t300\t1000\tb.k1r\n", 1, "vehicle"},
      {head + good + "2026-12-11 06:30:00\tCa\\qr\t5\t2\tX\t300\t1000\tb.k1r\n", 1, "vehicle"},
      {head + good + good, 1, "names a replay that an earlier line names"},
      {head + good + "2026-12-11 06:30:00\tCar\t5\t2\tX\t300\t1000\tb.k1r", 1, "ends inside"},
  };
  for (const Case& c : cases) {
    const DecodedRecords out = DecodeRecords(c.text);
    EXPECT_EQ(out.table.size(), c.kept) << c.text;
    if (c.problem.empty()) {
      EXPECT_TRUE(out.problems.empty()) << c.text;
    } else {
      ASSERT_FALSE(out.problems.empty()) << c.text;
      EXPECT_NE(out.problems.front().find(c.problem), std::string::npos) << out.problems.front();
    }
  }
  // A table longer than twenty keeps the best twenty, in order.
  std::string many = head;
  for (int i = 0; i < 25; ++i)
    many += "2026-12-11 06:30:00\tCar\t" + std::to_string(30 - i) + "\t1\tX\t0\t10\tr" + std::to_string(i) + ".k1r\n";
  const DecodedRecords out = DecodeRecords(many);
  ASSERT_EQ(out.table.size(), kRecordsKept);
  EXPECT_EQ(out.table.front().rank, 6);
  EXPECT_EQ(out.table.back().rank, 25);
  EXPECT_FALSE(out.problems.empty());
}

class RecordsKeeperTest : public ::testing::Test {
 protected:
  RecordsKeeper Keeper() {
    return RecordsKeeper(files, "/data", [this] { return "2026-12-11 06:30:" + std::to_string(10 + clock++); });
  }
  std::optional<size_t> Enter(RecordsKeeper& keeper, int rank) {
    return keeper.Enter(Race(rank, 1, 0), Bytes("race of rank " + std::to_string(rank)),
                        [this](const std::string& line) { notes.push_back(line); });
  }
  MemoryFileStore files;
  int clock = 0;
  std::vector<std::string> notes;
};

TEST_F(RecordsKeeperTest, TheTableKeepsTwentyAndARaceThatFallsOutTakesItsReplayWithIt) {
  RecordsKeeper keeper = Keeper();
  for (int rank = 30; rank >= 11; --rank) ASSERT_TRUE(Enter(keeper, rank));
  DecodedRecords table = keeper.Load();
  ASSERT_EQ(table.table.size(), 20u);
  const std::string worst = keeper.replay_path(table.table.back().replay);
  EXPECT_EQ(Text(*files.Read(worst)), "race of rank 30");

  // Not good enough: nothing is written.
  const auto before = files.files;
  EXPECT_EQ(Enter(keeper, 30), std::nullopt);
  EXPECT_EQ(files.files, before);

  // A better race pushes the worst out, and its replay goes with it.
  EXPECT_EQ(Enter(keeper, 1), 0u);
  table = keeper.Load();
  ASSERT_EQ(table.table.size(), 20u);
  EXPECT_EQ(table.table.front().rank, 1);
  EXPECT_EQ(table.table.back().rank, 29);
  EXPECT_FALSE(files.Exists(worst));
  EXPECT_EQ(Text(*files.Read(keeper.replay_path(table.table.front().replay))), "race of rank 1");
  size_t replays = 0;
  for (const auto& [path, bytes] : files.files) replays += path.rfind("/data/records/", 0) == 0;
  EXPECT_EQ(replays, 20u);
  EXPECT_TRUE(notes.empty());
}

TEST_F(RecordsKeeperTest, ADamagedTableIsCopiedBeforeItIsWrittenAndAnUnreadableOneIsLeftAlone) {
  RecordsKeeper keeper = Keeper();
  const std::string damaged =
      "kelto1 records 1\n2026-12-11 06:30:00\tCar\t5\t2\tX\t300\t1000\tgood.k1r\nnot a line\n";
  files.files["/data/records.txt"] = Bytes(damaged);
  EXPECT_EQ(Enter(keeper, 9), 1u);
  EXPECT_EQ(Text(files.files["/data/records.txt.bak"]), damaged);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("records.txt.bak"), std::string::npos) << notes[0];
  EXPECT_EQ(keeper.Load().table.size(), 2u);

  files.unreadable.insert("/data/records.txt");
  const auto before = files.files;
  EXPECT_EQ(Enter(keeper, 1), std::nullopt);
  EXPECT_EQ(files.files, before);
  EXPECT_NE(notes.back().find("left as it is"), std::string::npos) << notes.back();
}

TEST_F(RecordsKeeperTest, ATableThatCannotBeSavedLeavesNoStrayReplay) {
  RecordsKeeper keeper = Keeper();
  files.read_only_folders.insert("/data");
  EXPECT_EQ(Enter(keeper, 3), std::nullopt);
  for (const auto& [path, bytes] : files.files) ADD_FAILURE() << "left behind: " << path;
  ASSERT_EQ(notes.size(), 1u);
}

// A whole race on the headless machine: wrecked flat out on the motorbike, it is entered
// with its replay; a race left with Escape is not.
TEST(RecordsOfRaces, ADecidedRaceIsEnteredWithItsReplayAndAnAbandonedOneIsNot) {
  for (bool escape : {false, true}) {
    SimSession s;
    s.StartProgram();
    RecordsKeeper keeper(s.platform().files, "/data", [] { return std::string("2026-12-11 06:30:00"); });
    s.game().recorder.set_records(&keeper);
    s.game().window[Element::CarSel].text = "MotorBike";
    s.keys_for_frame = [&](long frame, HeadlessPlatform& p) {
      p.ReleaseAll();
      p.Hold(vk::kMenu);
      if (escape && frame == 300) p.Hold(vk::kEscape);
    };
    const long frames = s.RunRace(0);
    const DecodedRecords table = keeper.Load();
    if (escape) {
      EXPECT_TRUE(table.table.empty());
      continue;
    }
    ASSERT_EQ(table.table.size(), 1u);
    const RaceRecord& r = table.table[0];
    EXPECT_EQ(r.vehicle, "MotorBike");
    EXPECT_EQ(r.frames, static_cast<uint32_t>(frames));
    EXPECT_EQ(std::to_string(r.rank), s.game().window[Element::Rank].text);
    EXPECT_EQ(r.place, s.game().window[Element::CityDisp].text);
    EXPECT_GT(r.distance, 0);
    const auto replay = s.platform().files.Read(keeper.replay_path(r.replay));
    ASSERT_TRUE(replay);
    EXPECT_EQ(*replay, s.game().recorder.last_file());
  }
}

}  // namespace
}  // namespace kelto1
