// The Windows machine under the game, on the Win32 API alone: a window painted with
// StretchDIBits, the window's keyboard messages, the joystick through joyGetPosEx, the
// effects through PlaySound, the tune through the MCI sequencer, and the files in
// %APPDATA%\Kelto1. Window messages are taken whenever the game asks for keys or time,
// so input stays live inside the blocking race loop; keys and clicks wait in the
// window's queue until the game returns, and the boxes get what the game's flushes left.
// The header leaves <windows.h> out: its macros take names the game's headers use.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frontend/edit_boxes.h"
#include "frontend/frame_pacer.h"
#include "frontend/key_state.h"
#include "frontend/player_choices.h"
#include "frontend/preferences.h"
#include "frontend/race_pause.h"
#include "frontend/scaling.h"
#include "frontend/screen_picture.h"
#include "frontend/text_painter.h"
#include "frontend/window_messages.h"
#include "platform/disk_files.h"
#include "platform/music_commands.h"
#include "platform/platform.h"
#include "platform/shown_window.h"
#include "win32/game_pad.h"
#include "win32/mci_tune.h"
#include "win32/wav_effects.h"
#include "win32/win32_keys.h"

namespace kelto1 {

// Milliseconds on the high-resolution counter.
uint64_t TicksNow();

struct WindowEvents;

// The folder kelto1.exe was started from.
std::string ExecutableFolder();

class Win32Platform final : public Platform {
 public:
  // Opens the (hidden) window; nothing, with the reason, when it cannot be made. The
  // painter draws the window's texts and must outlive the platform.
  static std::unique_ptr<Win32Platform> Create(TextPainter& painter, std::string& error);
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // ---- Platform --------------------------------------------------------------------
  uint32_t GetTickCount() override;
  void Idle(uint32_t remaining_ms) override;
  bool QuitWanted() override;
  int16_t GetAsyncKeyState(int virtual_key) override;
  void DiscardKeyMessage() override;
  void Repaint(const ShownWindow& shown, Element which) override;
  void CentreWindow() override;
  std::string ProgramFolder() override { return program_folder_; }
  std::string UserDataFolder() override { return DefaultUserDataFolder(); }
  void Note(const std::string& line) override;
  FileStore& Files() override { return files_; }
  uint32_t JoyGetPos(uint32_t id, JoyPosition& position) override;
  uint32_t JoyGetDevCaps(uint32_t id) override;
  void PlaySoundFromMemory(const std::vector<uint8_t>& image) override { effects_.Play(image); }
  int32_t SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) override {
    return music_.Send(command, reply, reply_length);
  }
  void EndProgram() override;

  // ---- Between the game's ticks ------------------------------------------------------
  // Window messages, the queued messages for the boxes, and the picture when it changed.
  void HandleEvents(BoxTexts& texts);
  // Sleeps until a message comes or the counter reaches tick.
  void WaitForEvents(uint64_t tick);
  bool ended() const { return ended_; }
  // Makes the tune ready and sets the sound's levels as the player left them.
  void OpenAudio();
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
  explicit Win32Platform(TextPainter& painter);
  bool Open(std::string& error);
  friend struct WindowEvents;  // the window procedure, in the source file
  intptr_t Handle(unsigned message, uintptr_t w, intptr_t l);
  bool Key(unsigned message, uintptr_t w, intptr_t l);
  void Pump();
  void PumpIfDue();
  void Present();
  void PaintTo(void* dc);
  void ClientSize(int& width, int& height) const;
  Point ToPicture(intptr_t l) const;
  void SetFullScreen(bool on);
  // The game's time: the counter less the race's pauses.
  uint64_t GameNow() const;
  // While the race is paused: shows the window and waits, until it is resumed or the
  // person wants to stop.
  void WaitWhilePaused();
  void SetPaused(bool on);
  // A key bound to one of the front end's own actions was pressed.
  void Do(Action action);
  void TakeScreenshot();
  void ApplySoundLevels();
  Overlay CurrentOverlay() const;
  // The picture made Sharp's way: enlarged by whole pixels, then smoothed to its place.
  void PaintSharply(void* dc, const Rect& at, int prescale);
  bool CaretOn() const;
  void SleepUntilOrQuit(uint64_t tick);
  void SleepAtMost(uint32_t ms);
  bool PadPosition(JoyPosition& position);

  TextPainter& painter_;
  void* window_ = nullptr;  // the HWND
  DiskFileStore files_;
  ScreenPicture screen_;
  EditBoxes boxes_;
  KeyState keys_;
  MessageQueue queue_;
  FramePacer pacer_;
  TypedCharacters typed_;
  WavEffects effects_;
  MciTune tune_;
  MusicCommands music_;
  PreferencesFile prefs_;
  RacePause pause_{keys_};
  VehicleMemory vehicle_;
  OverlayState overlay_;

  std::optional<ShownWindow> shown_;
  std::string program_folder_;
  int windowed_[4] = {};  // where the window was before full screen: left, top, width, height
  uint64_t last_pump_ = UINT64_MAX;
  uint64_t caret_since_ = 0;
  bool caret_shown_ = false;
  bool full_screen_ = false;
  bool shown_once_ = false;
  bool timer_period_set_ = false;
  bool dirty_ = false;
  bool waited_since_shown_ = false;
  bool close_requested_ = false;
  bool ended_ = false;
  bool in_race_ = false;     // a race (or a replay) runs: keys are the driver's
  bool drop_text_ = false;   // the key just pressed did something: it types nothing
  // The sharp fit's enlarged picture, kept between paints (a memory DC and its bitmap).
  void* sharp_dc_ = nullptr;
  void* sharp_bitmap_ = nullptr;
  int sharp_prescale_ = 0;
  // XInputGetState, once looked for (nullptr: Windows has no XInput).
  void (*pad_state_)() = nullptr;
  bool pad_looked_for_ = false;
  // KELTO1_TIMINGS set: one line at the end tells how many race views were shown a
  // second, and how much of one processor core the program took meanwhile.
  bool tell_timings_ = false;
  uint64_t views_ = 0;
  uint64_t first_view_at_ = 0;
  uint64_t processor_ms_at_first_view_ = 0;
};

}  // namespace kelto1
