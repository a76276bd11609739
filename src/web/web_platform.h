// The machine under the game in a web page: the clock from performance.now, waits that
// give the browser its turn (Asyncify), the page's keys and gamepad, the window drawn
// into a canvas, WebAudio, and files kept in the browser's storage. Around the game: the
// player's remembered choices, the pause, the volumes and the records table's panel.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "platform/music_commands.h"
#include "platform/platform.h"
#include "platform/shown_window.h"
#include "frontend/frame_pacer.h"
#include "frontend/key_bindings.h"
#include "frontend/preferences.h"
#include "frontend/player_choices.h"
#include "frontend/screen_picture.h"
#include "web/atlas_text_painter.h"
#include "web/browser_files.h"
#include "web/browser_keys.h"
#include "web/browser_tune.h"

namespace kelto1 {

class WebPlatform final : public Platform {
 public:
  static constexpr const char* kFolder = "/kelto1";

  WebPlatform();

  uint32_t GetTickCount() override;
  void Idle(uint32_t remaining_ms) override;
  bool QuitWanted() override;
  int16_t GetAsyncKeyState(int virtual_key) override;
  void DiscardKeyMessage() override {}
  void Repaint(const ShownWindow& shown, Element which) override;
  void CentreWindow() override {}  // the page centres the canvas
  std::string ProgramFolder() override { return kFolder; }
  std::string UserDataFolder() override { return ""; }
  void Note(const std::string& line) override;
  FileStore& Files() override { return files_; }
  uint32_t JoyGetPos(uint32_t id, JoyPosition& position) override;
  uint32_t JoyGetDevCaps(uint32_t id) override;
  void PlaySoundFromMemory(const std::vector<uint8_t>& image) override;
  int32_t SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) override;
  void EndProgram() override { ended_ = true; }

  // Escape ended the game: a new one starts at the title, with no key pending.
  bool ended() const { return ended_; }
  void StartAgain();
  // Shows what was repainted since the last time it was shown.
  void Present();

  // Between the game's ticks the title screen shows: no race runs, so none is paused;
  // the remembered vehicle is offered once, then the one chosen is remembered.
  void BetweenTicks(BoxTexts& texts);
  // One of the page's own actions, from its keys or its controls (pause, mute, ghost).
  void Do(Action action);
  // The volumes set on the page, per cent.
  void SetVolumes(int music, int effects);
  // The page was hidden or lost the keyboard: a race waits for the player.
  void PageLeft();
  bool ghost_shown() const { return prefs_.ghost; }
  // A touch screen: the title screen names no keys.
  void UseTouch() {
    touch_ = true;
    dirty_ = true;
  }
  bool touch() const { return touch_; }
  // The records table's lines over the view, the line picked highlighted (no lines: the
  // view again); a replay paused with Space; how a replay went, on the title screen.
  void ShowPanel(std::vector<std::string> lines, int pick);
  // A tap on the picture at (x, y) in its pixels; while the table shows, the line it landed
  // on is kept until asked for (-1: none since the last time).
  void Tapped(int x, int y);
  int TakeTappedLine() { return std::exchange(tapped_line_, -1); }
  void ShowReplayPaused(bool paused);
  void ShowTitleLine(const std::string& line);

 private:
  // While the race is paused: shows the page and gives the browser its turn, until it is
  // resumed or Escape ends the game.
  void WaitWhilePaused();
  void SetPaused(bool on);
  void SaveChoices();
  void ApplyVolumes();
  Overlay CurrentOverlay() const;

  BrowserFiles files_;
  BrowserKeys keys_;
  BrowserTune tune_;
  MusicCommands music_{tune_, [this](const std::string& line) { Note("kelto1: " + line); }};
  ScreenPicture screen_;
  AtlasTextPainter painter_;
  FramePacer pacer_;
  std::optional<ShownWindow> shown_;
  Preferences prefs_;
  Preferences saved_prefs_;  // as they are in the storage
  bool in_race_ = false;          // a race (or a replay) runs
  VehicleMemory vehicle_;
  bool touch_ = false;
  bool replay_paused_ = false;
  std::string title_line_;
  std::vector<std::string> panel_;
  int panel_pick_ = -1;
  int tapped_line_ = -1;
  bool dirty_ = false;
  bool ended_ = false;
  bool gamepad_seen_ = false;
  int32_t rest_raw_x_ = 0;
  std::vector<std::vector<uint8_t>> crash_sounds_;  // the files, as read at start-up
};

}  // namespace kelto1
