// Start-up: everything the game needs is prepared before the window is first shown.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::Form_Load() {
  int16_t joystick = 0;
  InitJoystick(joystick);  // a missing joystick is no reason to stop

  // The window's outer rectangle is 640 x 600 pixels, centred, reckoned in twips.
  const int tx = platform.TwipsPerPixelX();
  const int ty = platform.TwipsPerPixelY();
  const int outer_h = 600 * ty;
  const int outer_w = 640 * tx;
  const int left = (platform.ScreenWidthPixels() * tx - outer_w) / 2;
  const int top = (platform.ScreenHeightPixels() * ty - outer_h) / 2;
  platform.PlaceWindow(left / tx, top / ty, 640, 600);

  Display.Resize(512, 576, colors::kBlack);
  Master.Resize(512, 640, colors::kBlack);

  LoadSounds();
  BuildSpriteTables();
  BuildCourseTables();
  LoadSettings();
  shell.TitlePending = 1;
}

}  // namespace kelto1
