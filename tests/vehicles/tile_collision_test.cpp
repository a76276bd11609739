// Vehicles against the road tiles: which corner speaks, and what each code does.
#include <cctype>
#include <string>

#include "vehicle_test_support.h"

namespace kelto1 {
namespace {

// The two-seater at X 190, Y 420 (44 x 84) covers columns 6..7 and rows 14..17:
// left (10 + 190 - 16) / 32 = 5.75, right 228 / 32 = 7.125, top 452 / 32 = 14.125,
// bottom 536 / 32 = 16.75.
constexpr int kLeft = 6, kRight = 7, kTop = 14, kBottom = 17;

class TileTest : public VehicleTest {
 protected:
  void SetCorners(Kelto1& g, int tl, int tr, int bl, int br) {
    auto& grid = g.course.TileGrid;
    grid[kLeft][kTop] = tl;
    grid[kRight][kTop] = tr;
    grid[kLeft][kBottom] = bl;
    grid[kRight][kBottom] = br;
  }
  void Check(int code) {
    SetCorners(game, code, code, code, code);
    game.vehicles.PrevPlayerX = 185;
    game.CheckPlayerTiles();
  }
};

TEST_F(TileTest, AnEmptyFootprintChangesNothing) {
  auto& grid = game.course.TileGrid;
  // Codes on every tile around the footprint, none on its four corners.
  for (int c = kLeft - 1; c <= kRight + 1; ++c)
    for (int r = kTop - 1; r <= kBottom + 1; ++r) grid[c][r] = 2;
  SetCorners(game, 0, 0, 0, 0);
  player().Speed = 100;
  game.CheckPlayerTiles();
  EXPECT_EQ(player().Speed, 100);
  EXPECT_EQ(player().HitPoints, 700);
  for (const DebrisEntry& e : game.traffic.Debris) EXPECT_EQ(e.Active, 0);
}

TEST_F(TileTest, TopRightThenBottomRightThenTopLeftThenBottomLeft) {
  struct Case {
    int tl, tr, bl, br, chosen;
  };
  const Case cases[] = {
      {5, 1, 0, 0, 1},  // the right-hand corner bounces the car right
      {5, 0, 6, 2, 2},  {5, 0, 6, 0, 5}, {0, 0, 6, 0, 6}, {5, 7, 6, 2, 7},
      {2, 4, 0, 0, 4},  // a front-right 4 silences everything else
      {0, 0, 3, 10, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.tl) + " " + std::to_string(c.tr) + " " + std::to_string(c.bl) + " " +
                 std::to_string(c.br));
    // The twin meets the chosen code on all four corners.
    HeadlessPlatform twin_platform;
    Kelto1 twin{twin_platform};
    for (Kelto1* g : {&game, &twin}) {
      PlaceTwoSeater(g->vehicles.Vehicles[0]);
      g->vehicles.Vehicles[0].Speed = 100;
      g->vehicles.Vehicles[0].SteerVel = 4;
      g->vehicles.PrevPlayerX = 180;
      g->traffic.Debris[0].Active = 0;
    }
    SetCorners(game, c.tl, c.tr, c.bl, c.br);
    SetCorners(twin, c.chosen, c.chosen, c.chosen, c.chosen);
    game.CheckPlayerTiles();
    twin.CheckPlayerTiles();
    const Vehicle& a = game.vehicles.Vehicles[0];
    const Vehicle& b = twin.vehicles.Vehicles[0];
    EXPECT_EQ(a.X, b.X);
    EXPECT_EQ(a.Speed, b.Speed);
    EXPECT_EQ(a.SteerVel, b.SteerVel);
    EXPECT_EQ(a.HitPoints, b.HitPoints);
  }
}

struct CodeCase {
  const char* name;
  int code, speed, steer, cooldown;
  int want_x, want_speed, want_steer, want_hit_points;
};
void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

// The player starts at X 190 with 700 hit points; a side wall restores X 185.
const CodeCase kCodeCases[] = {
    {"left wall, steering -10", 1, 100, -10, 0, 185, 99, 8, 700},
    {"left wall, steering 40", 1, 100, 40, 0, 185, 99, 29, 699},  // 29^2 / 500 = 1.68
    {"left wall during cooldown", 1, 100, 40, 3, 185, 99, 29, 699},
    {"right wall, steering 40", 5, 100, 40, 0, 185, 99, -29, 699},
    {"right wall, steering -10", 5, 100, -10, 0, 185, 99, -8, 700},
    {"left wall, steering 15", 1, 100, 15, 0, 185, 99, 11, 700},     // 11.5 rounds down
    {"right wall, steering -17", 5, 100, -17, 0, 185, 99, -12, 700},  // 12.9 rounds down
    {"head-on at 150", 2, 150, 0, 0, 190, 100, 0, 588},  // 22500 / 200 = 112.5
    {"head-on at 150 during cooldown", 2, 150, 0, 1, 190, 100, 0, 700},
    {"head-on at 30", 2, 30, 0, 0, 190, -20, 0, 696},
    {"glancing left", 6, 100, 5, 0, 190, 80, -6, 650},
    {"glancing left during cooldown", 6, 100, -5, 2, 190, 80, -6, 700},
    {"glancing right", 7, 100, -5, 0, 190, 80, 6, 650},
    {"swerve at 41", 3, 41, 0, 0, 191, 36, 38, 680},  // 679.5 goes to the even 680
    {"swerve at 43", 3, 43, 0, 0, 191, 38, 40, 678},  // 678.5 goes to 678
    {"swerve during cooldown", 3, 41, -7, 5, 191, 36, 38, 700},
    {"debris only", 4, 100, 3, 0, 190, 100, 3, 700},
    {"kerb interior", 10, 100, 3, 0, 190, 100, 3, 700},
};

class TileCodeTest : public TileTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(TileCodeTest, AppliesItsArithmetic) {
  const CodeCase& c = GetParam();
  player().Speed = c.speed;
  player().SteerVel = c.steer;
  player().HitCooldown = c.cooldown;
  player().Throttle = 4;
  Check(c.code);
  EXPECT_EQ(player().X, c.want_x);
  EXPECT_EQ(player().Speed, c.want_speed);
  EXPECT_EQ(player().SteerVel, c.want_steer);
  EXPECT_EQ(player().HitPoints, c.want_hit_points);
  EXPECT_EQ(player().HitCooldown, c.cooldown) << "only the damage reaction sets the cooldown";
  // The cloud starts from the car with its motion before the hit, and no length.
  const DebrisEntry& e = game.traffic.Debris[0];
  EXPECT_EQ(e.Active, 1);
  EXPECT_EQ(e.X, 190);
  EXPECT_EQ(e.Y, 420);
  EXPECT_EQ(e.VX, c.steer);
  EXPECT_EQ(e.VY, 4);
  EXPECT_EQ(e.Frames, 0);
  EXPECT_EQ(game.course.SlotFound, 1);
}

INSTANTIATE_TEST_SUITE_P(Codes, TileCodeTest, ::testing::ValuesIn(kCodeCases),
                         [](const ::testing::TestParamInfo<CodeCase>& info) {
                           std::string n;
                           for (const char* p = info.param.name; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) n += *p;
                           return n;
                         });

TEST_F(TileTest, AStopAgainstAnObstacleIsResetByTheDrivingStep) {
  player().Speed = 30;
  SetCorners(game, 2, 2, 2, 2);
  Frame();
  EXPECT_EQ(player().Speed, 0);
  EXPECT_EQ(player().Travel, 0);
}

TEST_F(TileTest, TheContactTakesTheFirstFreeDebrisEntryOrNone) {
  game.traffic.Debris[0].Active = 1;
  game.traffic.Debris[1].Active = 1;
  game.traffic.Debris[3].Frames = 4;
  Check(4);
  EXPECT_EQ(game.traffic.Debris[2].Active, 1);
  EXPECT_EQ(game.traffic.Debris[3].Active, 0);
  EXPECT_EQ(game.traffic.Debris[3].Frames, 4);

  for (int d = 0; d <= 9; ++d) game.traffic.Debris[d].Active = 1;
  player().Speed = 150;
  Check(2);
  EXPECT_EQ(player().Speed, 100) << "a full debris list does not stop the hit";
  EXPECT_EQ(game.course.SlotFound, 0);
  EXPECT_EQ(game.traffic.Debris[10].Active, 0);
}

TEST_F(TileTest, FootprintsOutsideTheGridReadItsBorder) {
  struct Case {
    int x, y, column, row;
  };
  const Case cases[] = {{190, -300, kLeft, 0}, {600, 420, 16, kTop}, {-200, 2000, 0, 36}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    for (auto& column : game.course.TileGrid) column.fill(0);
    game.course.TileGrid[c.column][c.row] = 2;
    player().X = c.x;
    player().Y = c.y;
    player().Speed = 60;
    game.CheckPlayerTiles();
    EXPECT_EQ(player().Speed, 10);
  }
}

TEST_F(TileTest, CornerCellsRoundHalvesToEven) {
  // With X 214 the left edge sits at (10 + 214 - 16) / 32 = 6.5, read as column 6;
  // with X 246 at 7.5, read as column 8. Column 7 is then no corner at all.
  struct Case {
    int x, coded_column;
    bool hit;
  };
  const Case cases[] = {{214, 6, true}, {214, 7, false}, {246, 8, true}, {246, 7, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + " column " + std::to_string(c.coded_column));
    for (auto& column : game.course.TileGrid) column.fill(0);
    game.course.TileGrid[c.coded_column][kTop] = 2;
    player().X = c.x;
    player().Speed = 60;
    game.CheckPlayerTiles();
    EXPECT_EQ(player().Speed, c.hit ? 10 : 60);
  }
}

TEST_F(TileTest, TrafficUsesItsOwnRecordAndRestorePosition) {
  Vehicle& v = traffic(5);
  PlaceCar(v, 190, 420, 80);  // 50 wide: columns round(181 / 32) = 6 and 7, rows 14 and 17
  v.SteerVel = -10;
  SetCorners(game, 1, 1, 1, 1);
  game.CheckVehicleTiles(5, 170);
  EXPECT_EQ(v.X, 170);
  EXPECT_EQ(v.SteerVel, 8);
  EXPECT_EQ(v.Speed, 79);
  EXPECT_EQ(player().X, 190);
  EXPECT_EQ(player().SteerVel, 0);
  EXPECT_EQ(game.traffic.Debris[0].VX, -10);
}

}  // namespace
}  // namespace kelto1
