// Keyboard and joystick, read into one set of direction codes.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::ReadSteerKeys(int16_t& code) {
  if (platform.GetAsyncKeyState(vk::kLeft) != 0) {
    code = dir::kLeft;
  } else if (platform.GetAsyncKeyState(vk::kRight) != 0) {
    code = dir::kRight;
  } else {
    code = dir::kNone;
  }
}

void Kelto1::ReadPedalKeys(int16_t& code) {
  if (platform.GetAsyncKeyState(vk::kMenu) != 0) {
    code = dir::kAccelerate;
  } else if (platform.GetAsyncKeyState(vk::kControl) != 0) {
    code = dir::kBrake;
  } else {
    code = dir::kNone;
  }
}

void Kelto1::ReadJoystick(int16_t id, JoyInfo& info, int16_t& buttons, int16_t& err) {
  JoyPosition pos;
  const uint32_t r = platform.JoyGetPos(static_cast<uint32_t>(id), pos);
  buttons = 0;
  if (r == 0) {
    info.JoyWord0 = static_cast<uint16_t>(pos.x & 0xFFFF);
    info.Z = pos.z;
    info.ButtonMask = pos.buttons;
    info.JoyX = info.JoyWord0;
    // The button value is twice the mask, modulo 4096. Masks from button 21 upwards
    // are ignored.
    if (pos.buttons < (1u << 20)) buttons = static_cast<int16_t>((2 * pos.buttons) % 4096);
  }
  err = static_cast<int16_t>(r > 0x7FFF ? 0x7FFF : r);
}

void Kelto1::InitJoystick(int16_t& result) {
  int16_t buttons = 0, err = 0;
  ReadJoystick(0, input.Joy, buttons, err);
  const uint32_t r = platform.JoyGetDevCaps(0);
  if (r == 0) input.RestX = input.Joy.JoyX;
  input.JoyCaps = static_cast<int16_t>(r > 0x7FFF ? 0x7FFF : r);
  result = input.JoyCaps;
}

int16_t Kelto1::ReadJoystickSteer() {
  int16_t buttons = 0, err = 0;
  ReadJoystick(0, input.Joy, buttons, err);
  if (err != 0) return dir::kNone;
  // No dead zone: any difference from the rest position steers fully.
  if (input.Joy.JoyX < input.RestX) return dir::kLeft;
  if (input.Joy.JoyX > input.RestX) return dir::kRight;
  return dir::kNone;
}

int16_t Kelto1::ReadJoystickPedals() {
  int16_t buttons = 0, err = 0;
  ReadJoystick(0, input.Joy, buttons, err);
  if (buttons == 2) return dir::kAccelerate;
  if (buttons == 4) return dir::kBrake;
  return dir::kNone;
}

}  // namespace kelto1
