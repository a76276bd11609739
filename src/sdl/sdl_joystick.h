// The first joystick, as the game's position query sees it: the X axis on 0..65535 and
// the buttons as a mask (bit 0 = button 1). A game controller answers the same way
// with its left stick (or pad) and its A and B buttons. Only a device present when the
// game starts is used, so one plugged in later never steers by itself.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/platform.h"

namespace kelto1 {

class Joystick {
 public:
  Joystick() = default;
  ~Joystick() { Close(); }
  Joystick(const Joystick&) = delete;
  Joystick& operator=(const Joystick&) = delete;

  // Opens the first device, if there is one (SDL's joystick part must be started).
  void OpenFirst();
  // 0 and the position, or non-zero when there is no joystick or it cannot be read.
  uint32_t Position(JoyPosition& position);
  uint32_t Capabilities() const { return started_with_device_ ? 0 : kJoystickUnplugged; }

  // Devices come and go: the one the game started with may come back.
  void DeviceAdded(int device_index);
  void DeviceRemoved(SDL_JoystickID id);


 private:
  bool Open(int device_index);
  void Close();
  int32_t RawX() const;
  uint32_t Buttons() const;

  SDL_GameController* pad_ = nullptr;
  SDL_Joystick* stick_ = nullptr;
  SDL_JoystickGUID guid_{};
  bool started_with_device_ = false;
  int32_t rest_raw_x_ = 0;
};

}  // namespace kelto1
