// The game object: all state of the game, grouped by the subsystem that owns it, and
// every procedure of the game as one of its operations. Procedures live in the files of
// their subsystem (a reader finds ScrollCourse in course/road_scroller.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "audio/audio_state.h"
#include "course/course_state.h"
#include "input/input_state.h"
#include "platform/platform.h"
#include "platform/shown_window.h"
#include "replay/race_recorder.h"
#include "shell/numbers.h"
#include "shell/masked_sheet.h"
#include "platform/picture.h"
#include "shell/rng.h"
#include "shell/shell_state.h"
#include "platform/window_elements.h"
#include "traffic/traffic_state.h"
#include "vehicles/vehicle_state.h"

namespace kelto1 {

// Direction codes: the common answer of the keyboard and joystick readers.
namespace dir {
constexpr int16_t kNone = 0;
constexpr int16_t kLeft = 37;
constexpr int16_t kAccelerate = 38;
constexpr int16_t kRight = 39;
constexpr int16_t kBrake = 40;
}  // namespace dir

// The road picture the view is cut from: the view's width, two tile rows (64 pixels)
// taller, so that the view can be taken at any of the 32 scroll offsets of a row.
constexpr int kRoadPictureHeight = kViewHeight + 64;

// The frame delay that pacing uses for the one the player typed: at most a second, and
// none for a negative one, so that no number in the box can lock the game up. The box
// and the settings file keep what was typed.
constexpr int32_t kLongestFrameDelayMs = 1000;
constexpr int32_t PacedDelayMs(int32_t typed_ms) {
  return typed_ms < 0 ? 0 : typed_ms > kLongestFrameDelayMs ? kLongestFrameDelayMs : typed_ms;
}

// The game is also what the front end's boxes type into.
// What one reading of the joystick gives besides its position.
struct JoyReading {
  int16_t buttons = 0;  // twice the button mask, modulo 4096; 0 for masks from button 21
  int16_t error = 0;    // the position query's answer, 0 when it was read
};

class Kelto1 final : public BoxTexts {
 public:
  explicit Kelto1(Platform& platform);
  Kelto1(const Kelto1&) = delete;
  Kelto1& operator=(const Kelto1&) = delete;

  // ---- State, one struct per owning subsystem -------------------------------------
  ShellState shell{};
  Settings settings{};
  std::string SettingsPath;
  CourseState course{};
  std::array<std::string, 41> PlaceNames;  // 1..38 used
  VehicleState vehicles{};
  // The player's condition when the frame began, kept whole for the frame's damage count;
  // it means nothing between frames and is not part of the state hash.
  Int32 PlayerHitPointsAtStart;
  TrafficState traffic{};
  AudioState audio{};
  SoundBuffers sounds;
  InputState input{};

  // The window's elements and pictures.
  WindowElements window;
  Picture Display;    // the race view, kViewWidth x kViewHeight
  Picture Master;     // the road composition picture, kViewWidth x kRoadPictureHeight
  Picture Pattern;    // sprite sheet, 512 x 512
  Picture Masking;    // sprite mask sheet, 512 x 512
  Picture PatternSL;  // road tile sheet, 256 x 512
  Picture GameTitle;  // the title logo, 391 x 48

  Random random;
  // Every race is recorded; the game reaches the machine through the recorder.
  RaceRecorder recorder;
  Platform& platform;

  // Rnd: one draw of the game's generator.
  double Rnd() { return random.Next(); }
  // A hash over the whole game state: two runs that agree here agree everywhere.
  uint64_t StateHash() const;

  // ---- Shell: start-up, idle loop, race loop, readouts, settings --------------------
  void Form_Load();
  void Timer1_Timer();
  void ShowTitle();
  void GameOver();
  void CheckQuitKey();
  void RunRace();
  void PaceFrame();
  void Wait(int32_t ms);
  void StartRace();
  void CarSel_Change();
  void ShowHitPoints();
  void ShowTime();
  void LoadSettings();
  void SaveSettings();
  // Repaints one element (or the whole window): what it holds now goes on screen.
  void Repaint(Element e);
  // What the front end shows at a repaint.
  ShownWindow Shown() const;
  // ---- The boxes, as the front end types into them ------------------------------------
  const std::string& BoxText(Element box) const override { return window[box].text; }
  void BoxTyped(Element box, const std::string& text) override;
  // The frame delay the Gamewait box asks for, keeping the last valid one for a text
  // that is not a number.
  int32_t FrameDelayMs();
  // True once Escape has ended the program; every loop returns at once.
  bool Ended() const { return shell.Ended != 0; }
  // For the headless runner and tests: called before and after every race frame;
  // returning false after a frame leaves the race loop there.
  void SetBeforeFrame(std::function<void(Kelto1&)> hook) { before_frame_ = std::move(hook); }
  void SetAfterFrame(std::function<bool(Kelto1&)> hook) { after_frame_ = std::move(hook); }
  // For the soak: called in every DrivePlayer right after the steering has been limited,
  // before the road and the kerbs act on the car.
  void SetAfterSteering(std::function<void(const Kelto1&)> hook) { after_steering_ = std::move(hook); }

  // ---- Course ----------------------------------------------------------------------
  void BuildCourseTables();
  void AppendPatternRow(const std::array<uint8_t, 32>& values);
  void AppendSectionRow(const uint8_t* values, int count);
  void AppendCourseStep(const uint8_t* values, int count);
  void FillPlaceNames(const char* const* names, int count);
  void ExpandCourse();
  void ScrollCourse();
  void DrawTile(uint8_t tile, int16_t x, int16_t y, Picture& target);
  void BuildInitialRoad();

  // ---- Vehicles ----------------------------------------------------------------------
  void BuildSpriteTables();
  void AppendWordList(Int16* target, const int16_t* values, int count);
  void DrivePlayer();
  void CheckPlayerTiles();
  void CheckVehicleTiles(uint8_t i, int16_t prevX);
  void QueueSprite(uint8_t sprite, int16_t x, int16_t y);
  void DrawQueuedSprites();
  void DrawSprite(uint8_t widthCells, uint8_t heightCells, int16_t firstIndex, int16_t x, int16_t y, Picture& target);
  void BlitSprite(uint8_t cell, int16_t x, int16_t y, Picture& target);
  void CollideWithTraffic();
  void ReactToDamage();

  // ---- Traffic and roadside ----------------------------------------------------------
  void UpdateSignals();
  void SpawnTraffic();
  // Traffic vehicles on the road now (records 1..28; the player's is not counted).
  int ActiveTrafficCount() const;
  void MoveTraffic();
  void CollectPickups();
  void SpawnWreckDebris();
  void AnimateDebris();

  // ---- Sound and music ---------------------------------------------------------------
  void LoadSounds();
  void PlaySound(int32_t index);
  void TickSoundCooldowns();
  void StartMusic();
  void StopMusic();
  void KeepMusicPlaying();

  // ---- Keyboard and joystick ---------------------------------------------------------
  // The joystick's capabilities answer (0: there is one); its rest position is kept.
  int16_t InitJoystick();
  // Reads joystick id into input.Joy.
  JoyReading ReadJoystick(int16_t id);
  int16_t ReadJoystickSteer();
  int16_t ReadJoystickPedals();
  int16_t ReadSteerKeys();
  int16_t ReadPedalKeys();

 private:
  // Masking and Pattern as runs ready to draw, worked out again when either changes.
  MaskedSheet sprite_cells_;
  std::function<void(Kelto1&)> before_frame_;
  std::function<bool(Kelto1&)> after_frame_;
  std::function<void(const Kelto1&)> after_steering_;
};

}  // namespace kelto1
