// kelto1.exe: the game on Windows. Start-up, the window shown, then the 20 ms timer that
// drives the idle loop, with the window's messages handled between its ticks. The texts
// are drawn from the glyph tables made at build time, as in the browser, so the program
// needs no font of the machine's.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/race_extras.h"
#include "app/records_screen.h"
#include "app/replay_viewer.h"
#include "platform/disk_files.h"
#include "replay/replay_file.h"
#include "shell/kelto1.h"
#include "web/atlas_text_painter.h"
#include "win32/win32_platform.h"

namespace {
constexpr uint64_t kTimerMs = 20;
}

int main(int argc, char** argv) {
  const kelto1::CommandLine command = kelto1::ParseCommandLine(argc, argv);
  if (command.action == kelto1::CommandLine::Action::Exit) {
    std::fputs(command.text.c_str(), command.exit_code == 0 ? stdout : stderr);
    return command.exit_code;
  }
  if (command.action == kelto1::CommandLine::Action::Records) {
    kelto1::DiskFileStore files;
    return kelto1::PrintRecords(files, kelto1::ExecutableFolder(), kelto1::DefaultUserDataFolder());
  }
  // A value out of its field's range is clamped in play, and told once.
  kelto1::SetRangeFaultMode(kelto1::RangeFaultMode::Clamp);
  // kelto1 --replay FILE: plays a recorded race in the window, then ends.
  std::optional<std::vector<uint8_t>> replay;
  if (command.action == kelto1::CommandLine::Action::Replay) {
    kelto1::DiskFileStore files;
    std::string why;
    replay = kelto1::ReadReplayFile(files, command.replay_file, why);
    if (!replay) {
      std::fprintf(stderr, "kelto1: %s: %s\n", command.replay_file.c_str(), why.c_str());
      return 2;
    }
  }
  kelto1::AtlasTextPainter painter;
  std::string error;
  std::unique_ptr<kelto1::Win32Platform> platform = kelto1::Win32Platform::Create(painter, error);
  if (!platform) {
    std::fprintf(stderr, "kelto1: %s\n", error.c_str());
    return 1;
  }
  platform->OpenAudio();
  if (replay) {
    const kelto1::WatchResult watched =
        kelto1::WatchReplay(*platform, *replay, [&](bool paused) { platform->ShowReplayPaused(paused); });
    std::fprintf(stderr, "kelto1: %s\n", watched.line.c_str());
    return !watched.played ? 2 : watched.diverged ? 1 : 0;
  }
  // The ghost is drawn on the way to the screen, below the recorder, so no race sees it.
  kelto1::RaceExtras extras(*platform);
  auto game = std::make_unique<kelto1::Kelto1>(extras.platform());
  game->Form_Load();
  extras.Start(*game, command.ghost_file);
  extras.ghost().ShownWhen([&] { return platform->ghost_shown(); });
  game->Repaint(kelto1::Element::Window);  // the window appears once start-up is done

  uint64_t next_tick = kelto1::TicksNow() + kTimerMs;
  while (!platform->ended()) {
    platform->HandleEvents(*game);
    // F2 on the title screen replays the last race. Asked every pass, so that a press
    // made during a race is used up before the title screen shows.
    if (platform->GetAsyncKeyState(kelto1::vk::kF2) != 0 && game->window[kelto1::Element::GameTitle].visible) {
      const kelto1::WatchResult watched =
          kelto1::ReplayFromTitle(*platform, *game, [&](bool paused) { platform->ShowReplayPaused(paused); });
      // A replay that could not be played, or went its own way, is told in the title
      // screen's notice already; one that played as recorded is told under it.
      if (watched.played && !watched.diverged) platform->ShowTitleLine(watched.line);
    }
    if (platform->GetAsyncKeyState(kelto1::vk::kF3) != 0 && game->window[kelto1::Element::GameTitle].visible) {
      kelto1::EditionRecordsWindow<kelto1::Win32Platform> window(*platform, kelto1::TicksNow, kTimerMs);
      kelto1::ShowRecords(window, *game, extras.records());
    }
    const uint64_t now = kelto1::TicksNow();
    if (now < next_tick) {
      platform->WaitForEvents(next_tick);
      continue;
    }
    // A tick that comes while an earlier one still runs is not delivered: after a long
    // tick (a whole race) the next one follows at once, not a burst of them.
    next_tick = std::max(next_tick + kTimerMs, now);
    game->Timer1_Timer();
    extras.AfterTick(*game);
  }
  return 0;
}
