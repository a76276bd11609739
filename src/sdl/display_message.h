// The one line told when the game cannot open its window on a display.
#pragma once

#include <string>

namespace kelto1 {

// display and wayland_display are the values of DISPLAY and WAYLAND_DISPLAY (null when
// unset); detail is what the video library said, if anything.
std::string NoDisplayMessage(const char* display, const char* wayland_display, const std::string& detail);

}  // namespace kelto1
