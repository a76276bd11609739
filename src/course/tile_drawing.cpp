// Tile drawing and the first screen of road.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::DrawTile(uint8_t, int16_t, int16_t, Picture&) {}

void Kelto1::BuildInitialRoad() {}

}  // namespace kelto1
