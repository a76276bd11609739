// The Windows machine under the game.
#include "win32/win32_platform.h"

#include <algorithm>
#include <cstdio>

#include "frontend/scaling.h"
#include "frontend/screenshot.h"
#include "platform/disk_files_win32.h"

// Last, as its macros take names the game's headers use.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <knownfolders.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shlobj.h>
#include <xinput.h>

namespace kelto1 {

namespace {

constexpr wchar_t kWindowClass[] = L"Kelto1Window";
constexpr wchar_t kTitle[] = L"KELTO1";
constexpr int kIconResource = 1;
constexpr uint64_t kCaretBlinkMs = 530;
// Sleeps inside the game's waits are cut into pieces this long, so that a long wait
// still notices the window being closed or uncovered.
constexpr uint32_t kLongestSleepMs = 10;
constexpr DWORD kWindowedStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kFullScreenStyle = WS_POPUP;
// While paused the window is looked at this often.
constexpr DWORD kPausedWaitMs = 100;

uint32_t SendMci(const std::string& command, std::string& reply) {
  wchar_t answer[128] = {};
  const MCIERROR error = mciSendStringW(WidePath(command).c_str(), answer, 128, nullptr);
  reply = Utf8Path(answer);
  return static_cast<uint32_t>(error);
}

void PlayWavImage(const uint8_t* image) {
  if (image) PlaySoundW(reinterpret_cast<LPCWSTR>(image), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
  else PlaySoundW(nullptr, nullptr, 0);
}

HWND Hwnd(void* window) { return static_cast<HWND>(window); }

// Processor time the program has taken, user and kernel, in milliseconds.
uint64_t ProcessorMs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  const auto ms = [](const FILETIME& t) {
    return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;  // 100 ns units
  };
  return ms(kernel) + ms(user);
}


// The player's Pictures folder, empty when Windows knows none.
std::string PicturesFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &path)) && path) folder = Utf8Path(path);
  CoTaskMemFree(path);
  return folder;
}

void NoteLine(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  OutputDebugStringW(WidePath(line + "\n").c_str());
}

}  // namespace

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return ".";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? "." : Utf8Path(path.substr(0, slash));
}

// The window procedure: hands the window's messages to the platform that made it.
struct WindowEvents {
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
};

uint64_t TicksNow() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<uint64_t>(now.QuadPart / frequency * 1000 + now.QuadPart % frequency * 1000 / frequency);
}

Win32Platform::Win32Platform(TextPainter& painter)
    : painter_(painter),
      boxes_(painter),
      effects_(PlayWavImage),
      tune_(SendMci),
      music_(tune_, [this](const std::string& line) { Note("kelto1: " + line); }),
      prefs_(files_, DefaultPreferencesPath(), NoteLine) {}

std::unique_ptr<Win32Platform> Win32Platform::Create(TextPainter& painter, std::string& error) {
  std::unique_ptr<Win32Platform> p(new Win32Platform(painter));
  if (!p->Open(error)) return nullptr;
  return p;
}

Win32Platform::~Win32Platform() {
  PlaySoundW(nullptr, nullptr, 0);
  tune_.Unload();
  if (window_) DestroyWindow(Hwnd(window_));
  if (sharp_dc_) DeleteDC(static_cast<HDC>(sharp_dc_));
  if (sharp_bitmap_) DeleteObject(static_cast<HBITMAP>(sharp_bitmap_));
  if (timer_period_set_) timeEndPeriod(1);
}

bool Win32Platform::Open(std::string& error) {
  // Sleep(1) sleeps one millisecond, not a whole scheduler tick of 15.6.
  timer_period_set_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  program_folder_ = ExecutableFolder();
  tell_timings_ = GetEnvironmentVariableW(L"KELTO1_TIMINGS", nullptr, 0) > 0;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WindowEvents::Procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = nullptr;  // the whole client area is painted every time
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&wc)) {
    error = "cannot register the window class (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  window_ = CreateWindowExW(0, kWindowClass, kTitle, kWindowedStyle, CW_USEDEFAULT, CW_USEDEFAULT, kScreenWidth,
                            kScreenHeight, nullptr, nullptr, instance, this);
  if (!window_) {
    error = "cannot open the window (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  CentreWindow();
  return true;
}

