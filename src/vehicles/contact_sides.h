// How two overlapping vehicles meet: side by side, or end on.
#pragma once

#include <cstdlib>

#include "vehicles/vehicle_state.h"

namespace kelto1 {

// Side by side when they are further apart along the road than across it, each as a
// share of their lengths or widths together (worked out in single precision).
inline bool MeetSideBySide(const Vehicle& a, const Vehicle& b) {
  const float along = static_cast<float>(std::abs(b.Y - a.Y)) / static_cast<float>(b.Length + a.Length);
  const float across = static_cast<float>(std::abs(b.X - a.X)) / static_cast<float>(b.Width + a.Width);
  return along < across;
}

}  // namespace kelto1
