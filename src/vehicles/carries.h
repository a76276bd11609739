// Every vehicle moves in whole pixels and whole speed units: its accumulators carry into
// them each time they pass a step, and a value exactly at the step stays behind.
#pragma once

#include "vehicles/vehicle_state.h"

namespace kelto1 {

// Carries SteerAcc into X and ThrottleAcc into Speed. A step of 0 carries nothing (the
// loop would never end).
inline void CarryWholeSteps(Vehicle& v) {
  const int steer = v.SteerStep;
  const int accel = v.AccelStep;
  const int brake = v.BrakeStep;
  while (steer > 0 && v.SteerAcc > steer) {
    v.X += 1;
    v.SteerAcc -= steer;
  }
  while (steer > 0 && v.SteerAcc < -steer) {
    v.X -= 1;
    v.SteerAcc += steer;
  }
  while (accel > 0 && v.ThrottleAcc > accel) {
    v.Speed += 1;
    v.ThrottleAcc -= accel;
  }
  while (brake > 0 && v.ThrottleAcc < -brake) {
    v.Speed -= 1;
    v.ThrottleAcc += brake;
  }
}

}  // namespace kelto1
