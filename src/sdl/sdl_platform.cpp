// The desktop machine under the game.
#include "sdl/sdl_platform.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "sdl/display_message.h"
#include "sdl/sdl_keys.h"
#include "sdl/sdl_timer.h"
#include "frontend/player_choices.h"
#include "frontend/screenshot.h"

namespace kelto1 {

namespace {
constexpr uint64_t kCaretBlinkMs = 530;
// Sleeps inside the game's waits are cut into pieces this long, so that a long wait
// still notices the window being closed or uncovered.
constexpr uint32_t kLongestSleepMs = 20;
// While paused the window is looked at this often.
constexpr int kPausedWaitMs = 100;

void NoteLine(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

// The player's pictures folder as xdg-user-dir tells it, empty without the tool.
std::string PicturesFolder() {
  std::string folder;
  if (FILE* p = popen("xdg-user-dir PICTURES 2>/dev/null", "r")) {
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, p)) folder += buffer;
    pclose(p);
  }
  while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
  return folder;
}
}  // namespace

SdlPlatform::SdlPlatform() : boxes_(painter_), prefs_(files_, DefaultPreferencesPath(), NoteLine) {}

SdlPlatform::Session::~Session() {
  if (ttf) TTF_Quit();
  if (joystick) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  if (video) SDL_Quit();
}

std::unique_ptr<SdlPlatform> SdlPlatform::Create(std::string& error) {
  std::unique_ptr<SdlPlatform> p(new SdlPlatform());
  if (!p->Start(error)) return nullptr;
  return p;
}

SdlPlatform::~SdlPlatform() = default;

bool SdlPlatform::Start(std::string& error) {
  if (!StartVideo(error)) return false;
  if (TTF_Init() != 0) {
    error = std::string("cannot start the text drawing: ") + TTF_GetError();
    return false;
  }
  session_.ttf = true;
  if (!video_.Open(error) || !painter_.Open(error)) return false;
  // A machine without joystick support plays on the keyboard alone.
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0) {
    session_.joystick = true;
    joystick_.OpenFirst();
  }
  program_folder_ = ExecutableFolder();
  video_.SetScaleMode(prefs_.prefs().scaling);
  tell_timings_ = SDL_getenv("KELTO1_TIMINGS") != nullptr;
  return true;
}

void SdlPlatform::OpenAudio() {
  const Preferences& p = prefs_.prefs();
  audio_.SetLevels(p.music_volume, p.effects_volume, p.muted);
  if (audio_.Open()) audio_.PrepareTune(program_folder_ + "/bgm.mid");
}

void SdlPlatform::PrepareSounds(std::span<const std::vector<uint8_t>> images) {
  for (const std::vector<uint8_t>& image : images) audio_.PrepareWav(image);
}

bool SdlPlatform::StartVideo(std::string& error) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  const char* display = SDL_getenv("DISPLAY");
  const char* wayland_display = SDL_getenv("WAYLAND_DISPLAY");
  const bool asked_for_driver = SDL_getenv("SDL_VIDEODRIVER") != nullptr;
  if (!asked_for_driver && !display && !wayland_display) {
    error = NoDisplayMessage(display, wayland_display, "");
    return false;
  }
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = NoDisplayMessage(display, wayland_display, SDL_GetError());
    return false;
  }
  session_.video = true;
  // SDL falls back to drawing into memory when it finds no display; only the pacing
  // benchmark asks for that on purpose, by naming the driver.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!asked_for_driver && (driver == "offscreen" || driver == "dummy")) {
    error = NoDisplayMessage(display, wayland_display, "");
    return false;
  }
  return true;
}

