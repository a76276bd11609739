// The sprite numbers the game's rules name: which picture a vehicle, a signal head, a
// pick-up label or a debris cloud is drawn with (the sprite tables hold their cells).
#pragma once

#include <cstdint>

namespace kelto1::sprite {

constexpr uint8_t kRival = 14;            // a rival's car
constexpr uint8_t kLongCar = 22;          // the long car that spawns further back
constexpr uint8_t kFirstSignalHead = 24;  // + phase: 25 red, 26 green, 27 yellow
constexpr uint8_t kFirstCloud = 38;       // 38..41, debris clouds from sparse to widest
constexpr uint8_t kFirstLabel = 41;       // + kind: the pick-up labels 42..51
constexpr uint8_t kMotorbike = 52;
constexpr uint8_t kThrownRider = 53;      // a rider on the road is passed through
constexpr uint8_t kLeftArrow = 54;        // 55 points right
constexpr uint8_t kBrakeLights = 56;

}  // namespace kelto1::sprite
