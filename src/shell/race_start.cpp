// Race start: the first screen of road, the banner, the music and the chosen vehicle.
#include <array>
#include <string>

#include "shell/kelto1.h"

namespace kelto1 {

namespace {

struct VehicleType {
  const char* name;  // the selector text that chooses it, exactly
  uint8_t sprite;
  int16_t offset_x, width, length;
  uint8_t accel_step, brake_step, steer_step;
  int16_t max_speed;
  int32_t hit_points;
  int16_t mass;
};

// Any other text, "RoadStar" among them, drives the open two-seater.
constexpr VehicleType kDefaultType = {"", 10, 0, 44, 84, 44, 32, 40, 150, 700, 800};

// Compared in this order; "Track" is no item of the list and must be typed.
constexpr std::array<VehicleType, 5> kVehicleTypes = {{
    {"RacingCar", 15, 0, 58, 92, 38, 30, 36, 200, 800, 1000},
    {"MotorBike", 52, 16, 12, 58, 32, 32, 28, 150, 200, 500},
    {"KeiTrack", 16, 0, 48, 82, 70, 36, 46, 100, 500, 500},
    {"Track", 20, 0, 62, 126, 60, 40, 64, 80, 2000, 2500},
    {"FamilyCar", 1, 0, 50, 92, 64, 32, 48, 140, 700, 1000},
}};

void ApplyType(Vehicle& p, const VehicleType& t) {
  p.Sprite = t.sprite;
  p.OffsetX = t.offset_x;
  p.Width = t.width;
  p.Length = t.length;
  p.AccelStep = t.accel_step;
  p.BrakeStep = t.brake_step;
  p.SteerStep = t.steer_step;
  p.MaxSpeed = t.max_speed;
  p.HitPoints = t.hit_points;
  p.Mass = t.mass;
}

}  // namespace

void Kelto1::StartRace() {
  for (auto& s : traffic.Signals) s.Active = 0;
  BuildInitialRoad();
  vehicles.SpriteQueue[0] = 0;
  window.SetVisible(Element::GETREADY, true);
  window[Element::GETREADY].text = "PLAYER 1 GET READY";
  Repaint(Element::GETREADY);
  window.SetVisible(Element::COMMENT, false);
  window.SetVisible(Element::GameTitle, false);
  Repaint(Element::Display);
  Wait(2000);
  StartMusic();
  window.SetVisible(Element::GETREADY, false);

  Vehicle& p = vehicles.Vehicles[0];
  p.Active = 1;
  p.X = 190;
  p.Y = 420;
  p.Speed = 0;
  p.Lane = 2;
  ApplyType(p, kDefaultType);
  const std::string& chosen = window[Element::CarSel].text;
  for (const VehicleType& t : kVehicleTypes) {
    if (chosen == t.name) {
      ApplyType(p, t);
      break;
    }
  }
  window[Element::HitP].text = std::to_string(p.HitPoints.get());
  Repaint(Element::HitP);
  shell.FlushCount = 0;
}

void Kelto1::CarSel_Change() { Repaint(Element::CarSel); }

}  // namespace kelto1