std::string SdlPlatform::ExecutableFolder() {
  std::string folder;
  if (char* base = SDL_GetBasePath()) {
    folder = base;
    SDL_free(base);
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder.empty() ? "." : folder;
}

std::string SdlPlatform::ProgramFolder() { return program_folder_; }

void SdlPlatform::Note(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

// ---- Time ----------------------------------------------------------------------------

uint32_t SdlPlatform::GetTickCount() {
  PumpIfDue();
  WaitWhilePaused();
  waited_since_shown_ = true;
  return static_cast<uint32_t>(GameNow());
}

void SdlPlatform::Idle(uint32_t remaining_ms) { SleepFor(remaining_ms, kLongestSleepMs); }

uint64_t SdlPlatform::GameNow() const { return pause_.GameTime(TicksNow()); }

void SdlPlatform::WaitWhilePaused() {
  while (pause_.paused()) {
    if (close_requested_ || keys_.Pending(vk::kEscape)) {
      SetPaused(false);  // the game ends as it would have without the pause
      return;
    }
    if (dirty_ || exposed_) Present();
    SDL_WaitEventTimeout(nullptr, kPausedWaitMs);
    Pump();
  }
}

void SdlPlatform::SetPaused(bool on) {
  if (on == pause_.paused()) return;
  if (on) pause_.Pause(TicksNow());
  else pause_.Resume(TicksNow());
  audio_.SetPaused(on);
  dirty_ = true;
  if (shown_) Present();
}

bool SdlPlatform::QuitWanted() {
  PumpIfDue();
  // Escape is only looked at here, not taken: the game's own check still sees it.
  return close_requested_ || keys_.Pending(vk::kEscape);
}

void SdlPlatform::SleepUntilOrQuit(uint64_t tick) {
  for (uint64_t now = GameNow(); now < tick && !QuitWanted(); now = GameNow()) {
    if (pause_.paused()) {
      WaitWhilePaused();
      continue;
    }
    SleepFor(static_cast<uint32_t>(std::min<uint64_t>(tick - now, kLongestSleepMs)), kLongestSleepMs);
  }
}

// ---- Keyboard and joystick -------------------------------------------------------------

int16_t SdlPlatform::GetAsyncKeyState(int virtual_key) {
  PumpIfDue();
  const int16_t state = keys_.Query(virtual_key);
  // A request to close the window is answered as Escape held down: the game saves its
  // settings, stops the music and ends, as it does for Escape.
  if (virtual_key == vk::kEscape && close_requested_) return static_cast<int16_t>(0x8000);
  return state;
}

void SdlPlatform::DiscardKeyMessage() {
  PumpIfDue();
  queue_.DiscardFirstKeyboardMessage();
}

uint32_t SdlPlatform::JoyGetPos(uint32_t id, JoyPosition& position) {
  if (id != 0) return kJoystickUnplugged;
  PumpIfDue();
  return joystick_.Position(position);
}

uint32_t SdlPlatform::JoyGetDevCaps(uint32_t id) { return id == 0 ? joystick_.Capabilities() : kJoystickUnplugged; }

// ---- The window ----------------------------------------------------------------------

void SdlPlatform::CentreWindow() { video_.Centre(); }

void SdlPlatform::Repaint(const ShownWindow& shown, Element which) {
  shown_.emplace(shown);  // a replay shows a window of its own game
  screen_.Repainted(shown, which);
  dirty_ = true;
  // A race has begun once the delay box is hidden: keys from now on are the driver's.
  if (!shown.elements.Painted(Element::Gamewait).visible && !in_race_) {
    queue_.KeepTyping(false);
    in_race_ = true;
    overlay_.RaceBegun();
    // The hints have been seen once a race has been run.
    prefs_.prefs().title_hints = false;
  }
  if (which == Element::Window && !video_.shown()) {
    video_.Show();
    video_.SetFullscreen(prefs_.prefs().full_screen);
  }
  if (which != Element::Display && which != Element::Window) return;
  // The frame limiter: the first view shown after each of the game's waits comes no
  // sooner than a sixtieth of a second plus the frame delay after the one before.
  if (which == Element::Display && waited_since_shown_) {
    waited_since_shown_ = false;
    SleepUntilOrQuit(pacer_.ShowAt(GameNow(), shown.frame_delay_ms));
  }
  Present();
}

void SdlPlatform::Present() {
  if (!shown_) return;
  caret_shown_ = CaretOn();
  screen_.Compose(*shown_, boxes_.View(caret_shown_), painter_, CurrentOverlay());
  video_.Present(screen_.changes());
  dirty_ = false;
  exposed_ = false;
  last_present_ = TicksNow();
  ++presents_;
  if (tell_timings_) NoteBanner();
}

void SdlPlatform::RequestClose(uint64_t at) {
  close_requested_ = true;
  if (end_asked_at_ == 0) end_asked_at_ = at;
}

void SdlPlatform::EndProgram() {
  ended_ = true;
  SavePreferences();
  if (tell_timings_ && end_asked_at_ != 0)
    std::fprintf(stderr, "kelto1: timings: settings saved and the game ended %llu ms after the request to end\n",
                 static_cast<unsigned long long>(TicksNow() - end_asked_at_));
}

void SdlPlatform::NoteBanner() {
  const ElementState& banner = shown_->elements.Painted(Element::GETREADY);
  const bool shown = banner.visible && banner.text == "PLAYER 1 GET READY";
  if (!banner_on_screen_ && shown) banner_shown_at_ = last_present_;
  if (banner_on_screen_ && !shown && ctrl_pressed_at_ != 0)
    std::fprintf(stderr, "kelto1: timings: GET READY banner on screen %llu ms after Ctrl, gone %llu ms after Ctrl\n",
                 static_cast<unsigned long long>(banner_shown_at_ - ctrl_pressed_at_),
                 static_cast<unsigned long long>(last_present_ - ctrl_pressed_at_));
  banner_on_screen_ = shown;
}

bool SdlPlatform::CaretOn() const {
  if (!boxes_.focus()) return false;
  return ((TicksNow() - caret_since_) / kCaretBlinkMs) % 2 == 0;
}

// ---- Events ----------------------------------------------------------------------------

void SdlPlatform::PumpIfDue() {
  if (TicksNow() != last_pump_) Pump();
}

void SdlPlatform::Pump() {
  last_pump_ = TicksNow();
  SDL_Event event;
  while (SDL_PollEvent(&event)) Handle(event);
  // An uncovered window is drawn again at once, even in the middle of a race; the
  // game's own repaints are shown when it repaints the view or the window, or by the
  // main loop between ticks.
  if (exposed_ && shown_) Present();
}

void SdlPlatform::Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      RequestClose(e.quit.timestamp);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) RequestClose(e.window.timestamp);
      // Keys let go while another window had the keyboard would stay down for ever.
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        keys_.ReleaseAll();
        // A race left alone waits for the player.
        if (in_race_) SetPaused(true);
      }
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) exposed_ = true;
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      // The screen's copy of the picture is gone: all of it is sent again.
      screen_.ChangeAll();
      exposed_ = true;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      KeyEvent(e.key, e.type == SDL_KEYDOWN);
      break;
    case SDL_TEXTINPUT:
      if (drop_text_ || overlay_.panel_shown()) {
        drop_text_ = false;
        break;
      }
      queue_.PostText(e.text.text);
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT) {
        const Point p = video_.ToPicture(e.button.x, e.button.y);
        WindowMessage m;
        m.type = WindowMessage::Type::MouseDown;
        m.x = p.x;
        m.y = p.y;
        queue_.Post(std::move(m));
      }
      break;
    case SDL_MOUSEMOTION: {
      const Point p = video_.ToPicture(e.motion.x, e.motion.y);
      if (boxes_.PointerAt(p.x, p.y)) dirty_ = true;
      break;
    }
    case SDL_JOYDEVICEADDED:
      joystick_.DeviceAdded(e.jdevice.which);
      break;
    case SDL_JOYDEVICEREMOVED:
      joystick_.DeviceRemoved(e.jdevice.which);
      break;
    default:
      break;
  }
}