// Started from Explorer a windowed program has no standard error: the line goes to the
// debugger's output as well, where DebugView and the like show it.
void Win32Platform::Note(const std::string& line) { NoteLine(line); }

void Win32Platform::OpenAudio() { ApplySoundLevels(); }

// The effects' level by their copies; the tune's by the MIDI synthesizer's volume, held
// where it is while the sound is off, the music at nothing or the race paused.
void Win32Platform::ApplySoundLevels() {
  const Preferences& p = prefs_.prefs();
  effects_.SetLevel(p.muted ? 0 : p.effects_volume);
  const DWORD side = static_cast<DWORD>(0xFFFF * p.music_volume / 100);
  midiOutSetVolume(reinterpret_cast<HMIDIOUT>(static_cast<UINT_PTR>(0)), side | (side << 16));
  tune_.Hold(pause_.paused() || p.muted || p.music_volume == 0);
}

// ---- Time ----------------------------------------------------------------------------

uint32_t Win32Platform::GetTickCount() {
  PumpIfDue();
  WaitWhilePaused();
  waited_since_shown_ = true;
  return static_cast<uint32_t>(GameNow());
}

uint64_t Win32Platform::GameNow() const { return pause_.GameTime(TicksNow()); }

void Win32Platform::WaitWhilePaused() {
  while (pause_.paused()) {
    if (close_requested_ || keys_.Pending(vk::kEscape)) {
      SetPaused(false);  // the game ends as it would have without the pause
      return;
    }
    if (dirty_) Present();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPausedWaitMs, QS_ALLINPUT);
    Pump();
  }
}

void Win32Platform::SetPaused(bool on) {
  if (on == pause_.paused()) return;
  if (on) pause_.Pause(TicksNow());
  else pause_.Resume(TicksNow());
  ApplySoundLevels();
  dirty_ = true;
  if (shown_) Present();
}

