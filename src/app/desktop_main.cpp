// kelto1: the game on the desktop. Start-up, the window shown, then the 20 ms timer
// that drives the idle loop, with the window's events handled between its ticks.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/ghost.h"
#include "app/replay_viewer.h"
#include "platform/disk_files.h"
#include "replay/records.h"
#include "replay/replay_file.h"
#include "sdl/sdl_platform.h"
#include "sdl/sdl_timer.h"
#include "shell/artwork.h"
#include "shell/kelto1.h"

namespace {
constexpr uint64_t kTimerMs = 20;

std::string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[32] = "1970-01-01 00:00:00";
  if (localtime_r(&now, &local)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// kelto1 --records: the table from beside the settings, where the game would keep them.
int PrintRecords() {
  kelto1::DiskFileStore files;
  const std::string program = kelto1::SdlPlatform::ExecutableFolder();
  const std::string folder = files.FolderWritable(program) ? program : kelto1::DefaultUserDataFolder();
  kelto1::RecordsKeeper keeper(files, folder, LocalTimeText);
  const kelto1::DecodedRecords loaded = keeper.Load();
  for (const std::string& problem : loaded.problems)
    std::fprintf(stderr, "kelto1: %s %s\n", keeper.table_path().c_str(), problem.c_str());
  std::fputs(kelto1::RecordsListing(loaded.table, keeper.table_path()).c_str(), stdout);
  return 0;
}

// The ghost's race, traced beside the window: the named replay, or the best race of the
// records table.
std::shared_ptr<const kelto1::GhostTracing> GhostOf(const std::string& file, std::string& why) {
  bool too_big = false;
  const std::optional<std::vector<uint8_t>> bytes =
      kelto1::DiskFileStore().ReadAtMost(file, kelto1::kMaxReplayFileSize, too_big);
  if (!bytes) {
    why = too_big ? "too large to be a replay" : "cannot be read";
    return nullptr;
  }
  return kelto1::GhostTracing::Start(*bytes, why);
}
}  // namespace

int main(int argc, char** argv) {
  const kelto1::CommandLine command = kelto1::ParseCommandLine(argc, argv);
  if (command.action == kelto1::CommandLine::Action::Exit) {
    std::fputs(command.text.c_str(), command.exit_code == 0 ? stdout : stderr);
    return command.exit_code;
  }
  if (command.action == kelto1::CommandLine::Action::Records) return PrintRecords();
#ifdef NDEBUG
  // A value out of its field's range is clamped in play, and told once on stderr.
  kelto1::SetRangeFaultMode(kelto1::RangeFaultMode::Clamp);
#endif
  // kelto1 --replay FILE: plays a recorded race in the window, then ends.
  std::optional<std::vector<uint8_t>> replay;
  if (command.action == kelto1::CommandLine::Action::Replay) {
    // Nothing larger than a replay can be is read at all.
    bool too_big = false;
    replay = kelto1::DiskFileStore().ReadAtMost(command.replay_file, kelto1::kMaxReplayFileSize, too_big);
    std::string why = replay ? "" : too_big ? "too large to be a replay" : "cannot be read";
    if (replay && !kelto1::DecodeReplay(*replay, why)) replay.reset();
    if (!replay) {
      std::fprintf(stderr, "kelto1: %s: %s\n", command.replay_file.c_str(), why.c_str());
      return 2;
    }
  }
  std::string error;
  std::unique_ptr<kelto1::SdlPlatform> platform = kelto1::SdlPlatform::Create(error);
  if (!platform) {
    std::fprintf(stderr, "kelto1: %s\n", error.c_str());
    return 1;
  }
  if (const kelto1::EmbeddedFile icon = kelto1::FindEmbeddedAsset("icon.png"); icon.data)
    platform->SetWindowIcon({icon.data, icon.size});
  platform->OpenAudio();
  if (replay) {
    const kelto1::WatchResult watched =
        kelto1::WatchReplay(*platform, *replay, [&](bool paused) { platform->ShowReplayPaused(paused); });
    std::fprintf(stderr, "kelto1: %s\n", watched.line.c_str());
    return !watched.played ? 2 : watched.diverged ? 1 : 0;
  }
  // The ghost is drawn on the way to the screen, below the recorder, so no race sees it.
  kelto1::GhostOverlay ghost(*platform);
  auto game = std::make_unique<kelto1::Kelto1>(ghost);
  ghost.Follow(*game);
  game->Form_Load();
  // Every decided race goes into the records table beside the settings, if it makes it.
  std::optional<kelto1::RecordsKeeper> records;
  if (!game->SettingsPath.empty()) {
    records.emplace(platform->Files(), FolderOf(game->SettingsPath), LocalTimeText);
    game->recorder.set_records(&*records);
  }
  // The best race's ghost follows the table: traced again whenever a new best comes in.
  std::string ghost_of;
  const auto follow_best = [&] {
    if (!command.ghost_file.empty() || !records) return;
    const kelto1::DecodedRecords table = records->Load();
    const std::string best = table.table.empty() ? "" : records->replay_path(table.table.front().replay);
    if (best == ghost_of) return;
    ghost_of = best;
    std::string why;
    ghost.SetTrack(best.empty() ? nullptr : GhostOf(best, why));
    if (!why.empty()) platform->Note("kelto1: no ghost from " + best + ": " + why);
  };
  if (!command.ghost_file.empty()) {
    std::string why;
    ghost.SetTrack(GhostOf(command.ghost_file, why));
    if (!why.empty()) platform->Note("kelto1: no ghost from " + command.ghost_file + ": " + why);
  }
  follow_best();
  uint32_t races_seen = 0;
  platform->PrepareSounds(game->sounds.SoundData);
  game->Repaint(kelto1::Element::Window);  // the window appears once start-up is done

  uint64_t next_tick = kelto1::TicksNow() + kTimerMs;
  while (!platform->ended()) {
    platform->HandleEvents(*game);
    // F2 on the title screen replays the last race. Asked every pass, so that a press
    // made during a race is used up before the title screen shows.
    if (platform->GetAsyncKeyState(kelto1::vk::kF2) != 0 && game->window[kelto1::Element::GameTitle].visible)
      platform->ShowTitleLine(
          kelto1::ReplayFromTitle(*platform, *game, [&](bool paused) { platform->ShowReplayPaused(paused); }).line);
    const uint64_t now = kelto1::TicksNow();
    if (now < next_tick) {
      platform->WaitForEvents(next_tick);
      continue;
    }
    // A tick that comes while an earlier one still runs is not delivered: after a long
    // tick (a whole race) the next one follows at once, not a burst of them.
    next_tick = std::max(next_tick + kTimerMs, now);
    game->Timer1_Timer();
    if (game->recorder.races_ended() != races_seen) {
      races_seen = game->recorder.races_ended();
      follow_best();
    }
  }
  return 0;
}
