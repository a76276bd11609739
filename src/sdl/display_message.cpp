// The one line told when the game cannot open its window on a display.
#include "sdl/display_message.h"

namespace kelto1 {

std::string NoDisplayMessage(const char* display, const char* wayland_display, const std::string& detail) {
  const bool x11 = display && *display;
  const bool wayland = wayland_display && *wayland_display;
  std::string line;
  if (!x11 && !wayland) {
    line = "no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
  } else {
    // Named but not answering: a display server that has gone, a mistyped name, or a
    // display this user is not allowed on.
    line = "cannot open the window on the display named by ";
    if (x11) line += "DISPLAY=" + std::string(display);
    if (x11 && wayland) line += " or ";
    if (wayland) line += "WAYLAND_DISPLAY=" + std::string(wayland_display);
    line += ": it does not answer or does not let this user in";
    if (!detail.empty()) line += " (" + detail + ")";
  }
  return line;
}

}  // namespace kelto1
