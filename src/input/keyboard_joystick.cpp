// Keyboard and joystick, read into one set of direction codes.
#include "shell/kelto1.h"

namespace kelto1 {

int16_t Kelto1::ReadSteerKeys() {
  if (platform.GetAsyncKeyState(vk::kLeft) != 0) return dir::kLeft;
  if (platform.GetAsyncKeyState(vk::kRight) != 0) return dir::kRight;
  return dir::kNone;
}

int16_t Kelto1::ReadPedalKeys() {
  if (platform.GetAsyncKeyState(vk::kMenu) != 0) return dir::kAccelerate;
  if (platform.GetAsyncKeyState(vk::kControl) != 0) return dir::kBrake;
  return dir::kNone;
}

JoyReading Kelto1::ReadJoystick(int16_t id) {
  JoyInfo& info = input.Joy;
  JoyPosition pos;
  const uint32_t r = platform.JoyGetPos(static_cast<uint32_t>(id), pos);
  JoyReading reading;
  if (r == 0) {
    info.JoyWord0 = static_cast<uint16_t>(pos.x & 0xFFFF);
    info.Z = pos.z;
    info.ButtonMask = pos.buttons;
    info.JoyX = info.JoyWord0;
    // The button value is twice the mask, modulo 4096. Masks from button 21 upwards
    // are ignored.
    if (pos.buttons < (1u << 20)) reading.buttons = static_cast<int16_t>((2 * pos.buttons) % 4096);
  }
  reading.error = static_cast<int16_t>(r > 0x7FFF ? 0x7FFF : r);
  return reading;
}

int16_t Kelto1::InitJoystick() {
  ReadJoystick(0);
  const uint32_t r = platform.JoyGetDevCaps(0);
  if (r == 0) input.RestX = input.Joy.JoyX;
  input.JoyCaps = static_cast<int16_t>(r > 0x7FFF ? 0x7FFF : r);
  return input.JoyCaps;
}

int16_t Kelto1::ReadJoystickSteer() {
  if (ReadJoystick(0).error != 0) return dir::kNone;
  // No dead zone: any difference from the rest position steers fully.
  if (input.Joy.JoyX < input.RestX) return dir::kLeft;
  if (input.Joy.JoyX > input.RestX) return dir::kRight;
  return dir::kNone;
}

int16_t Kelto1::ReadJoystickPedals() {
  const int16_t buttons = ReadJoystick(0).buttons;
  if (buttons == 2) return dir::kAccelerate;
  if (buttons == 4) return dir::kBrake;
  return dir::kNone;
}

}  // namespace kelto1
