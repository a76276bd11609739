// The desktop machine under the game: SDL2's window, keyboard, joystick, clock and sound.
// Window events are taken whenever the game asks for keys or time, so input stays live
// inside the blocking race loop; keys and clicks wait in the window's queue until the
// game returns, and the boxes get what the game's flushes left.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/disk_files.h"
#include "platform/platform.h"
#include "platform/shown_window.h"
#include "frontend/edit_boxes.h"
#include "frontend/frame_pacer.h"
#include "frontend/key_bindings.h"
#include "frontend/key_state.h"
#include "frontend/race_pause.h"
#include "frontend/player_choices.h"
#include "frontend/preferences.h"
#include "frontend/screen_picture.h"
#include "sdl/sdl_audio.h"
#include "sdl/sdl_fonts.h"
#include "sdl/sdl_joystick.h"
#include "sdl/sdl_video.h"
#include "frontend/window_messages.h"

namespace kelto1 {

class SdlPlatform final : public Platform {
 public:
  // Starts SDL, opens the (hidden) window, the fonts and the first joystick. Nothing,
  // with the reason, when there is no display or the window cannot be made.
  static std::unique_ptr<SdlPlatform> Create(std::string& error);
  // The folder the program was started from (no trailing slash).
  static std::string ExecutableFolder();
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // The window's icon, from a PNG file's bytes.
  void SetWindowIcon(std::span<const uint8_t> png) { video_.SetIcon(png); }
  // Opens the sound device and makes the tune ready; without a device the game runs
  // silently.
  void OpenAudio();
  // Decodes the game's sound effects, so that none is decoded in the middle of a race.
  void PrepareSounds(std::span<const std::vector<uint8_t>> images);

  // ---- Platform --------------------------------------------------------------------
  uint32_t GetTickCount() override;
  void Idle(uint32_t remaining_ms) override;
  bool QuitWanted() override;
  int16_t GetAsyncKeyState(int virtual_key) override;
  void DiscardKeyMessage() override;
  void Repaint(const ShownWindow& shown, Element which) override;
  void CentreWindow() override;
  std::string ProgramFolder() override;
  std::string UserDataFolder() override { return DefaultUserDataFolder(); }
  void Note(const std::string& line) override;
  FileStore& Files() override { return files_; }
  uint32_t JoyGetPos(uint32_t id, JoyPosition& position) override;
  uint32_t JoyGetDevCaps(uint32_t id) override;
  void PlaySoundFromMemory(const std::vector<uint8_t>& image) override { audio_.PlayWav(image); }
  int32_t SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) override {
    return audio_.MusicCommand(command, reply, reply_length);
  }
  void EndProgram() override;

  // ---- Between the game's ticks ------------------------------------------------------
  // Window events, the queued messages for the boxes, and the picture when it changed.
  void HandleEvents(BoxTexts& texts);
  // Sleeps until an event comes or the counter reaches tick.
  void WaitForEvents(uint64_t tick);
  bool ended() const { return ended_; }
  // Frames shown so far (the pacing benchmark counts them).
  uint64_t presents() const { return presents_; }
  // Seconds spent in SDL's renderer so far (the benchmark tells it apart from ours).
  double render_seconds() const { return video_.render_seconds(); }
  // A line shown on the title screen below its texts (how a replay went), until the
  // next race.
  void ShowTitleLine(const std::string& line);
  // A replay being watched was paused or resumed with Space.
  void ShowReplayPaused(bool paused);
  // A table over the view (the records), its first line a heading, the line picked
  // highlighted; while it shows, no key types into the title screen's boxes. No lines:
  // the view again.
  void ShowPanel(std::vector<std::string> lines, int pick);
  // Whether the player wants the ghost shown (G switches it, and it is remembered).
  bool ghost_shown() const { return prefs_.prefs().ghost; }
  // Writes the remembered choices if any changed.
  void SavePreferences() { prefs_.SaveIfChanged(); }

 private:
  // Started first and stopped last, so SDL outlives everything that uses it.
  struct Session {
    ~Session();
    bool video = false, joystick = false, ttf = false;
  };

  SdlPlatform();
  bool Start(std::string& error);
  bool StartVideo(std::string& error);
  void Pump();
  void PumpIfDue();
  void Handle(const SDL_Event& event);
  void Present();
  bool CaretOn() const;
  // Sleeps until tick, watching the window, unless the person wants to stop first.
  void SleepUntilOrQuit(uint64_t tick);
  void NoteBanner();
  void RequestClose(uint64_t at);
  // The game's time: the tick counter less the race's pauses.
  uint64_t GameNow() const;
  // While the race is paused: shows the window and waits, until it is resumed or the
  // person wants to stop.
  void WaitWhilePaused();
  void SetPaused(bool on);
  // A key bound to one of the front end's own actions was pressed.
  void Do(Action action);
  void TakeScreenshot();
  void KeyEvent(const SDL_KeyboardEvent& key, bool down);
  Overlay CurrentOverlay() const;
  // Between ticks: offers the remembered vehicle once, then remembers the one chosen.
  void FollowVehicle(BoxTexts& texts);

  Session session_;
  Video video_;
  TtfTextPainter painter_;
  Joystick joystick_;
  SdlAudio audio_;
  DiskFileStore files_;
  ScreenPicture screen_;
  EditBoxes boxes_;
  KeyState keys_;
  MessageQueue queue_;
  FramePacer pacer_;
  PreferencesFile prefs_;
  RacePause pause_{keys_};
  VehicleMemory vehicle_;
  OverlayState overlay_;

  // The game's window, from its first repaint on.
  std::optional<ShownWindow> shown_;
  std::string program_folder_;
  uint64_t last_pump_ = UINT64_MAX;
  uint64_t last_present_ = 0;
  uint64_t caret_since_ = 0;
  uint64_t presents_ = 0;
  bool caret_shown_ = false;
  bool dirty_ = false;
  bool exposed_ = false;
  bool waited_since_shown_ = false;
  bool close_requested_ = false;
  bool ended_ = false;
  bool in_race_ = false;          // a race (or a replay) runs: keys are the driver's
  bool drop_text_ = false;        // the key just pressed did something: it types nothing
  // KELTO1_TIMINGS set: one line each race tells how long the GET READY banner stayed
  // on screen after Ctrl, and one at the end how long it took after Escape or the
  // request to close.
  bool tell_timings_ = false;
  bool banner_on_screen_ = false;
  uint64_t ctrl_pressed_at_ = 0;
  uint64_t banner_shown_at_ = 0;
  uint64_t end_asked_at_ = 0;  // Escape or a close request first seen
};

}  // namespace kelto1
