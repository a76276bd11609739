#include "app/records_screen.h"

#include <algorithm>

#include "app/replay_viewer.h"
#include "replay/records.h"
#include "shell/kelto1.h"

namespace kelto1 {

namespace {

constexpr int kTableKeys[] = {vk::kDown, vk::kUp, vk::kReturn, vk::kEscape, vk::kF3};

// Whether a key was pressed since it was last asked about.
bool Pressed(Platform& p, int key) { return (p.GetAsyncKeyState(key) & 1) != 0; }

void ForgetPresses(RecordsWindow& window) {
  for (int key : kTableKeys) Pressed(window.screen(), key);
  window.TakeTappedLine();
}

}  // namespace

void ShowRecords(RecordsWindow& window, Kelto1& game, RecordsKeeper* records) {
  Platform& screen = window.screen();
  ForgetPresses(window);  // only new presses count
  int pick = 0;
  bool open = true;
  while (open) {
    const DecodedRecords loaded = records ? records->Load() : DecodedRecords{};
    const std::vector<RaceRecord>& table = loaded.table;
    pick = table.empty() ? -1 : std::clamp(pick, 0, static_cast<int>(table.size()) - 1);
    window.ShowPanel(RecordsPanelLines(table, window.ByTouch()), pick);
    if (!window.Between(game)) break;
    if (Pressed(screen, vk::kEscape) || Pressed(screen, vk::kF3)) break;
    if (Pressed(screen, vk::kDown)) ++pick;
    if (Pressed(screen, vk::kUp)) --pick;
    pick = table.empty() ? -1 : std::clamp(pick, 0, static_cast<int>(table.size()) - 1);
    bool watch = Pressed(screen, vk::kReturn);
    // The table's lines after its heading are its races.
    if (const int race = window.TakeTappedLine() - 1; race >= 0 && race < static_cast<int>(table.size())) {
      watch = race == pick;
      pick = race;
    }
    if (watch && pick >= 0) {
      window.ShowPanel({}, -1);
      const WatchResult watched =
          ReplayFromTitle(screen, game, [&](bool paused) { window.ShowReplayPaused(paused); },
                          records->replay_path(table[static_cast<size_t>(pick)].replay));
      if (watched.played && !watched.diverged) window.ShowTitleLine(watched.line);
      ForgetPresses(window);
    }
  }
  window.ShowPanel({}, -1);
  // Escape that closed the table must not end the game at the next tick.
  while (screen.GetAsyncKeyState(vk::kEscape) != 0 && window.Between(game)) {
  }
}

}  // namespace kelto1
