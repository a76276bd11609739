// Spawning: at most one new vehicle a frame, driving up the road, oncoming or parked, and
// the 29 rivals, who race off the road until they meet the player.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "traffic/traffic_steps.h"
#include "vehicles/sprite_numbers.h"

namespace kelto1 {

namespace {

// What a frame asks for; rival a is asked for as a + kRivalBase.
constexpr int kNothing = 0;
constexpr int kUpTheRoad = 1;
constexpr int kOncoming = 2;
constexpr int kParked = 3;
constexpr int kRivalBase = 4;

constexpr int16_t kAboveView = -900;
constexpr int16_t kBelowView = 1476;
constexpr int kTravelPerEntry = 640;  // a rival's off-road travel per course entry

// One random column of the model table: Int(r x range) + base. A range of 0 keeps the
// default row's value and draws nothing.
struct RandomColumn {
  int16_t range;
  int16_t base;
};

// A row of the model table; 0 in a fixed column keeps the default row's value.
struct Model {
  uint8_t sprite;
  int16_t width, length, mass;
  int32_t hit_points;
  uint8_t accel_step, steer_step;
  RandomColumn max_speed, change_odds, weave_range, weave_odds;
};

// The default row: models 0 and 11, and every column the other rows leave empty.
constexpr Model kDefaultModel = {1, 51, 92, 1000, 1000, 48, 48, {40, 50}, {1000, 200}, {10, 0}, {100, 0}};

constexpr int kLongCarModel = 7;  // keeps to lane 3

// clang-format off
constexpr std::array<Model, 11> kModels = {{
  // sprite width length  mass    hp  accel steer  max speed   change odds  weave range  weave odds
  {  1,     0,    0,     0,    0,   0,    0,   {},         {},          {},          {}        },  //  0 dark blue saloon
  {  3,    54,   94,     0,    0,   0,    0,   {30, 50},   {},          {},          {}        },  //  1 red car
  {  8,     0,    0,     0,    0,   0,    0,   {20, 50},   {},          {},          {}        },  //  2 white car
  { 23,     0,    0,     0,    0,   0,    0,   {20, 60},   {},          {},          {}        },  //  3 blue-grey car
  { 10,    44,   84,   800,    0,  32,   32,   {60, 100},  {100, 50},   {},          {}        },  //  4 open two-seater
  { 12,    57,   91,     0,    0,   0,    0,   {110, 50},  {200, 100},  {},          {}        },  //  5 red saloon
  { 20,    62,  126,  2500, 3000,  50,   54,   {20, 50},   {},          {5, 0},      {200, 0}  },  //  6 lorry
  { 22,    55,  126,  2000, 2000,  48,   52,   {20, 100},  {1000, 1200},{3, 0},      {200, 0}  },  //  7 long car
  { 16,    48,   82,   500,  700,   0,    0,   {20, 50},   {},          {},          {}        },  //  8 light pick-up truck
  { 18,    48,   82,   500,  700,   0,    0,   {20, 50},   {},          {},          {}        },  //  9 covered light truck
  { 52,    12,   58,   500,  100,   0,    0,   {20, 100},  {},          {},          {}        },  // 10 motorbike
}};
// clang-format on

// Each kind has its own chance; a later hit overrides an earlier one.
int DrawRequest(Kelto1& g, int active) {
  int request = kNothing;
  const double r2 = g.Rnd();
  if (Int(r2 * g.course.Kind2Odds) == 1 && active < 28) request = kOncoming;
  const double r3 = g.Rnd();
  if (Int(r3 * g.course.Kind3Odds) == 1 && active < 28) request = kParked;
  const double r1 = g.Rnd();
  if (Int(r1 * g.course.Kind1Odds) == 1 && active < g.course.Kind1Limit && active < 28) request = kUpTheRoad;
  return request;
}

// The rivals race on off the road. At each carry a rival is tested against the player's
// place on the course; the first that meets the player in this frame comes onto the road.
int AdvanceRivals(Kelto1& g, int request, int active) {
  for (int a = 1; a <= 29; ++a) {
    Rival& r = g.traffic.Rivals[a - 1];
    if (r.OnRoad != 0) continue;
    r.Travel += r.Speed;
    if (r.Travel < kTravelPerEntry) continue;
    r.Travel -= kTravelPerEntry;
    r.Pos += 1;
    const bool room = request < kRivalBase && active < 28;
    const int course_pos = g.course.CoursePos;
    if (r.Pos < course_pos && r.Ahead == 1 && room) {  // the player has caught it up
      request = a + kRivalBase;
      r.OnRoad = 1;
    } else if (r.Pos > course_pos && r.Ahead == 0 && room) {  // it has caught the player up
      request = a + kRivalBase;
      r.OnRoad = 1;
    }
  }
  return request;
}

template <class Field>
void ApplyDraw(Kelto1& g, Field& field, RandomColumn d) {
  if (d.range != 0) field = Int(g.Rnd() * d.range) + d.base;
}

// The random columns are drawn in one order for the default row and for a model's own row.
void ApplyDraws(Kelto1& g, Vehicle& v, const Model& m) {
  ApplyDraw(g, v.WeaveRange, m.weave_range);
  ApplyDraw(g, v.WeaveOdds, m.weave_odds);
  ApplyDraw(g, v.ChangeOdds, m.change_odds);
  ApplyDraw(g, v.MaxSpeed, m.max_speed);
}

void ApplyFixedColumns(Vehicle& v, const Model& m) {
  v.Sprite = m.sprite;
  if (m.width != 0) v.Width = m.width;
  if (m.length != 0) v.Length = m.length;
  if (m.mass != 0) v.Mass = m.mass;
  if (m.hit_points != 0) v.HitPoints = m.hit_points;
  if (m.accel_step != 0) v.AccelStep = m.accel_step;
  if (m.steer_step != 0) v.SteerStep = m.steer_step;
}

void ResetDrivingFields(Vehicle& v) {
  v.Active = 1;
  v.Crossing = 0;
  v.SteerAcc = 0;
  v.SteerVel = 0;
  v.ThrottleAcc = 0;
  v.Throttle = 0;
  v.Blinking = 0;
  v.LaneHold = 0;
  v.IsRival = 0;
  v.RivalNo = 0;
  v.OffsetX = 0;
  v.Dir = 1;
  v.LaneShift = 0;
  v.BrakeStep = 32;
}

// Fills the new vehicle from the default row and its model; returns the lane asked for,
// 1..3.
int FillNewVehicle(Kelto1& g, Vehicle& v) {
  ResetDrivingFields(v);
  ApplyFixedColumns(v, kDefaultModel);
  ApplyDraws(g, v, kDefaultModel);
  int lane = Int(g.Rnd() * 3) + 1;
  const int model = Int(g.Rnd() * g.course.TrafficKinds);
  const Model& m = model >= 0 && model < static_cast<int>(kModels.size()) ? kModels[model] : kModels[0];
  ApplyFixedColumns(v, m);
  ApplyDraws(g, v, m);
  if (model == kLongCarModel) lane = 3;
  return lane;
}

// A parked vehicle stands at the kerb of the road 12 entries ahead, where its pattern
// has a parking bay (tiles 15 and 37) among its first 11 columns; the last bay wins.
bool ParkAtRoadside(Kelto1& g, Vehicle& v) {
  if (g.vehicles.Vehicles[0].Speed == 0 || v.Sprite == sprite::kMotorbike) return false;
  const int pattern = g.course.CourseSeq[g.course.CoursePos + 12];
  bool parked = false;
  for (int t = 0; t <= 10; ++t) {
    const int tile = g.course.PatternRows[t][pattern];
    if (tile != 15 && tile != 37) continue;
    v.SteerVel = 0;
    v.SteerAcc = 0;
    v.ChangeOdds = 0;
    v.Speed = 0;
    v.HitPoints = 0;
    v.MaxSpeed = 0;
    v.X = 32 * t + 28;
    parked = true;
  }
  return parked;
}

bool LaneExistsAt(const Kelto1& g, int lane, int y) {
  const Lane& l = g.course.Lanes[lane];
  return l.Top < y && y < l.Bottom;
}

// Lanes 1 and 2 close in places; a vehicle takes one of them only where it exists at
// the spot the vehicle appears, and lane 3 otherwise. A parked vehicle keeps its bay.
void TakeLane(Kelto1& g, Vehicle& v, int asked, bool parked) {
  int lane = 3;
  if (asked == 1 && LaneExistsAt(g, 1, v.Y)) lane = 1;
  if (asked == 2 && LaneExistsAt(g, 2, v.Y)) lane = 2;
  v.Lane = lane;
  if (!parked) v.X = Narrow<int16_t>(g.course.Lanes[lane].X - 32);
}

// Long cars and motorbikes never come down the road, nor does a parked vehicle.
void TurnOncoming(Kelto1& g, Vehicle& v) {
  if (v.Sprite == sprite::kLongCar || v.Sprite == sprite::kMotorbike || v.MaxSpeed == 0) return;
  const Lane& lane4 = g.course.Lanes[4];
  v.Y = kAboveView;
  v.Dir = -1;
  v.Lane = 4;
  v.X = Narrow<int16_t>(lane4.X - Int(g.Rnd() * 32));
  // Both halves of the test are evaluated, so the coin is drawn on every road.
  const bool coin = Int(g.Rnd() * 2) == 1;
  if (lane4.X == 420 && coin) {  // the wide road has a second oncoming lane
    v.LaneShift = 80;
    v.X += 80;
  }
  v.Speed = -v.Speed;
  v.MaxSpeed = Narrow<int16_t>(-v.MaxSpeed);
  v.Sprite += 1;  // the picture facing down
}

void MakeRival(Kelto1& g, int i, int a) {
  Vehicle& v = g.vehicles.Vehicles[i];
  Rival& r = g.traffic.Rivals[a - 1];
  v.Active = 1;
  v.IsRival = 1;
  v.RivalNo = a;
  v.MaxSpeed = std::min(3 * a + 100, 210);
  v.Speed = v.MaxSpeed;
  v.Sprite = sprite::kRival;
  r.Slot = i;
  v.SteerStep = 32;
  v.AccelStep = 32;
  v.Mass = 1000;
  v.Width = 58;
  v.Length = 92;
  v.ChangeOdds = Int(g.Rnd() * 100) + 50;
  v.Y = kBelowView;
  if (r.Ahead == 1) {  // caught up by the player: it starts ahead, a little slower
    v.Speed = v.MaxSpeed - 5;
    v.Y = kAboveView;
  }
}

// The new vehicle takes the speed of a slower one close ahead of it and is withdrawn if
// it would appear on top of anything. A rival is placed whatever those tests found.
void SettleAmongTraffic(Kelto1& g, int i, int request) {
  auto& vehicles = g.vehicles.Vehicles;
  Vehicle& v = vehicles[i];
  for (int n = 0; n <= 28; ++n) {
    const Vehicle& other = vehicles[n];
    const long long behind = static_cast<long long>(v.Y - other.Y) * v.Dir;
    const bool clear = (other.Width + v.Width + 4) / 2.0 <= std::abs(other.X - v.X) ||
                       4 * std::llabs(static_cast<long long>(other.Speed) - v.Speed) + 200 <= behind ||
                       behind <= 0 || n == i;
    if (other.Active == 1 && !clear && static_cast<long long>(other.Speed) * v.Dir < static_cast<long long>(v.Dir) * v.Speed) {
      v.Speed = other.Speed;
    }
    if (other.Active == 1 && n != i && traffic_steps::Overlapping(v, other)) v.Active = 0;
    if (request > kRivalBase) MakeRival(g, i, request - kRivalBase);
  }
}

struct PickupPlace {
  int16_t off_x;
  int16_t off_y;
};

// In front, behind, on the left side, on the right side.
PickupPlace PlacePickup(const Vehicle& v, int p) {
  const int16_t beside = Narrow<int16_t>(RoundHalfEven(v.Length / 2.0));
  switch (p) {
    case 1: return {16, -32};
    case 2: return {16, v.Length};
    case 3: return {Narrow<int16_t>(RoundHalfEven(10 - v.Width / 2.0)), beside};
    default: return {Narrow<int16_t>(RoundHalfEven(v.Width / 2.0 + 28)), beside};
  }
}

void AttachPickup(Kelto1& g, int i, int request) {
  const double r = g.Rnd();
  if (Int(r * g.course.PickupOdds) != 0 || request >= kRivalBase) return;
  auto& pickups = g.traffic.Pickups;
  const int k = ClaimFreeRecord(g, pickups, 0, 5);
  if (k < 0) return;
  Pickup& item = pickups[k];
  item.Active = 1;
  item.Kind = Int(g.Rnd() * 10) + 1;
  item.Carrier = i;
  const PickupPlace place = PlacePickup(g.vehicles.Vehicles[i], Int(g.Rnd() * 4) + 1);
  item.OffX = place.off_x;
  item.OffY = place.off_y;
}

}  // namespace

void Kelto1::SpawnTraffic() {
  const int active = ActiveTrafficCount();
  int request = DrawRequest(*this, active);
  request = AdvanceRivals(*this, request, active);
  if (request == kNothing) return;

  // Every request needs fewer than 28 vehicles on the road, so a slot is free.
  const int i = ClaimFreeRecord(*this, vehicles.Vehicles, 1, 28);
  if (i < 0) return;
  Vehicle& v = vehicles.Vehicles[i];
  const int asked_lane = FillNewVehicle(*this, v);
  const bool parked = request == kParked && ParkAtRoadside(*this, v);

  // A vehicle slower than the player starts ahead for the player to catch up; a faster
  // one starts behind and catches the player up. A parked one is always ahead.
  v.Speed = v.MaxSpeed;
  v.Y = vehicles.Vehicles[0].Speed > v.MaxSpeed ? kAboveView : kBelowView;
  // The lane is settled once the vehicle's place is known: lanes 1 and 2 are tested
  // where it appears.
  TakeLane(*this, v, asked_lane, parked);

  if (request == kOncoming) TurnOncoming(*this, v);
  SettleAmongTraffic(*this, i, request);
  AttachPickup(*this, i, request);
}

int Kelto1::ActiveTrafficCount() const {
  int n = 0;
  for (int i = 1; i <= 28; ++i) n += vehicles.Vehicles[i].Active == 1;
  return n;
}

}  // namespace kelto1
