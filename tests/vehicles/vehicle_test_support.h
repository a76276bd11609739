// Shared set-up for the vehicle tests: a game object with the player on an empty road.
#pragma once

#include <gtest/gtest.h>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {

class VehicleTest : public ::testing::Test {
 protected:
  VehicleTest() { Prepare(game); }

  // Tables built, lanes at their start lines, the clock full and the player on the road.
  static void Prepare(Kelto1& g) {
    g.BuildSpriteTables();
    g.BuildCourseTables();
    const int16_t lane_x[5] = {0, 130, 225, 316, 490};
    for (int l = 1; l <= 4; ++l) g.course.Lanes[l].X = lane_x[l];
    g.course.CoursePos = 1;
    g.window[Element::Mtime].text = "200";
    g.window[Element::Rank].text = "30";
    PlaceTwoSeater(g.vehicles.Vehicles[0]);
  }

  Vehicle& player() { return game.vehicles.Vehicles[0]; }
  Vehicle& traffic(int j) { return game.vehicles.Vehicles[j]; }

  // The open two-seater at its start position: 44 x 84, steps 44 / 32 / 40, cap 150.
  static void PlaceTwoSeater(Vehicle& p) {
    p.Active = 1;
    p.Sprite = 10;
    p.X = 190;
    p.Y = 420;
    p.Width = 44;
    p.Length = 84;
    p.AccelStep = 44;
    p.BrakeStep = 32;
    p.SteerStep = 40;
    p.MaxSpeed = 150;
    p.HitPoints = 700;
    p.Mass = 800;
    p.Lane = 2;
  }

  // A traffic car driving up the road.
  static void PlaceCar(Vehicle& v, int x, int y, int speed) {
    v.Active = 1;
    v.Sprite = 3;
    v.X = x;
    v.Y = y;
    v.Speed = speed;
    v.Width = 50;
    v.Length = 92;
    v.Mass = 1000;
    v.HitPoints = 700;
    v.Dir = 1;
  }

  void Frame() { game.DrivePlayer(); }

  HeadlessPlatform platform;
  Kelto1 game{platform};
};

}  // namespace kelto1
