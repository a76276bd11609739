// What the traffic procedures share: the overlap test of two vehicles, and the contact, wreck, rank and damage steps of one vehicle's update.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "shell/free_record.h"
#include "shell/kelto1.h"

namespace kelto1::traffic_steps {

// Two vehicles overlap when they are closer sideways than half their widths together and
// closer along the road than the length of the one whose top is higher. The widths are
// compared as real halves: 51 and 54 touch at 52 pixels apart, not at 52.5.
inline bool Overlapping(const Vehicle& a, const Vehicle& b) {
  const int t = b.Y < a.Y ? b.Length : a.Length;
  // Half the widths against the distance across, in whole numbers: W / 2 <= d is 2d >= W.
  const int across = std::abs(b.X - a.X);
  return !(b.Width + a.Width <= 2 * across || std::abs(b.Y - a.Y) >= t);
}

// At the start of a vehicle's update: its condition before anything hits it.
void StartDamageCount(Kelto1& g, int i);
// The contact of vehicle i with vehicle n, made right after the following check of n.
void TouchVehicle(Kelto1& g, int i, int n);
// A vehicle whose condition has run out stops where it is.
void CheckWreck(Kelto1& g, int i);
// A rival on the road: passing and being passed, and going back off the road.
void KeepRivalBooks(Kelto1& g, int i);
// The last step of the update: damage taken in the frame shows its debris.
void ReactToTrafficDamage(Kelto1& g, int i);

// Where a signal head is drawn: the crossing's distance ahead of the view is squeezed
// into the 32 pixels above it.
int16_t SignalHeadY(int16_t y);

// The picture and y that show a vehicle: its own sprite, or a marker at the edge of the
// view when it is above or below it.
struct VehicleLook {
  uint8_t sprite;
  int16_t y;
  bool out_of_view;
};
VehicleLook LookOf(const Vehicle& v);

}  // namespace kelto1::traffic_steps
