// The records table and the ghost, wired to a game the same way on every edition.
#include "app/race_extras.h"

#include <cstdio>
#include <ctime>

#include "replay/replay_file.h"
#include "shell/kelto1.h"

namespace kelto1 {

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The ghost's race, traced beside the window (or here, when between is given).
std::shared_ptr<const GhostTracing> GhostOf(FileStore& files, const std::string& file, std::string& why,
                                            const std::function<void()>* between) {
  bool too_big = false;
  const std::optional<std::vector<uint8_t>> bytes = files.ReadAtMost(file, kMaxReplayFileSize, too_big);
  if (!bytes) {
    why = too_big ? "too large to be a replay" : "cannot be read";
    return nullptr;
  }
  return between ? GhostTracing::TraceNow(*bytes, why, *between) : GhostTracing::Start(*bytes, why);
}

}  // namespace

std::string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[32] = "1970-01-01 00:00:00";
#ifdef _WIN32
  const bool known = localtime_s(&local, &now) == 0;
#else
  const bool known = localtime_r(&now, &local) != nullptr;
#endif
  if (known) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

int PrintRecords(FileStore& files, const std::string& program_folder, const std::string& user_folder) {
  const std::string folder = files.FolderWritable(program_folder) ? program_folder : user_folder;
  RecordsKeeper keeper(files, folder, LocalTimeText);
  const DecodedRecords loaded = keeper.Load();
  for (const std::string& problem : loaded.problems)
    std::fprintf(stderr, "kelto1: %s %s\n", keeper.table_path().c_str(), problem.c_str());
  std::fputs(RecordsListing(loaded.table, keeper.table_path()).c_str(), stdout);
  return 0;
}

void RaceExtras::Start(Kelto1& game, const std::string& ghost_file) {
  overlay_.Follow(game);
  if (!game.SettingsPath.empty()) {
    records_.emplace(overlay_.Files(), FolderOf(game.SettingsPath), LocalTimeText);
    game.recorder.set_records(&*records_);
  }
  races_seen_ = game.recorder.races_ended();
  named_ghost_ = !ghost_file.empty();
  if (named_ghost_) {
    std::string why;
    overlay_.SetTrack(GhostOf(overlay_.Files(), ghost_file, why, trace_here_ ? &between_ : nullptr));
    if (!why.empty()) overlay_.Note("kelto1: no ghost from " + ghost_file + ": " + why);
    return;
  }
  FollowBest();
}

void RaceExtras::AfterTick(const Kelto1& game) {
  if (game.recorder.races_ended() == races_seen_) return;
  races_seen_ = game.recorder.races_ended();
  if (!named_ghost_) FollowBest();
}

void RaceExtras::FollowBest() {
  if (!records_) return;
  const DecodedRecords table = records_->Load();
  const std::string best = table.table.empty() ? "" : records_->replay_path(table.table.front().replay);
  if (best == ghost_of_) return;
  ghost_of_ = best;
  std::string why;
  overlay_.SetTrack(best.empty() ? nullptr : GhostOf(overlay_.Files(), best, why, trace_here_ ? &between_ : nullptr));
  if (!why.empty()) overlay_.Note("kelto1: no ghost from " + best + ": " + why);
}

}  // namespace kelto1
