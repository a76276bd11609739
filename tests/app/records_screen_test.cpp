// The records table by touch: a tap on a race picks it, a tap on the race picked watches
// it, and a tap anywhere else on the table does nothing.
#include "app/records_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "headless/headless_platform.h"
#include "replay/records.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

// A window whose table is tapped on the lines a script gives, one tap a pass; Escape once
// the script is done. What it was asked to show is written down: the race picked, or W
// for the table taken away to watch a race.
class ScriptedWindow final : public RecordsWindow {
 public:
  ScriptedWindow(HeadlessPlatform& screen, std::vector<int> taps, bool by_touch = false)
      : screen_(screen), taps_(std::move(taps)), by_touch_(by_touch) {}
  Platform& screen() override { return screen_; }
  void ShowPanel(std::vector<std::string> lines, int pick) override {
    lines_shown += lines.empty() ? "W" : std::to_string(pick);
    if (!lines.empty()) help = lines.back();
  }
  bool Between(Kelto1&) override {
    if (next_ < taps_.size()) tapped_ = taps_[next_];
    if (next_++ == taps_.size()) screen_.Tap(vk::kEscape);
    return next_ < 50;
  }
  void ShowReplayPaused(bool) override {}
  void ShowTitleLine(const std::string&) override {}
  int TakeTappedLine() override { return std::exchange(tapped_, -1); }
  bool ByTouch() override { return by_touch_; }

  std::string lines_shown;  // every change of what the window shows, in order
  std::string help;         // the table's last line

 private:
  HeadlessPlatform& screen_;
  std::vector<int> taps_;
  size_t next_ = 0;
  int tapped_ = -1;
  bool by_touch_;
};

struct Seen {
  std::string shown;    // the picks shown, the same one again written once; W: the table taken away
  std::string watched;  // the replays asked for, by the hour of their race
  std::string help;
};

Seen Tapped(const std::vector<int>& taps, bool by_touch = false) {
  HeadlessPlatform screen;
  Kelto1 game(screen);
  screen.files.files["/kelto1/records.txt"] = [] {
    const std::string table =
        "kelto1 records 1\n"
        "2026-12-11 08:00:00\tRacingCar\t7\t2\tGinza\t120\t400\t20261211-080000.k1r\n"
        "2026-12-11 09:00:00\tRacingCar\t9\t2\tGinza\t80\t400\t20261211-090000.k1r\n"
        "2026-12-11 10:00:00\tRacingCar\t12\t2\tGinza\t40\t400\t20261211-100000.k1r\n";
    return std::vector<uint8_t>(table.begin(), table.end());
  }();
  RecordsKeeper records(screen.files, "/kelto1", [] { return std::string("2026-12-11 11:00:00"); });
  ScriptedWindow window(screen, taps, by_touch);
  ShowRecords(window, game, &records);
  Seen seen;
  seen.help = window.help;
  for (char c : window.lines_shown)
    if (seen.shown.empty() || seen.shown.back() != c || c == 'W') seen.shown += c;
  // There are no replays: each watch ends in a line naming the file it could not read.
  for (const std::string& note : screen.notes)
    if (const size_t at = note.find("20261211-"); at != std::string::npos) seen.watched += note.substr(at + 9, 2) + " ";
  return seen;
}

TEST(RecordsByTouch, ATapPicksARaceAndASecondWatchesIt) {
  struct Case {
    const char* what;
    std::vector<int> taps;  // table lines, the heading line 0
    const char* shown;      // picks shown, W: the table taken away (to watch a race, and at the end)
    const char* watched;
  };
  const Case cases[] = {
      {"no tap", {}, "0W", ""},
      {"a tap on the second race picks it", {2}, "01W", ""},
      {"a second tap on it watches it", {2, 2}, "01W1W", "09 "},
      {"a tap on the race already picked watches it", {1}, "0W0W", "08 "},
      {"a tap on another race moves the pick", {3, 2, 2}, "021W1W", "09 "},
      {"the third race, watched twice", {3, 3, 3}, "02W2W2W", "10 10 "},
      {"the heading, the blank line and the help pick nothing", {0, 4, 5, -1}, "0W", ""},
      {"a line past the races picks nothing", {7, 40}, "0W", ""},
  };
  for (const Case& c : cases) {
    const Seen seen = Tapped(c.taps);
    EXPECT_EQ(seen.shown, c.shown) << c.what;
    EXPECT_EQ(seen.watched, c.watched) << c.what;
  }
}

// The help under the table names what the player has at hand: keys, or taps.
TEST(RecordsByTouch, TheHelpNamesTapsOnATouchScreenAndKeysElsewhere) {
  EXPECT_NE(Tapped({}, true).help.find("Tap a race: pick"), std::string::npos) << Tapped({}, true).help;
  EXPECT_EQ(Tapped({}, true).help.find("Enter"), std::string::npos);
  EXPECT_NE(Tapped({}, false).help.find("Enter: watch"), std::string::npos) << Tapped({}, false).help;
}

}  // namespace
}  // namespace kelto1
