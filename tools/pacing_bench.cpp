// kelto1-pacing-bench: the frame limiter on the real desktop machine. Runs race frames
// through the SDL platform (on SDL's dummy video driver unless another is asked for)
// and prints, for frame delays of 0, 10 and 20 ms, the frames per second and the share
// of one processor core the process used: all of it, SDL's renderer's part (sending the
// picture and drawing it), the rest ("ours": the game's frames, composing, the copies,
// pacing and events), and of that the game's own frames, measured apart on the headless
// machine. Prints figures; never fails on time.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "headless/headless_platform.h"
#include "sdl/sdl_platform.h"
#include "sdl/sdl_timer.h"
#include "shell/kelto1.h"

namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// CPU seconds of one race frame of the game itself, on the headless machine.
double GameFrameSeconds(long frames) {
  kelto1::HeadlessPlatform headless;
  kelto1::Kelto1 game(headless);
  game.Form_Load();
  game.Timer1_Timer();
  game.StartRace();
  long counted = 0;
  game.SetAfterFrame([&](kelto1::Kelto1&) { return ++counted < frames; });
  const double cpu0 = CpuSeconds();
  game.RunRace();
  return (CpuSeconds() - cpu0) / double(std::max(counted, 1L));
}

}  // namespace

int main(int argc, char** argv) {
  long frames = 300;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) frames = std::strtol(argv[++i], nullptr, 10);
  }
  if (frames < 10) frames = 10;
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  auto platform = kelto1::SdlPlatform::Create(error);
  if (!platform) {
    std::fprintf(stderr, "kelto1-pacing-bench: %s\n", error.c_str());
    return 1;
  }
  kelto1::Kelto1 game(*platform);
  game.Form_Load();
  game.Repaint(kelto1::Element::Window);
  game.Timer1_Timer();  // the title screen
  // Recorded as every race is, its views hashed.
  game.recorder.RaceStarts(game);
  game.StartRace();

  long counted = 0, limit = 0;
  game.SetAfterFrame([&](kelto1::Kelto1&) { return ++counted < limit; });
  const double game_frame = GameFrameSeconds(std::max(frames, 2000L));
  std::printf("video driver: %s, %ld frames per delay; the game's own frame: %.1f us\n", SDL_GetCurrentVideoDriver(),
              frames, game_frame * 1e6);
  for (int delay : {0, 10, 20}) {
    game.window[kelto1::Element::Gamewait].text = std::to_string(delay);
    counted = 0;
    limit = 20;  // settles the limiter on the new delay
    game.RunRace();
    counted = 0;
    limit = frames;
    const uint64_t shown_before = platform->presents();
    const uint64_t t0 = SDL_GetPerformanceCounter();
    const double cpu0 = CpuSeconds();
    const double render0 = platform->render_seconds();
    game.RunRace();
    const double seconds = double(SDL_GetPerformanceCounter() - t0) / double(SDL_GetPerformanceFrequency());
    const double cpu = CpuSeconds() - cpu0;
    const double render = platform->render_seconds() - render0;
    const double share = 100.0 / seconds;
    std::printf(
        "gamewait=%-2d  fps=%5.1f (aim %4.1f)  cpu=%4.1f%% of one core: renderer %4.1f%%, ours %4.1f%% (the game's "
        "frames %4.1f%%)  frames=%ld shown=%llu\n",
        delay, double(counted) / seconds, 1000.0 / (1000.0 / 60.0 + delay), share * cpu, share * render,
        share * (cpu - render), share * game_frame * double(counted), counted,
        static_cast<unsigned long long>(platform->presents() - shown_before));
    if (game.Ended()) break;
  }
  return 0;
}
