// Vehicles against the road tiles: kerbs, obstacles and forced swerves.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::CheckPlayerTiles() {}

void Kelto1::CheckVehicleTiles(uint8_t, int16_t) {}

}  // namespace kelto1
