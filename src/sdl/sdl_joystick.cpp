// The first joystick or game controller.
#include "sdl/sdl_joystick.h"

#include <cstring>

#include "frontend/joystick_axis.h"

namespace kelto1 {

void Joystick::OpenFirst() {
  if (SDL_NumJoysticks() < 1 || !Open(0)) return;
  started_with_device_ = true;
  guid_ = SDL_JoystickGetGUID(stick_);
  SDL_JoystickUpdate();
  rest_raw_x_ = RawX();
}

bool Joystick::Open(int device_index) {
  if (SDL_IsGameController(device_index)) {
    pad_ = SDL_GameControllerOpen(device_index);
    if (pad_) stick_ = SDL_GameControllerGetJoystick(pad_);
  } else {
    stick_ = SDL_JoystickOpen(device_index);
  }
  return stick_ != nullptr;
}

void Joystick::Close() {
  if (pad_) SDL_GameControllerClose(pad_);
  else if (stick_) SDL_JoystickClose(stick_);
  pad_ = nullptr;
  stick_ = nullptr;
}

void Joystick::DeviceAdded(int device_index) {
  if (!started_with_device_ || stick_) return;
  const SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(device_index);
  if (std::memcmp(&guid, &guid_, sizeof guid) == 0) Open(device_index);
}

void Joystick::DeviceRemoved(SDL_JoystickID id) {
  if (stick_ && SDL_JoystickInstanceID(stick_) == id) Close();
}

int32_t Joystick::RawX() const {
  if (pad_) {
    if (SDL_GameControllerGetButton(pad_, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) return -32768;
    if (SDL_GameControllerGetButton(pad_, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) return 32767;
    return SDL_GameControllerGetAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX);
  }
  return SDL_JoystickNumAxes(stick_) > 0 ? SDL_JoystickGetAxis(stick_, 0) : 0;
}

uint32_t Joystick::Buttons() const {
  if (pad_) {
    return (SDL_GameControllerGetButton(pad_, SDL_CONTROLLER_BUTTON_A) ? 1u : 0u) |
           (SDL_GameControllerGetButton(pad_, SDL_CONTROLLER_BUTTON_B) ? 2u : 0u);
  }
  uint32_t mask = 0;
  const int count = SDL_JoystickNumButtons(stick_);
  for (int b = 0; b < count && b < 32; ++b)
    if (SDL_JoystickGetButton(stick_, b)) mask |= 1u << b;
  return mask;
}

uint32_t Joystick::Position(JoyPosition& position) {
  if (!stick_ || !SDL_JoystickGetAttached(stick_)) return kJoystickUnplugged;
  position.x = AxisToPosition(RawX(), rest_raw_x_);
  position.y = 32768;
  position.z = 0;
  position.buttons = Buttons();
  return 0;
}

}  // namespace kelto1