void SdlPlatform::KeyEvent(const SDL_KeyboardEvent& key, bool down) {
  if (down) drop_text_ = false;
  const std::string name = SDL_GetScancodeName(key.keysym.scancode);
  const KeyUse use = UseOfKey(prefs_.prefs().keys, name, boxes_.focus() && !in_race_);
  if (use.kind == KeyUse::Kind::Own) {
    if (down) drop_text_ = true;
    if (down && !key.repeat) Do(use.action);
    return;
  }
  const int vkey = use.kind == KeyUse::Kind::Driving ? use.virtual_key : VirtualKeyOf(key.keysym.scancode);
  // Driving keys never type into the boxes.
  if (down && !use.types) drop_text_ = true;
  if (vkey >= 0) {
    // Escape ends the game even from a pause.
    if (down && vkey == vk::kEscape) keys_.Press(vkey);
    else if (down) pause_.Press(vkey);
    else pause_.Release(vkey);
    if (down && !key.repeat && vkey == vk::kControl) ctrl_pressed_at_ = key.timestamp;
    if (down && vkey == vk::kEscape && end_asked_at_ == 0) end_asked_at_ = key.timestamp;
  }
  if (overlay_.panel_shown()) return;  // the records table takes the keys, not the boxes
  WindowMessage m;
  m.type = down ? WindowMessage::Type::KeyDown : WindowMessage::Type::KeyUp;
  m.key = EditKeyOf(key.keysym.sym);
  queue_.Post(std::move(m));
}

