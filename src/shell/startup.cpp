// Start-up: everything the game needs is prepared before the window is first shown.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::Form_Load() {
  InitJoystick();  // a missing joystick is no reason to stop

  platform.CentreWindow();

  LoadSounds();
  BuildSpriteTables();
  BuildCourseTables();
  LoadSettings();
  shell.TitlePending = 1;
}

}  // namespace kelto1
