// A game on the simulated machine, for the shell's tests.
#pragma once

#include <gtest/gtest.h>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {

class GameTest : public ::testing::Test {
 protected:
  HeadlessPlatform platform;
  Kelto1 game{platform};

  ElementState& box(Element e) { return game.window[e]; }
  const ElementState& painted(Element e) { return game.window.Painted(e); }
  // Runs race frames until the loop returns or `frames` have run; returns the count.
  long RunFrames(long frames) {
    long done = 0;
    game.SetAfterFrame([&](Kelto1&) { return ++done < frames; });
    game.RunRace();
    return done;
  }
};

}  // namespace kelto1
