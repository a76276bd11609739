// The road scroller: laying rows, scenery, places, signals, the wrap and the lanes.
#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "course_fixture.h"
#include "case_names.h"

namespace kelto1::testing {
namespace {

// The first generator state from which the next draws satisfy want.
uint32_t FindState(const std::function<bool(Random&)>& want) {
  for (uint32_t s = 1; s < (1u << 24); ++s) {
    Random r;
    r.set_state(s);
    if (want(r)) return s;
  }
  ADD_FAILURE() << "no generator state gives these draws";
  return 0;
}

void Skip(Random& r, int draws) {
  for (int i = 0; i < draws; ++i) r.Next();
}

class RoadScrollerTest : public CourseTest {
 protected:
  RoadScrollerTest() { StartOnFirstScreen(); }

  // Puts the scroller at entry pos, with plain wide road (pattern 1) all around so that
  // no lane event, crossing or building lies within reach of either watch.
  void PlaceAt(int pos, int row_half) {
    for (int n = std::max(pos - 20, 0); n <= pos + 40; ++n) game.course.CourseSeq[n] = 1;
    game.course.CoursePos = pos;
    game.course.RowHalf = row_half;
  }

  // A long decoration keeps both scenery starters from drawing more than their chance,
  // so a row then costs exactly 18 draws (2 chances and one bush chance per column).
  void HoldScenery() {
    game.course.SceneryMode = 5;
    game.course.SceneryTimer = 1000;
  }

  std::vector<int> RowTiles(int y) const {
    std::vector<int> tiles;
    for (int col = 0; col < 16; ++col) tiles.push_back(TileAt(col, y));
    return tiles;
  }

