// Vehicles against the road tiles: kerbs, obstacles and forced swerves.
#include <cmath>
#include <cstdlib>

#include "shell/kelto1.h"
#include "vehicles/debris_claim.h"

namespace kelto1 {

namespace {

constexpr int kLastColumn = 16;
constexpr int kLastRow = 36;

// A grid index from a position, worked out in single precision; a position exactly
// half-way between two cells goes to the even one.
int GridIndex(float position, int last) {
  long long index = RoundHalfEven(position / 32.0f);
  if (index < 0) index = 0;
  if (index > last) index = last;
  return static_cast<int>(index);
}

struct Corners {
  int tl, tr, bl, br;
};

Corners ReadCorners(const CourseState& course, const Vehicle& v) {
  // The footprint is Width wide, centred in the vehicle's 64-pixel column.
  const float left = (64.0f - static_cast<float>(v.Width)) / 2.0f + static_cast<float>(v.X);
  const int cl = GridIndex(left - 16.0f, kLastColumn);
  const int cr = GridIndex(left + static_cast<float>(v.Width) - 16.0f, kLastColumn);
  const int rt = GridIndex(static_cast<float>(v.Y) + 32.0f, kLastRow);
  const int rb = GridIndex(static_cast<float>(v.Y) + static_cast<float>(v.Length) + 32.0f, kLastRow);
  return {course.TileGrid[cl][rt], course.TileGrid[cr][rt], course.TileGrid[cl][rb], course.TileGrid[cr][rb]};
}

// The front corners speak before the rear ones, the right before the left.
int ChooseCode(const Corners& c) {
  int k = 0;
  if (c.bl != 0) k = c.bl;
  if (c.tl != 0) k = c.tl;
  if (c.br != 0) k = c.br;
  if (c.tr != 0) k = c.tr;
  return k;
}

// The cloud starts where the vehicle is, with the motion it had before the hit.
void StartTileDebris(Kelto1& g, const Vehicle& v) {
  DebrisEntry* e = ClaimDebris(g);
  if (!e) return;
  e->X = v.X;
  e->Y = v.Y;
  e->VX = v.SteerVel;
  e->VY = v.Throttle;
}

// A kerb throws the vehicle back to where it was, steering away at 0.7 of its pace.
void BounceOffWall(Vehicle& v, int16_t restoreX, int side) {
  const double sideways = std::fabs(static_cast<double>(v.SteerVel));
  v.SteerVel = side * Int(sideways * 0.7 + 1);
  v.X = restoreX;
  v.Speed -= 1;
  const double steer = v.SteerVel;
  v.HitPoints -= Int(steer * steer / 500);
}

// Obstacles only hurt outside the cooldown after a hit; they always slow the vehicle.
void HitObstacle(Vehicle& v) {
  if (v.HitCooldown > 0) return;
  const double speed = v.Speed;
  v.HitPoints -= Int(speed * speed / 200);
}

void ApplyCode(Vehicle& v, int code, int16_t restoreX) {
  switch (code) {
    case 1:
      BounceOffWall(v, restoreX, +1);
      break;
    case 5:
      BounceOffWall(v, restoreX, -1);
      break;
    case 2:
      HitObstacle(v);
      v.Speed -= 50;
      break;
    case 6:
      HitObstacle(v);
      v.SteerVel = -(std::abs(static_cast<int>(v.SteerVel)) + 1);
      v.Speed -= 20;
      break;
    case 7:
      HitObstacle(v);
      v.SteerVel = std::abs(static_cast<int>(v.SteerVel)) + 1;
      v.Speed -= 20;
      break;
    case 3:
      if (v.HitCooldown <= 0) v.HitPoints = RoundHalfEven(v.HitPoints - v.Speed / 2.0);
      v.Speed -= 5;
      v.X += 1;
      v.SteerVel = v.Speed + 2;
      break;
    default:
      break;  // other codes only throw up debris
  }
}

void CheckTiles(Kelto1& g, Vehicle& v, int16_t restoreX) {
  const Corners corners = ReadCorners(g.course, v);
  if (corners.tl + corners.tr + corners.bl + corners.br == 0) return;
  const int code = ChooseCode(corners);
  StartTileDebris(g, v);
  ApplyCode(v, code, restoreX);
}

}  // namespace

void Kelto1::CheckPlayerTiles() { CheckTiles(*this, vehicles.Vehicles[0], vehicles.PrevPlayerX); }

void Kelto1::CheckVehicleTiles(uint8_t i, int16_t prevX) { CheckTiles(*this, vehicles.Vehicles[i], prevX); }

}  // namespace kelto1
