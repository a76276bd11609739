// The line told when no window can be opened names what is really wrong.
#include "sdl/display_message.h"

#include <gtest/gtest.h>

namespace kelto1 {
namespace {

TEST(NoDisplayMessage, SaysWhetherADisplayWasNamedAndWhich) {
  struct Case {
    const char* display;
    const char* wayland;
    std::string detail;
    std::string line;
  };
  const std::string unset = "no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
  const std::string refused = ": it does not answer or does not let this user in";
  const Case cases[] = {
      {nullptr, nullptr, "", unset},
      {"", "", "No available video device", unset},
      {":99", nullptr, "", "cannot open the window on the display named by DISPLAY=:99" + refused},
      {":99", "", "No available video device",
       "cannot open the window on the display named by DISPLAY=:99" + refused + " (No available video device)"},
      {nullptr, "wayland-1", "",
       "cannot open the window on the display named by WAYLAND_DISPLAY=wayland-1" + refused},
      {"host:0", "wayland-0", "",
       "cannot open the window on the display named by DISPLAY=host:0 or WAYLAND_DISPLAY=wayland-0" + refused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("DISPLAY=") + (c.display ? c.display : "(unset)") +
                 " WAYLAND_DISPLAY=" + (c.wayland ? c.wayland : "(unset)"));
    EXPECT_EQ(NoDisplayMessage(c.display, c.wayland, c.detail), c.line);
  }
}

}  // namespace
}  // namespace kelto1