  void ScrollTimes(int n) {
    for (int i = 0; i < n; ++i) game.ScrollCourse();
  }
};

// ---- Laying rows --------------------------------------------------------------------

TEST_F(RoadScrollerTest, APatternIsLaidLowerRowFirstThenTheCourseAdvances) {
  PlaceAt(100, 0);
  game.course.CourseSeq[100] = 14;  // kerbed blocks end below, plain pavement above
  const Picture before = game.Master;
  const auto grid_before = game.course.TileGrid;

  game.ScrollCourse();
  EXPECT_EQ(game.course.CoursePos, 100);
  EXPECT_EQ(game.course.RowHalf, 1);
  // Columns no scenery ever replaces: 1 (pavement edge), 13 (reserve edge), 14 (road).
  EXPECT_EQ(TileAt(1, 0), 23);
  EXPECT_EQ(TileAt(13, 0), 63);
  EXPECT_EQ(TileAt(14, 0), 40);
  const std::array<int, 16> lower_codes = {2, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 2, 7, 0, 0};
  for (int col = 0; col < 16; ++col) EXPECT_EQ(game.course.TileGrid[col][0], lower_codes[col]) << "col " << col;
  // Everything else moved down one tile row.
  for (int y = 0; y < 608; y += 3) {
    for (int x = 0; x < 512; x += 5) ASSERT_EQ(game.Master.At(x, y + 32), before.At(x, y)) << x << "," << y;
  }
  for (int k = 1; k <= 36; ++k) {
    for (int col = 0; col <= 16; ++col) ASSERT_EQ(game.course.TileGrid[col][k], grid_before[col][k - 1]);
  }

  game.ScrollCourse();
  EXPECT_EQ(game.course.CoursePos, 101);
  EXPECT_EQ(game.course.RowHalf, 0);
  EXPECT_EQ(TileAt(1, 0), 15);
  EXPECT_EQ(TileAt(13, 0), 55);
  EXPECT_EQ(TileAt(14, 0), 1);
  EXPECT_EQ(TileAt(1, 32), 23);
  const std::array<int, 16> upper_codes = {10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 10, 1, 0, 0};
  for (int col = 0; col < 16; ++col) EXPECT_EQ(game.course.TileGrid[col][0], upper_codes[col]) << "col " << col;
  for (int k = 0; k <= 36; ++k) EXPECT_EQ(game.course.TileGrid[16][k], 0);
}

TEST_F(RoadScrollerTest, EveryRowDrawsBothSceneryChancesAndOneBushChancePerColumn) {
  PlaceAt(100, 0);
  HoldScenery();
  Random expected = game.random;
  Skip(expected, 18);
  game.ScrollCourse();
  EXPECT_EQ(game.random.state(), expected.state());
}

// ---- Scenery --------------------------------------------------------------------------

struct BuildingCase {
  int mode;
  std::array<int, 3> first_tiles;  // column 0 of its three rows, in laying order
};
void PrintTo(const BuildingCase& c, std::ostream* os) { *os << "mode " << c.mode; }

class BuildingTest : public RoadScrollerTest, public ::testing::WithParamInterface<BuildingCase> {};

TEST_P(BuildingTest, ABuildingCoversColumns0To2OfExactlyThreeRowsFrontFirst) {
  const BuildingCase& b = GetParam();
  PlaceAt(300, 0);
  for (int n = 300; n <= 302; ++n) game.course.CourseSeq[n] = 41;  // middle road: pavement at 0..4
  // As a building is when its starter has just fired.
  game.course.SceneryMode = b.mode;
  game.course.SceneryTimer = 3;
  for (int row = 0; row < 3; ++row) {
    game.ScrollCourse();
    for (int col = 0; col < 3; ++col) EXPECT_EQ(TileAt(col, 0), b.first_tiles[row] + col) << "row " << row;
    EXPECT_EQ(TileAt(3, 0), 14) << "row " << row;
    for (int col = 0; col < 3; ++col) EXPECT_EQ(game.course.TileGrid[col][0], 10) << "row " << row;
  }
  game.ScrollCourse();
  EXPECT_EQ(game.course.SceneryMode, 0);
  for (int col = 0; col < 4; ++col) EXPECT_EQ(TileAt(col, 0), 14);
  EXPECT_EQ(TileAt(0, 32), b.first_tiles[2]);
  EXPECT_EQ(TileAt(0, 96), b.first_tiles[0]);
}

INSTANTIATE_TEST_SUITE_P(BothBuildings, BuildingTest,
                         ::testing::Values(BuildingCase{1, {96, 88, 80}}, BuildingCase{2, {120, 112, 104}}),
                         CaseName());

TEST_F(RoadScrollerTest, ABuildingStartsOnlyWhereThePavementIsWide) {
  // The decoration chance misses, the building chance hits, the type draw picks A.
  const uint32_t s = FindState([](Random& r) {
    const double deco = r.Next(), build = r.Next(), type = r.Next();
    return Int(deco * 30) != 0 && Int(build * 10) == 0 && type < 0.5;
  });
  PlaceAt(300, 0);
  game.course.CourseSeq[300] = 41;  // tile 14 at column 2
  game.random.set_state(s);
  game.ScrollCourse();
  EXPECT_EQ(game.course.SceneryMode, 1);
  EXPECT_EQ(game.course.SceneryTimer, 2);
  EXPECT_EQ(TileAt(0, 0), 96);

  game.course.SceneryMode = 0;
  game.course.SceneryTimer = 0;
  PlaceAt(300, 0);
  game.course.CourseSeq[300] = 0;  // the wide road: a lane at column 2
  game.random.set_state(s);
  Random expected = game.random;
  Skip(expected, 18);
  game.ScrollCourse();
  EXPECT_EQ(game.course.SceneryMode, 0);
  EXPECT_EQ(game.random.state(), expected.state()) << "no type draw without a building";
}

TEST_F(RoadScrollerTest, ADecorationCoversThePavementWithItsTwoByTwoBlock) {
  // The decoration chance hits; the mode draw is high enough to pass mode 12.
  const uint32_t s = FindState([](Random& r) {
    const double deco = r.Next(), mode = r.Next();
    return Int(deco * 30) == 0 && mode > 0.95;
  });
  PlaceAt(300, 0);
  for (int n = 300; n <= 301; ++n) game.course.CourseSeq[n] = 41;  // pavement at columns 0..3
  game.course.PlaceIndex = 38;
  game.random.set_state(s);
  Random replay = game.random;
  Skip(replay, 2);
  const int rows = static_cast<int>(Int(replay.Next() * 150 + 3));

  game.ScrollCourse();
  EXPECT_EQ(game.course.SceneryMode, 12) << "the mode stops at 12 (trees, block 85)";
  EXPECT_EQ(game.course.SceneryTimer, rows - 1);
  EXPECT_EQ(game.course.SceneryPhase, 1);
  // Its first row shows the block's lower sheet row, left and right cells by column.
  EXPECT_EQ(RowTiles(0), (std::vector<int>{93, 94, 93, 94, 15, 1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1}));
  game.ScrollCourse();
  EXPECT_EQ(RowTiles(0), (std::vector<int>{85, 86, 85, 86, 15, 1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1}));
  for (int col = 0; col < 4; ++col) EXPECT_EQ(game.course.TileGrid[col][0], 10);
}

TEST_F(RoadScrollerTest, EarlyPlacesDecorateOnlyWithGreyBoards) {
  const uint32_t s = FindState([](Random& r) {
    const double deco = r.Next(), mode = r.Next();
    return Int(deco * 30) == 0 && mode > 0.99;
  });
  for (int place : {1, 2, 3}) {
    PlaceAt(300, 0);
    game.course.SceneryMode = 0;
    game.course.PlaceIndex = place;
    game.random.set_state(s);
    game.ScrollCourse();
    EXPECT_EQ(game.course.SceneryMode, 3) << "place " << place;
  }
}

TEST_F(RoadScrollerTest, ADecorationLastsAsManyRowsAsItsTimerSays) {
  PlaceAt(300, 0);
  game.course.SceneryMode = 5;  // water, block 64
  game.course.SceneryTimer = 3;
  game.course.SceneryPhase = 0;
  for (int row = 0; row < 3; ++row) {
    game.ScrollCourse();
    EXPECT_EQ(TileAt(0, 0), row % 2 == 0 ? 72 : 64) << "row " << row;
  }
  game.ScrollCourse();
  EXPECT_EQ(game.course.SceneryMode, 0);
  EXPECT_EQ(TileAt(0, 0), 14);
}

// Column 0 of one of the three rows of building A (80, 88, 96) or B (104, 112, 120).
bool IsBuildingTile(int column0) {
  for (int first : {80, 88, 96, 104, 112, 120}) {
    if (column0 == first) return true;
  }
  return false;
}

// Drives the real course from the race start and checks every laid cell: the grid holds
// the attribute of the pattern's own tile whatever is painted over it.
TEST_F(RoadScrollerTest, TheGridKeepsThePatternsAttributeUnderBushesDecorationsAndBuildings) {
  int bushes = 0, decorations = 0, buildings = 0;
  for (int call = 0; call < 1400; ++call) {
    std::array<int, 16> pattern_tiles{};
    for (int col = 0; col < 16; ++col) pattern_tiles[col] = NextPatternTile(col);
    game.ScrollCourse();
    for (int col = 0; col < 16; ++col) {
      const int f = pattern_tiles[col];
      const int drawn = TileAt(col, 0);
      ASSERT_EQ(game.course.TileGrid[col][0], game.course.TileAttr[f]) << "call " << call << " col " << col;
      if (drawn == f) continue;
      if (f == 54 && drawn == 44) {
        ++bushes;
      } else if (col < 3 && IsBuildingTile(drawn - col)) {
        ++buildings;
      } else {
        ASSERT_EQ(f, 14) << "call " << call << " col " << col << " drew " << drawn;
        ++decorations;
      }
    }
  }
  EXPECT_GT(bushes, 0);
  EXPECT_GT(decorations, 0);
  EXPECT_GT(buildings, 0);
}

// ---- Places and section parameters ------------------------------------------------------

TEST_F(RoadScrollerTest, TheFirstPlaceChangeComesAtEntry211WithTimeBonusAndNewTraffic) {
  const int mtime_repaints = platform.repaints[Element::Mtime];
  const int city_repaints = platform.repaints[Element::CityDisp];
  while (game.course.PlaceIndex == 1) {
    ASSERT_LT(game.course.CoursePos, 211);
    game.ScrollCourse();
  }
  const CourseState& c = game.course;
  EXPECT_EQ(c.CoursePos, 211);
  EXPECT_EQ(c.RowHalf, 0);
  EXPECT_EQ(c.PlaceIndex, 2);
  EXPECT_EQ(c.PlaceSteps, 0);
  EXPECT_EQ(game.window[Element::CityDisp].text, "中野坂上");
  EXPECT_EQ(game.window.Painted(Element::CityDisp).text, "中野坂上");
  EXPECT_EQ(platform.repaints[Element::CityDisp], city_repaints + 1);
  EXPECT_EQ(game.window[Element::Mtime].text, "280");
  EXPECT_EQ(platform.repaints[Element::Mtime], mtime_repaints) << "the clock's next tick shows the bonus";

  EXPECT_GE(c.Kind1Limit, 5);
  EXPECT_LE(c.Kind1Limit, 28);
  for (int odds : {c.Kind1Odds.get(), c.Kind2Odds.get()}) {
    EXPECT_GE(odds, 20);
    EXPECT_LE(odds, 150);
  }
  EXPECT_EQ(c.RoadWidth, 1);
  EXPECT_GE(c.Kind3Odds, 120) << "the narrow-road extra, though the road is still wide";
  EXPECT_LE(c.Kind3Odds, 250);
  EXPECT_GE(c.SignalOdds, 20);
  EXPECT_LE(c.SignalOdds, 100);
  EXPECT_GE(c.PickupOdds, 1);
  EXPECT_LE(c.PickupOdds, 20);
  EXPECT_EQ(c.TrafficKinds, 12);

  // The next change comes 200 entries later, still before the road width first changes.
  int first_width_change = -1;
  while (game.course.CoursePos < 600) {
    game.ScrollCourse();
    if (first_width_change < 0 && c.RoadWidth != 1) first_width_change = c.CoursePos;
    if (c.CoursePos == 411 && c.RowHalf == 0) {
      EXPECT_EQ(c.PlaceIndex, 3);
      EXPECT_EQ(game.window[Element::CityDisp].text, "鍋屋横丁");
      EXPECT_EQ(game.window[Element::Mtime].text, "360");
      EXPECT_GE(c.Kind3Odds, 120);
    }
  }
  EXPECT_EQ(first_width_change, 553);
}

// Sets up a call that completes entry 300 as the 200th entry of the place.
class PlaceChangeTest : public RoadScrollerTest {
 protected:
  void PrepareChange(int place, int road_width, uint32_t random_state) {
    PlaceAt(300, 1);
    HoldScenery();
    game.course.PlaceIndex = place;
    game.course.PlaceSteps = 199;
    game.course.RoadWidth = road_width;
    game.random.set_state(random_state);
  }
};

TEST_F(PlaceChangeTest, SectionParametersAreDrawnInTurnFromTheNewPlaceNumber) {
  PrepareChange(29, 3, 0x123456);
  Random r = game.random;
  Skip(r, 18);
  const int p = 30;
  const long long limit = Int((p + 10) * r.Next()) + 5;
  const long long k1 = 150 - 5 * Int((p + 20) * r.Next());
  const long long k2 = 150 - 5 * Int((p + 20) * r.Next());
  const long long k3 = 150 - 5 * Int((p + 10) * r.Next());
  const long long sig = 100 - 5 * Int((p + 10) * r.Next());
  const long long pick = Int(r.Next() * 20) + 1;

  game.ScrollCourse();
  const CourseState& c = game.course;
  EXPECT_EQ(c.PlaceIndex, 30);
  EXPECT_EQ(c.Kind1Limit, std::min(limit, 28LL));
  EXPECT_EQ(c.Kind1Odds, std::max(k1, 20LL));
  EXPECT_EQ(c.Kind2Odds, std::max(k2, 20LL));
  EXPECT_EQ(c.Kind3Odds, std::max(k3, 20LL));
  EXPECT_EQ(c.SignalOdds, std::max(sig, 20LL));
  EXPECT_EQ(c.PickupOdds, pick);
  EXPECT_EQ(game.random.state(), r.state()) << "no further draws";
}

// States whose six section draws (after the row's 18) are small, so no value meets its
// clamp and every multiplier shows. The draws and the values were worked out by hand.
TEST_F(PlaceChangeTest, SectionParametersFromSmallDraws) {
  const struct {
    const char* what;
    int old_place, road_width;
    uint32_t state;
    int limit, kind1, kind2, kind3, signal, pickup;
  } cases[] = {
      // draws .2657 .1707 .2140 .2469 .3475 .3855 at place 30
      {"place 30", 29, 3, 0x964EBE, 15, 110, 100, 105, 35, 8},
      // draws .3803 .3104 .3447 .2054 .4200 .3233 at place 12, narrow road
      {"place 12, narrow", 11, 1, 0xD9D7EE, 13, 105, 95, 230, 55, 7},
      // draws .4180 .1586 .3537 .2058 .2746 .3802 at place 1, after the last place
      {"place 1", 38, 3, 0x3ACB9, 9, 135, 115, 140, 85, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PrepareChange(c.old_place, c.road_width, c.state);
    game.ScrollCourse();
    const CourseState& k = game.course;
    EXPECT_EQ(k.Kind1Limit, c.limit);
    EXPECT_EQ(k.Kind1Odds, c.kind1);
    EXPECT_EQ(k.Kind2Odds, c.kind2);
    EXPECT_EQ(k.Kind3Odds, c.kind3);
    EXPECT_EQ(k.SignalOdds, c.signal);
    EXPECT_EQ(k.PickupOdds, c.pickup);
  }
}

TEST_F(PlaceChangeTest, TheNarrowRoadAddsExactly100ToKind3Odds) {
  for (uint32_t state = 1; state < 4000000; state += 97331) {
    PrepareChange(37, 3, state);
    game.ScrollCourse();
    const int wide = game.course.Kind3Odds;
    const int signal = game.course.SignalOdds;
    PrepareChange(37, 1, state);
    game.ScrollCourse();
    EXPECT_EQ(game.course.Kind3Odds, wide + 100) << "state " << state;
    EXPECT_EQ(game.course.SignalOdds, signal) << "state " << state;
    EXPECT_GE(wide, 20);
    EXPECT_LE(wide, 150);
  }
}

TEST_F(PlaceChangeTest, AfterTheLastPlaceTheRouteStartsOver) {
  PrepareChange(38, 3, 77);
  game.ScrollCourse();
  EXPECT_EQ(game.course.PlaceIndex, 1);
  EXPECT_EQ(game.window[Element::CityDisp].text, "新宿");
}

TEST_F(PlaceChangeTest, TheTimeBonusAddsToWhateverTheReadoutShows) {
  const std::array<std::pair<const char*, const char*>, 3> cases = {{{"0", "80"}, {"17", "97"}, {"abc", "80"}}};
  for (auto [shown, after] : cases) {
    PrepareChange(5, 3, 77);
    game.window[Element::Mtime].text = shown;
    game.ScrollCourse();
    EXPECT_EQ(game.window[Element::Mtime].text, after) << "shown " << shown;
  }
}

// ---- Signals -------------------------------------------------------------------------------

struct CrossingCase {
  int pattern;
  int cross_lanes;
};
void PrintTo(const CrossingCase& c, std::ostream* os) {
  *os << "pattern " << c.pattern << " cross_lanes " << c.cross_lanes;
}

class SignalCreationTest : public RoadScrollerTest, public ::testing::WithParamInterface<CrossingCase> {};

TEST_P(SignalCreationTest, ACrossing31EntriesAheadGetsOneSignalWhenTheEntryCompletes) {
  PlaceAt(200, 1);
  game.course.CourseSeq[201 + 31] = GetParam().pattern;
  game.ScrollCourse();
  const Signal& s = game.traffic.Signals[0];
  EXPECT_EQ(s.Active, 1);
  EXPECT_EQ(s.Y, -2048);
  EXPECT_EQ(s.CrossLanes, GetParam().cross_lanes);
  EXPECT_GE(s.Phase, 1);
  EXPECT_LE(s.Phase, 3);
  EXPECT_GE(s.Count, 0);
  EXPECT_LT(s.Count, s.Phase == 3 ? 100 : 1000);
  // The next row still sees the crossing ahead, but only completed entries create signals.
  game.ScrollCourse();
  EXPECT_EQ(game.traffic.Signals[1].Active, 0);
}

INSTANTIATE_TEST_SUITE_P(AllCrossings, SignalCreationTest,
                         ::testing::Values(CrossingCase{59, 3}, CrossingCase{18, 3}, CrossingCase{86, 3},
                                           CrossingCase{21, 2}, CrossingCase{60, 2}, CrossingCase{89, 2}),
                         CaseName());

TEST_F(RoadScrollerTest, ASignalDrawsItsPhaseThenItsCountAndAShorterCountWhenYellow) {
  for (bool yellow : {false, true}) {
    const uint32_t s = FindState([&](Random& r) {
      Skip(r, 18);
      return (Int(r.Next() * 3) + 1 == 3) == yellow;
    });
    PlaceAt(200, 1);
    HoldScenery();
    game.course.CourseSeq[232] = 18;
    game.traffic.Signals[0].Active = 0;
    game.random.set_state(s);
    Random r = game.random;
    Skip(r, 18);
    const long long phase = Int(r.Next() * 3) + 1;
    long long count = Int(r.Next() * 1000);
    if (phase == 3) count = Int(r.Next() * 100);

    game.ScrollCourse();
    EXPECT_EQ(game.traffic.Signals[0].Phase, phase);
    EXPECT_EQ(game.traffic.Signals[0].Count, count);
    EXPECT_EQ(game.random.state(), r.state()) << (yellow ? "yellow" : "red or green");
  }
}

TEST_F(RoadScrollerTest, ASignalTakesTheFirstFreeRecordAndNoneWhenAllThreeAreBusy) {
  auto& signals = game.traffic.Signals;
  PlaceAt(200, 1);
  game.course.CourseSeq[232] = 21;
  signals[0] = Signal{1, 100, 3, 2, 40};
  game.ScrollCourse();
  EXPECT_EQ(signals[0].Y, 100);
  EXPECT_EQ(signals[1].Active, 1);
  EXPECT_EQ(signals[1].Y, -2048);
  EXPECT_EQ(signals[2].Active, 0);

  // All busy: nothing changes and no number is drawn for a signal.
  for (auto& s : signals) s = Signal{1, 100, 3, 2, 40};
  PlaceAt(200, 1);
  HoldScenery();
  game.course.CourseSeq[232] = 21;
  Random expected = game.random;
  Skip(expected, 18);
  game.ScrollCourse();
  EXPECT_EQ(game.random.state(), expected.state());
  for (const auto& s : signals) {
    EXPECT_EQ(s.Y, 100);
    EXPECT_EQ(s.CrossLanes, 3);
    EXPECT_EQ(s.Count, 40);
  }
}

TEST_F(RoadScrollerTest, ASignalBelowTheViewIsRetiredAndItsRecordCanBeReusedAtOnce) {
  auto& signals = game.traffic.Signals;
  for (auto& s : signals) s = Signal{1, 600, 3, 2, 40};
  signals[1].Y = 601;
  PlaceAt(200, 1);
  game.course.CourseSeq[232] = 60;
  game.ScrollCourse();
  EXPECT_EQ(signals[0].Active, 1);
  EXPECT_EQ(signals[0].Y, 600) << "the scroller does not move signals";
  EXPECT_EQ(signals[1].Active, 1);
  EXPECT_EQ(signals[1].Y, -2048);
  EXPECT_EQ(signals[1].CrossLanes, 2);
  EXPECT_EQ(signals[2].Y, 600);
}

// ---- The wrap ----------------------------------------------------------------------------------

TEST_F(RoadScrollerTest, AtTheCourseEndTheCourseStartsOverAndTheRivalsAreRebased) {
  const int length = game.course.CourseLength;
  game.course.CoursePos = length - 1;
  game.course.RowHalf = 1;
  game.course.PlaceSteps = 57;
  game.course.Lanes[4].X = 420;
  for (int a = 1; a <= 29; ++a) game.traffic.Rivals[a - 1].Pos = 7000 + 20 * a;
  game.traffic.Rivals[29].Pos = 5;  // the record past rival 29 is no rival

  game.ScrollCourse();
  EXPECT_EQ(game.course.CoursePos, 0);
  EXPECT_EQ(game.course.PlaceSteps, 58);
  EXPECT_EQ(game.course.Lanes[4].X, 490);
  for (int a = 1; a <= 29; ++a) EXPECT_EQ(game.traffic.Rivals[a - 1].Pos, 7000 + 20 * a - length) << "rival " << a;
  EXPECT_EQ(game.traffic.Rivals[29].Pos, 5);

  // Entry 0, skipped by the first screen, comes next: pattern 0 has lanes at 5 and 8.
  ScrollTimes(2);
  EXPECT_EQ(game.course.CoursePos, 1);
  EXPECT_EQ(TileAt(5, 0), 2);
  EXPECT_EQ(TileAt(5, 32), 2);
}

// ---- Lanes ---------------------------------------------------------------------------------------

TEST_F(RoadScrollerTest, AClosingLanesTopMarkerMovesFromTheCallAfterTheAnnouncement) {
  for (int lane : {1, 2}) {
    PlaceAt(200, 1);
    game.course.RoadWidth = 3;
    game.course.CourseSeq[232] = lane == 1 ? 35 : 79;
    Lane& l = game.course.Lanes[lane];

    game.ScrollCourse();  // completes entry 200; 232 is now 31 ahead
    EXPECT_EQ(l.TopMoving, 1) << "lane " << lane;
    EXPECT_EQ(l.Top, -1984) << "lane " << lane;
    EXPECT_EQ(game.course.RoadWidth, lane == 1 ? 2 : 3) << "lane " << lane;
    game.ScrollCourse();
    EXPECT_EQ(l.Top, -1952) << "lane " << lane;
    game.ScrollCourse();
    EXPECT_EQ(l.Top, -1920) << "lane " << lane;
    EXPECT_EQ(l.Bottom, 1568) << "lane " << lane;
    EXPECT_EQ(l.BottomMoving, 0) << "lane " << lane;
  }
}

TEST_F(RoadScrollerTest, AReopeningLanesBottomMarkerMovesOnlyAfterBothCallsOfTheEntry) {
  for (int lane : {1, 2}) {
    PlaceAt(200, 1);
    game.course.RoadWidth = 2;
    game.course.Lanes[4].X = 300;
    game.course.CourseSeq[232] = lane == 1 ? 37 : 74;
    Lane& l = game.course.Lanes[lane];
    l.Top = 480;  // the closing marker, half-way down
    l.TopMoving = 1;

    game.ScrollCourse();
    EXPECT_EQ(l.TopMoving, 0) << "lane " << lane;
    EXPECT_EQ(l.BottomMoving, 1) << "lane " << lane;
    EXPECT_EQ(l.Top, -1984) << "lane " << lane;
    EXPECT_EQ(l.Bottom, -1984) << "lane " << lane;
    EXPECT_EQ(game.course.Lanes[4].X, lane == 1 ? 490 : 419) << "lane " << lane;
    EXPECT_EQ(game.course.RoadWidth, lane == 1 ? 3 : 2) << "lane " << lane;
    game.ScrollCourse();
    EXPECT_EQ(l.Bottom, -1984) << "lane " << lane;
    game.ScrollCourse();
    EXPECT_EQ(l.Bottom, -1952) << "lane " << lane;
    EXPECT_EQ(l.Top, -1984) << "lane " << lane;
  }
}

TEST_F(RoadScrollerTest, MarkersStopAt1568AndOnlyLanes1And2Move) {
  PlaceAt(200, 0);
  auto& lanes = game.course.Lanes;
  lanes[1].Top = 1550;
  lanes[1].TopMoving = 1;
  lanes[2].Bottom = 1536;
  lanes[2].BottomMoving = 1;
  lanes[3].Top = 0;
  lanes[3].TopMoving = 1;
  game.ScrollCourse();
  EXPECT_EQ(lanes[1].Top, 1568);
  EXPECT_EQ(lanes[2].Bottom, 1568);
  EXPECT_EQ(lanes[3].Top, 0);
  game.ScrollCourse();
  EXPECT_EQ(lanes[1].Top, 1568);
  EXPECT_EQ(lanes[2].Bottom, 1568);
}

struct BehindCase {
  int pattern;
  int lane4_x;
  int road_width;
};
void PrintTo(const BehindCase& c, std::ostream* os) {
  *os << "pattern " << c.pattern << " lane4_x " << c.lane4_x << " road_width " << c.road_width;
}

class WatchBehindTest : public RoadScrollerTest, public ::testing::WithParamInterface<BehindCase> {};

TEST_P(WatchBehindTest, The15thEntryBehindSetsTheOncomingLaneAndTheRoadWidth) {
  PlaceAt(200, 0);
  game.course.CourseSeq[185] = GetParam().pattern;
  game.course.Lanes[4].X = 300;
  game.course.RoadWidth = 3;
  game.ScrollCourse();
  EXPECT_EQ(game.course.Lanes[4].X, GetParam().lane4_x);
  EXPECT_EQ(game.course.RoadWidth, GetParam().road_width);
}

INSTANTIATE_TEST_SUITE_P(LaneEvents, WatchBehindTest,
                         ::testing::Values(BehindCase{35, 420, 3}, BehindCase{74, 420, 2}, BehindCase{79, 419, 1},
                                           BehindCase{37, 490, 3}, BehindCase{1, 300, 3}),
                         CaseName());

TEST_F(RoadScrollerTest, NearTheCourseStartTheOncomingLaneIsAlwaysAt490) {
  PlaceAt(15, 0);
  game.course.Lanes[4].X = 420;
  game.ScrollCourse();
  EXPECT_EQ(game.course.Lanes[4].X, 490);
  PlaceAt(16, 0);
  game.course.Lanes[4].X = 420;
  game.ScrollCourse();
  EXPECT_EQ(game.course.Lanes[4].X, 420);
}

}  // namespace
}  // namespace kelto1::testing