void SdlPlatform::Do(Action action) {
  Preferences& p = prefs_.prefs();
  if (action == Action::Pause) {
    if (in_race_) SetPaused(!pause_.paused());
    return;
  }
  if (action == Action::Screenshot) {
    TakeScreenshot();
    return;
  }
  // The window manager carries full screen out later: the choice is what was asked.
  const ChoiceChange change = ApplyAction(p, action, video_.fullscreen());
  if (!change.changed) return;
  if (!change.note.empty()) Note(change.note);
  switch (action) {
    case Action::Mute:
      audio_.SetLevels(p.music_volume, p.effects_volume, p.muted);
      break;
    case Action::FullScreen:
      video_.SetFullscreen(p.full_screen);
      exposed_ = true;
      break;
    case Action::Scaling:
      video_.SetScaleMode(p.scaling);
      exposed_ = true;
      break;
    default:
      break;
  }
  SavePreferences();
}

void SdlPlatform::TakeScreenshot() {
  if (!shown_) return;
  // The picture as the window shows it, without the pause's word over it.
  Overlay overlay = CurrentOverlay();
  overlay.paused = false;
  screen_.Compose(*shown_, boxes_.View(caret_shown_), painter_, overlay);
  const char* home = std::getenv("HOME");
  const std::string folder = ScreenshotFolder(PicturesFolder(), home ? home : "", DefaultUserDataFolder());
  Note(SaveScreenshot(files_, screen_.picture(), folder, ScreenshotStem()));
  screen_.ChangeAll();  // what that compose changed never went to the screen
  dirty_ = true;
  if (pause_.paused()) Present();
}

Overlay SdlPlatform::CurrentOverlay() const { return overlay_.Now(pause_.paused(), prefs_.prefs()); }

void SdlPlatform::ShowPanel(std::vector<std::string> lines, int pick) {
  if (!overlay_.ShowPanel(std::move(lines), pick)) return;
  dirty_ = true;
  if (shown_) Present();
}

void SdlPlatform::ShowReplayPaused(bool paused) {
  overlay_.ShowReplayPaused(paused);
  dirty_ = true;
  if (shown_) Present();
}

void SdlPlatform::ShowTitleLine(const std::string& line) {
  overlay_.ShowTitleLine(line);
  dirty_ = true;
}

void SdlPlatform::FollowVehicle(BoxTexts& texts) {
  if (vehicle_.Follow(prefs_.prefs(), texts)) SavePreferences();
}

void SdlPlatform::HandleEvents(BoxTexts& texts) {
  // Between the game's ticks the title screen shows: what is typed now is for the boxes.
  queue_.KeepTyping(true);
  in_race_ = false;
  SetPaused(false);
  Pump();
  if (!shown_) return;  // nothing shown yet: typing waits for the window
  FollowVehicle(texts);
  const BoxTarget boxes{texts, shown_->elements};
  bool changed = false;
  while (auto m = queue_.Take()) changed |= boxes_.Deliver(*m, boxes);
  boxes_.Follow(boxes);
  if (changed) {
    caret_since_ = TicksNow();
    dirty_ = true;
  }
  if (dirty_ || exposed_ || CaretOn() != caret_shown_) Present();
}

void SdlPlatform::WaitForEvents(uint64_t tick) {
  const uint64_t now = TicksNow();
  if (tick <= now) return;
  uint64_t timeout = tick - now;
  if (boxes_.focus())
    timeout = std::min(timeout, kCaretBlinkMs - (now - caret_since_) % kCaretBlinkMs);
  SDL_WaitEventTimeout(nullptr, static_cast<int>(timeout));
}

}  // namespace kelto1
