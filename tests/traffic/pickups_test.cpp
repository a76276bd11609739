// CollectPickups: the touch test, the ten kinds with their limits and sounds, dropping an
// item whose carrier has gone, and the label drawn last.
#include <gtest/gtest.h>

#include "traffic_fixture.h"
#include "case_names.h"

namespace kelto1::traffic_test {
namespace {

class TrafficPickupTest : public TrafficTest {
 protected:
  // The player (X 190, Width 44) has its body at x 200..244 and y 420..504. An item of
  // the given kind whose label sits at (lx, ly), riding on a car in slot `carrier`.
  Pickup& PlaceItem(int k, int kind, int lx, int ly, int carrier = 1) {
    Vehicle& car = PlaceCar(carrier, 3, 300, 60);
    Pickup& p = game.traffic.Pickups[k];
    p.Active = 1;
    p.Kind = kind;
    p.Carrier = carrier;
    p.OffX = lx - car.X;
    p.OffY = ly - car.Y;
    return p;
  }
  const std::vector<uint8_t>* Sound(int i) { return &game.sounds.SoundData[i]; }
};

struct TouchCase {
  int lx, ly;
  bool touched;
};
void PrintTo(const TouchCase& c, std::ostream* os) {
  *os << "lx " << c.lx << " ly " << c.ly << " touched " << c.touched;
}

class TrafficTouchTest : public TrafficPickupTest, public ::testing::WithParamInterface<TouchCase> {};

TEST_P(TrafficTouchTest, TheLabelTouchesTheBodyStrictly) {
  const TouchCase c = GetParam();
  Pickup& p = PlaceItem(0, 1, c.lx, c.ly);
  game.CollectPickups();
  EXPECT_EQ(p.Active, c.touched ? 0 : 1);
  EXPECT_EQ(V(0).HitPoints, c.touched ? 800 : 700);
}

INSTANTIATE_TEST_SUITE_P(Edges, TrafficTouchTest,
                         ::testing::Values(TouchCase{168, 450, false}, TouchCase{169, 450, true},
                                           TouchCase{243, 450, true}, TouchCase{244, 450, false},
                                           TouchCase{210, 396, false}, TouchCase{210, 397, true},
                                           TouchCase{210, 503, true}, TouchCase{210, 504, false}),
                         CaseName());

TEST_F(TrafficPickupTest, TheBodyIsCentredInItsColumnWithARealHalf) {
  V(0).Width = 45;  // body from 199.5
  Pickup& p = PlaceItem(0, 1, 168, 450);
  game.CollectPickups();
  EXPECT_EQ(p.Active, 0);
}

enum class Field { Accel, Brake, Steer, MaxSpeed };

struct KindCase {
  int kind;
  Field field;
  int before, after;
  int sound;
};
void PrintTo(const KindCase& c, std::ostream* os) {
  const char* field = c.field == Field::Accel   ? "Accel"
                      : c.field == Field::Brake ? "Brake"
                      : c.field == Field::Steer ? "Steer"
                                                : "MaxSpeed";
  *os << "kind " << c.kind << " field " << field << " before " << c.before << " after " << c.after << " sound "
      << c.sound;
}

class TrafficKindTest : public TrafficPickupTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(TrafficKindTest, EffectsWithTheirLimits) {
  const KindCase c = GetParam();
  Vehicle& p = V(0);
  auto value = [&]() -> int {
    switch (c.field) {
      case Field::Accel: return p.AccelStep;
      case Field::Brake: return p.BrakeStep;
      case Field::Steer: return p.SteerStep;
      default: return p.MaxSpeed;
    }
  };
  switch (c.field) {
    case Field::Accel: p.AccelStep = c.before; break;
    case Field::Brake: p.BrakeStep = c.before; break;
    case Field::Steer: p.SteerStep = c.before; break;
    case Field::MaxSpeed: p.MaxSpeed = c.before; break;
  }
  PlaceItem(0, c.kind, 210, 450);
  game.CollectPickups();
  EXPECT_EQ(value(), c.after);
  ASSERT_EQ(platform.played_sounds.size(), 1u);
  EXPECT_EQ(platform.played_sounds[0], Sound(c.sound));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TrafficKindTest,
    ::testing::Values(KindCase{3, Field::Accel, 10, 10, 3},   // TURBO at its limit
                      KindCase{3, Field::Accel, 11, 10, 3},   // 9, raised to 10
                      KindCase{3, Field::Accel, 44, 42, 3},
                      KindCase{4, Field::Brake, 17, 16, 3},   // BRK
                      KindCase{5, Field::Steer, 40, 38, 3},   // SUS
                      KindCase{5, Field::Steer, 16, 16, 3},
                      KindCase{6, Field::MaxSpeed, 298, 300, 3},  // SPEED
                      KindCase{6, Field::MaxSpeed, 300, 300, 3},
                      KindCase{7, Field::Accel, 199, 200, 4},  // mirrored TURBO: 201 lowered to 200
                      KindCase{7, Field::Accel, 254, 200, 4},
                      KindCase{8, Field::Brake, 32, 34, 4},
                      KindCase{9, Field::Steer, 200, 200, 4},
                      KindCase{10, Field::MaxSpeed, 150, 146, 4},  // mirrored SPEED
                      KindCase{10, Field::MaxSpeed, 102, 100, 4}),
                         CaseName());

TEST_F(TrafficPickupTest, FuelRaisesTheConditionAndShowsIt) {
  PlaceItem(0, 1, 210, 450);
  game.CollectPickups();
  EXPECT_EQ(V(0).HitPoints, 800);
  EXPECT_EQ(game.window.Painted(Element::HitP).text, "800");
  ASSERT_EQ(platform.played_sounds.size(), 1u);
  EXPECT_EQ(platform.played_sounds[0], Sound(3));
}

TEST_F(TrafficPickupTest, TimeAddsAHundredUnitsToTheClockText) {
  game.window[Element::Mtime].text = "57";
  PlaceItem(0, 2, 210, 450);
  game.CollectPickups();
  EXPECT_EQ(game.window[Element::Mtime].text, "157");
}

TEST_F(TrafficPickupTest, AnItemTouchedAsItsCarrierLeavesIsStillCollected) {
  Pickup& p = PlaceItem(0, 6, 210, 450);
  V(1).Active = 0;
  game.CollectPickups();
  EXPECT_EQ(p.Active, 0);
  EXPECT_EQ(V(0).MaxSpeed, 154);
}

TEST_F(TrafficPickupTest, AnItemWhoseCarrierIsGoneIsDroppedUnused) {
  Pickup& p = PlaceItem(0, 6, 10, 10);
  V(1).Active = 0;
  game.CollectPickups();
  EXPECT_EQ(p.Active, 0);
  EXPECT_EQ(V(0).MaxSpeed, 150);
  EXPECT_TRUE(platform.played_sounds.empty());
}

TEST_F(TrafficPickupTest, TwoItemsTouchedInOneFrameBothTakeEffectInRecordOrder) {
  PlaceItem(2, 6, 210, 450);
  PlaceItem(4, 10, 220, 460);
  V(0).MaxSpeed = 298;
  game.CollectPickups();
  EXPECT_EQ(V(0).MaxSpeed, 296);  // 302 held to 300, then 4 off
  EXPECT_EQ(platform.played_sounds.size(), 2u);
}

TEST_F(TrafficPickupTest, TheItemRidesWithItsCarrier) {
  Pickup& p = PlaceItem(0, 1, 210, 200);  // ahead of the player
  game.CollectPickups();
  EXPECT_EQ(p.Active, 1);
  V(1).Y += 250;  // the carrier falls back onto the player
  game.CollectPickups();
  EXPECT_EQ(p.Active, 0);
}

TEST_F(TrafficPickupTest, TheLabelIsDrawnAlsoInTheFrameItIsTakenOrDropped) {
  PlaceItem(0, 1, 210, 450);          // taken
  PlaceItem(1, 9, 10, 10, 2);         // riding on
  PlaceItem(3, 4, 40, 40, 3);         // dropped
  V(3).Active = 0;
  game.CollectPickups();
  EXPECT_EQ(Queue(), (std::vector<Queued>{{42, 210, 450}, {50, 10, 10}, {45, 40, 40}}));
  game.vehicles.SpriteQueue[0] = 0;
  game.CollectPickups();
  EXPECT_EQ(Queue(), (std::vector<Queued>{{50, 10, 10}}));
}

}  // namespace
}  // namespace kelto1::traffic_test