void Win32Platform::SleepAtMost(uint32_t ms) {
  // Wakes early for any message, so keys and the close button are seen at once.
  if (ms > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
}

// All but the last millisecond is slept; the game's own wait takes that one.
void Win32Platform::Idle(uint32_t remaining_ms) {
  if (remaining_ms > 1) SleepAtMost(std::min(remaining_ms - 1, kLongestSleepMs));
}

bool Win32Platform::QuitWanted() {
  PumpIfDue();
  // Escape is only looked at here, not taken: the game's own check still sees it.
  return close_requested_ || keys_.Pending(vk::kEscape);
}

void Win32Platform::SleepUntilOrQuit(uint64_t tick) {
  for (uint64_t now = GameNow(); now < tick && !QuitWanted(); now = GameNow()) {
    if (pause_.paused()) {
      WaitWhilePaused();
      continue;
    }
    if (tick - now > 1) SleepAtMost(static_cast<uint32_t>(std::min<uint64_t>(tick - now - 1, kLongestSleepMs)));
  }
}

// ---- Keyboard and joystick -------------------------------------------------------------

int16_t Win32Platform::GetAsyncKeyState(int virtual_key) {
  PumpIfDue();
  // The window's key messages alone, through the player's keys and the pause: the
  // keyboard's own state would show a key by its place, not by what it is bound to.
  const int16_t state = keys_.Query(virtual_key);
  // A request to close the window is answered as Escape held down: the game saves its
  // settings, stops the music and ends, as it does for Escape.
  if (virtual_key == vk::kEscape && close_requested_) return static_cast<int16_t>(0x8000);
  return state;
}

void Win32Platform::DiscardKeyMessage() {
  PumpIfDue();
  queue_.DiscardFirstKeyboardMessage();
}

// XInput comes with Windows 8 and later (xinput1_4.dll): it is looked for when first
// needed, so kelto1.exe imports nothing more and starts where it is missing.
bool Win32Platform::PadPosition(JoyPosition& position) {
  if (!pad_looked_for_) {
    pad_looked_for_ = true;
    HMODULE dll = LoadLibraryW(L"xinput1_4.dll");
    if (!dll) dll = LoadLibraryW(L"xinput9_1_0.dll");
    if (dll) pad_state_ = reinterpret_cast<void (*)()>(GetProcAddress(dll, "XInputGetState"));
  }
  if (!pad_state_) return false;
  using GetState = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
  XINPUT_STATE state{};
  if (reinterpret_cast<GetState>(pad_state_)(0, &state) != ERROR_SUCCESS) return false;
  position = PadToPosition(state.Gamepad.sThumbLX, state.Gamepad.wButtons);
  return true;
}

// The first game pad, when there is one, knows its own layout; otherwise the joystick
// as Windows' joystick calls see it.
uint32_t Win32Platform::JoyGetPos(uint32_t id, JoyPosition& position) {
  if (id == 0 && PadPosition(position)) return 0;
  JOYINFOEX info{};
  info.dwSize = sizeof info;
  info.dwFlags = JOY_RETURNALL;
  const MMRESULT result = joyGetPosEx(id, &info);
  if (result != JOYERR_NOERROR) return result;
  position.x = info.dwXpos;
  position.y = info.dwYpos;
  position.z = info.dwZpos;
  position.buttons = info.dwButtons;
  return 0;
}

uint32_t Win32Platform::JoyGetDevCaps(uint32_t id) {
  JoyPosition pad;
  if (id == 0 && PadPosition(pad)) return 0;
  JOYCAPSW caps{};
  return joyGetDevCapsW(id, &caps, sizeof caps);
}

// ---- The window ----------------------------------------------------------------------

void Win32Platform::CentreWindow() {
  if (full_screen_) return;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int scale = OpeningScale(work.right - work.left, work.bottom - work.top);
  RECT r{0, 0, kScreenWidth * scale, kScreenHeight * scale};
  AdjustWindowRectEx(&r, kWindowedStyle, FALSE, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(Hwnd(window_), nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + std::max(0L, (work.bottom - work.top - h) / 2), w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Platform::SetFullScreen(bool on) {
  if (on == full_screen_) return;
  if (on) {
    RECT was{};
    GetWindowRect(Hwnd(window_), &was);
    windowed_[0] = was.left;
    windowed_[1] = was.top;
    windowed_[2] = was.right - was.left;
    windowed_[3] = was.bottom - was.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(Hwnd(window_), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& m = monitor.rcMonitor;
    SetWindowLongPtrW(Hwnd(window_), GWL_STYLE, kFullScreenStyle | WS_VISIBLE);
    SetWindowPos(Hwnd(window_), HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    full_screen_ = true;
  } else {
    SetWindowLongPtrW(Hwnd(window_), GWL_STYLE, kWindowedStyle | WS_VISIBLE);
    SetWindowPos(Hwnd(window_), nullptr, windowed_[0], windowed_[1], windowed_[2], windowed_[3],
                 SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    full_screen_ = false;
  }
  dirty_ = true;
}

void Win32Platform::ClientSize(int& width, int& height) const {
  RECT r{};
  GetClientRect(Hwnd(window_), &r);
  width = r.right - r.left;
  height = r.bottom - r.top;
}

Point Win32Platform::ToPicture(intptr_t l) const {
  int w = 0, h = 0;
  ClientSize(w, h);
  const int x = static_cast<int16_t>(LOWORD(l)), y = static_cast<int16_t>(HIWORD(l));
  return kelto1::ToPicture(x, y, FitPicture(w, h, prefs_.prefs().scaling));
}

void Win32Platform::Repaint(const ShownWindow& shown, Element which) {
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
  if (which == Element::Window && !shown_once_) {
    shown_once_ = true;
    ShowWindow(Hwnd(window_), SW_SHOW);
    SetForegroundWindow(Hwnd(window_));
    SetFullScreen(prefs_.prefs().full_screen);
  }
  if (which != Element::Display && which != Element::Window) return;
  // The frame limiter: the first view shown after each of the game's waits comes no
  // sooner than a sixtieth of a second plus the frame delay after the one before.
  if (which == Element::Display && views_++ == 0) {
    first_view_at_ = TicksNow();
    processor_ms_at_first_view_ = ProcessorMs();
  }
  if (which == Element::Display && waited_since_shown_) {
    waited_since_shown_ = false;
    SleepUntilOrQuit(pacer_.ShowAt(GameNow(), shown.frame_delay_ms));
  }
  Present();
}

void Win32Platform::Present() {
  if (!shown_) return;
  caret_shown_ = CaretOn();
  screen_.Compose(*shown_, boxes_.View(caret_shown_), painter_, CurrentOverlay());
  if (HDC dc = GetDC(Hwnd(window_))) {
    PaintTo(dc);
    ReleaseDC(Hwnd(window_), dc);
  }
  dirty_ = false;
}

// The picture at its fit on black: every pixel a block of whole pixels, or the sharp fit.
void Win32Platform::PaintTo(void* device) {
  HDC dc = static_cast<HDC>(device);
  int w = 0, h = 0;
  ClientSize(w, h);
  const SharpFit sharp = FitSharply(w, h);
  const bool sharply = prefs_.prefs().scaling == ScaleMode::Sharp;
  const Rect at = sharply ? sharp.placed : FitPicture(w, h);
  const Picture& p = screen_.picture();
  // Black around the picture, never over it, so nothing flickers.
  PatBlt(dc, 0, 0, w, at.y, BLACKNESS);
  PatBlt(dc, 0, at.y + at.h, w, h - at.y - at.h, BLACKNESS);
  PatBlt(dc, 0, at.y, at.x, at.h, BLACKNESS);
  PatBlt(dc, at.x + at.w, at.y, w - at.x - at.w, at.h, BLACKNESS);
  if (p.width() <= 0 || p.height() <= 0) return;
  if (sharply && (at.w != p.width() * sharp.prescale || at.h != p.height() * sharp.prescale)) {
    PaintSharply(dc, at, sharp.prescale);
    return;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = p.width();
  info.bmiHeader.biHeight = -p.height();  // the rows from the top down, as the picture holds them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, COLORONCOLOR);  // nearest pixel, no blending
  StretchDIBits(dc, at.x, at.y, at.w, at.h, 0, 0, p.width(), p.height(), p.Row(0), &info, DIB_RGB_COLORS,
                SRCCOPY);
}

void Win32Platform::PaintSharply(void* device, const Rect& at, int prescale) {
  HDC dc = static_cast<HDC>(device);
  const Picture& p = screen_.picture();
  const int bw = p.width() * prescale, bh = p.height() * prescale;
  if (prescale != sharp_prescale_ || !sharp_dc_) {
    if (sharp_dc_) DeleteDC(static_cast<HDC>(sharp_dc_));
    if (sharp_bitmap_) DeleteObject(static_cast<HBITMAP>(sharp_bitmap_));
    sharp_dc_ = CreateCompatibleDC(dc);
    sharp_bitmap_ = CreateCompatibleBitmap(dc, bw, bh);
    if (!sharp_dc_ || !sharp_bitmap_) {
      sharp_prescale_ = 0;
      return;
    }
    SelectObject(static_cast<HDC>(sharp_dc_), static_cast<HBITMAP>(sharp_bitmap_));
    sharp_prescale_ = prescale;
  }
  HDC big = static_cast<HDC>(sharp_dc_);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = p.width();
  info.bmiHeader.biHeight = -p.height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(big, COLORONCOLOR);
  StretchDIBits(big, 0, 0, bw, bh, 0, 0, p.width(), p.height(), p.Row(0), &info, DIB_RGB_COLORS, SRCCOPY);
  // The rest of the way smoothed: HALFTONE averages the source pixels under each one.
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, at.x, at.y, at.w, at.h, big, 0, 0, bw, bh, SRCCOPY);
}

void Win32Platform::EndProgram() {
  ended_ = true;
  SavePreferences();
  const uint64_t elapsed = TicksNow() - first_view_at_;
  if (!tell_timings_ || views_ < 2 || elapsed == 0) return;
  const uint64_t processor = ProcessorMs() - processor_ms_at_first_view_;
  char line[200];
  std::snprintf(line, sizeof line,
                "kelto1: timings: %llu race views in %.1f s, %.1f a second; %.1f s of processor time, %.0f %% of one core",
                static_cast<unsigned long long>(views_ - 1), elapsed / 1000.0, (views_ - 1) * 1000.0 / elapsed,
                processor / 1000.0, processor * 100.0 / elapsed);
  Note(line);
}

bool Win32Platform::CaretOn() const {
  if (!boxes_.focus()) return false;
  return ((TicksNow() - caret_since_) / kCaretBlinkMs) % 2 == 0;
}

// ---- Messages --------------------------------------------------------------------------

void Win32Platform::PumpIfDue() {
  if (TicksNow() != last_pump_) Pump();
}

void Win32Platform::Pump() {
  last_pump_ = TicksNow();
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      close_requested_ = true;
      continue;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

LRESULT CALLBACK WindowEvents::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && self->window_ == window) return self->Handle(message, w, l);
  return DefWindowProcW(window, message, w, l);
}

// Keys down and up, with Alt's own messages: Alt is the accelerator, so it must reach the
// game rather than open the window's menu. Returns false for what Windows should handle.
bool Win32Platform::Key(unsigned message, uintptr_t w, intptr_t l) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const bool repeat = down && (l & (1 << 30));
  const unsigned key = static_cast<unsigned>(w);
  if (message == WM_SYSKEYDOWN && key == VK_F4) return false;  // Alt+F4 closes the window
  if (down) drop_text_ = false;
  const std::string name = KeyNameOfVirtualKey(key, (l >> 24) & 1, (l >> 16) & 0xFF);
  const KeyUse use = UseOfKey(prefs_.prefs().keys, name, boxes_.focus() && !in_race_);
  if (use.kind == KeyUse::Kind::Own) {
    if (down) drop_text_ = true;
    if (down && !repeat) Do(use.action);
    return true;
  }
  const int vkey = use.kind == KeyUse::Kind::Driving ? use.virtual_key : static_cast<int>(key);
  if (down && !use.types) drop_text_ = true;
  if (vkey < 256) {
    // Escape ends the game even from a pause.
    if (down && vkey == vk::kEscape) keys_.Press(vkey);
    else if (down) pause_.Press(vkey);
    else pause_.Release(vkey);
  }
  if (overlay_.panel_shown()) return true;  // the records table takes the keys, not the boxes
  WindowMessage m;
  m.type = down ? WindowMessage::Type::KeyDown : WindowMessage::Type::KeyUp;
  m.key = EditKeyOfVirtualKey(key);
  queue_.Post(std::move(m));
  return true;
}

void Win32Platform::Do(Action action) {
  Preferences& p = prefs_.prefs();
  if (action == Action::Pause) {
    if (in_race_) SetPaused(!pause_.paused());
    return;
  }
  if (action == Action::Screenshot) {
    TakeScreenshot();
    return;
  }
  const ChoiceChange change = ApplyAction(p, action, full_screen_);
  if (!change.changed) return;
  if (!change.note.empty()) Note(change.note);
  switch (action) {
    case Action::Mute:
      ApplySoundLevels();
      break;
    case Action::FullScreen:
      SetFullScreen(p.full_screen);
      break;
    case Action::Scaling:
      dirty_ = true;
      InvalidateRect(Hwnd(window_), nullptr, FALSE);
      break;
    default:
      break;
  }
  SavePreferences();
}

void Win32Platform::TakeScreenshot() {
  if (!shown_) return;
  // The picture as the window shows it, without the pause's word over it.
  Overlay overlay = CurrentOverlay();
  overlay.paused = false;
  screen_.Compose(*shown_, boxes_.View(caret_shown_), painter_, overlay);
  const std::string folder = ScreenshotFolder(PicturesFolder(), "", DefaultUserDataFolder());
  Note(SaveScreenshot(files_, screen_.picture(), folder, ScreenshotStem()));
  dirty_ = true;
  if (pause_.paused()) Present();
}

Overlay Win32Platform::CurrentOverlay() const { return overlay_.Now(pause_.paused(), prefs_.prefs()); }

void Win32Platform::ShowPanel(std::vector<std::string> lines, int pick) {
  if (!overlay_.ShowPanel(std::move(lines), pick)) return;
  dirty_ = true;
  if (shown_) Present();
}

void Win32Platform::ShowReplayPaused(bool paused) {
  overlay_.ShowReplayPaused(paused);
  dirty_ = true;
  if (shown_) Present();
}

void Win32Platform::ShowTitleLine(const std::string& line) {
  overlay_.ShowTitleLine(line);
  dirty_ = true;
}

intptr_t Win32Platform::Handle(unsigned message, uintptr_t w, intptr_t l) {
  switch (message) {
    case WM_CLOSE:
      close_requested_ = true;
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) break;
      [[fallthrough]];
    case WM_KILLFOCUS:
      // Keys let go while another window had the keyboard would stay down for ever.
      keys_.ReleaseAll();
      // A race left alone waits for the player.
      if (in_race_) SetPaused(true);
      if (message == WM_KILLFOCUS) return 0;
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Hwnd(window_), &ps);
      if (shown_) {
        if (dirty_) screen_.Compose(*shown_, boxes_.View(caret_shown_), painter_, CurrentOverlay());
        PaintTo(dc);
      } else {
        PatBlt(dc, 0, 0, ps.rcPaint.right, ps.rcPaint.bottom, BLACKNESS);
      }
      EndPaint(Hwnd(window_), &ps);
      return 0;
    }
    case WM_SIZE:
      InvalidateRect(Hwnd(window_), nullptr, FALSE);
      return 0;
    case WM_GETMINMAXINFO: {
      // Never smaller than the picture at its own size would make it.
      RECT r{0, 0, kScreenWidth / 2, kScreenHeight / 2};
      AdjustWindowRectEx(&r, kWindowedStyle, FALSE, 0);
      auto* limits = reinterpret_cast<MINMAXINFO*>(l);
      limits->ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      if (Key(message, w, l)) return 0;
      break;
    case WM_SYSCHAR:
      return 0;  // Alt with a letter: no menu to open, and no beep
    case WM_CHAR: {
      const auto unit = static_cast<uint16_t>(w);
      if (unit < 0x20 || unit == 0x7F) return 0;  // Backspace, Enter, Tab and Escape come as keys
      // The key that made it did something else, or the records table is up.
      if (drop_text_ || overlay_.panel_shown()) {
        drop_text_ = false;
        return 0;
      }
      if (const std::string text = typed_.Feed(unit); !text.empty()) queue_.PostText(text);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      SetFocus(Hwnd(window_));
      const Point p = ToPicture(l);
      WindowMessage m;
      m.type = WindowMessage::Type::MouseDown;
      m.x = p.x;
      m.y = p.y;
      queue_.Post(std::move(m));
      return 0;
    }
    case WM_MOUSEMOVE: {
      const Point p = ToPicture(l);
      if (boxes_.PointerAt(p.x, p.y)) dirty_ = true;
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(Hwnd(window_), message, w, l);
}

void Win32Platform::HandleEvents(BoxTexts& texts) {
  // Between the game's ticks the title screen shows: what is typed now is for the boxes.
  queue_.KeepTyping(true);
  in_race_ = false;
  SetPaused(false);
  Pump();
  if (!shown_) return;  // nothing shown yet: typing waits for the window
  if (vehicle_.Follow(prefs_.prefs(), texts)) SavePreferences();
  const BoxTarget boxes{texts, shown_->elements};
  bool changed = false;
  while (auto m = queue_.Take()) changed |= boxes_.Deliver(*m, boxes);
  boxes_.Follow(boxes);
  if (changed) {
    caret_since_ = TicksNow();
    dirty_ = true;
  }
  if (dirty_ || CaretOn() != caret_shown_) Present();
}

void Win32Platform::WaitForEvents(uint64_t tick) {
  const uint64_t now = TicksNow();
  if (tick <= now) return;
  uint64_t timeout = tick - now;
  if (boxes_.focus()) timeout = std::min(timeout, kCaretBlinkMs - (now - caret_since_) % kCaretBlinkMs);
  SleepAtMost(static_cast<uint32_t>(timeout));
}

}  // namespace kelto1
