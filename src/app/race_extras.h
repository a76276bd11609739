// What every edition keeps around its races that the original never kept: the records
// table each decided race enters, and the ghost of the best one (or of a named replay)
// driving beside the player. Neither changes a race.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/ghost.h"
#include "replay/records.h"

namespace kelto1 {

class Kelto1;

// The local date and time, "YYYY-MM-DD HH:MM:SS", for the records table.
std::string LocalTimeText();

// kelto1 --records: prints the table from where the game keeps its settings (beside the
// program when it may write there, else the player's own folder), and its problems.
int PrintRecords(FileStore& files, const std::string& program_folder, const std::string& user_folder);

class RaceExtras {
 public:
  explicit RaceExtras(Platform& screen) : overlay_(screen) {}
  // The machine the game is to be made with: the screen, with the ghost drawn in.
  Platform& platform() { return overlay_; }

  // After the game's start-up: the records beside its settings, and the ghost of
  // ghost_file, or else of the best race in the table. Problems are told in one line.
  void Start(Kelto1& game, const std::string& ghost_file);
  // After every idle tick: a race that ended may have set a new best, whose ghost then
  // drives from the next race on.
  void AfterTick(const Kelto1& game);

  // Ghosts are traced here and now rather than on a thread, for a machine without
  // threads; between is called every so many frames of the tracing (before Start).
  void TraceHere(std::function<void()> between) {
    trace_here_ = true;
    between_ = std::move(between);
  }

  GhostOverlay& ghost() { return overlay_; }
  RecordsKeeper* records() { return records_ ? &*records_ : nullptr; }

 private:
  void FollowBest();

  GhostOverlay overlay_;
  std::optional<RecordsKeeper> records_;
  bool trace_here_ = false;
  std::function<void()> between_;
  bool named_ghost_ = false;
  std::string ghost_of_;
  uint32_t races_seen_ = 0;
};

}  // namespace kelto1
