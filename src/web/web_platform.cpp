#include "web/web_platform.h"

#include <emscripten.h>

#include <algorithm>

#include "frontend/joystick_axis.h"
#include "frontend/stored_choices.h"
#include "web/page_calls.h"

namespace kelto1 {

namespace {

// The choices are kept under "choice:" and the setting's own name, beside the files.
constexpr const char* kChoicePrefix = "choice:";
// The page's own keys to know, on the title screen until a race has been run.
constexpr const char* kPageHints = "[F3] RECORDS   [P] PAUSE   [M] SOUND   [G] GHOST";

}  // namespace

WebPlatform::WebPlatform() {
  files_.RestoreStored();
  std::vector<std::string> problems;
  prefs_ = ChoicesFromStored(StoredValues(kChoicePrefix), problems);
  if (!problems.empty()) {
    std::string line = "kelto1: the stored choices: ";
    for (size_t i = 0; i < problems.size(); ++i) line += (i ? "; " : "") + problems[i];
    Note(line + " (the defaults are used for these)");
  }
  saved_prefs_ = prefs_;
  ApplyVolumes();
  k1_report("ghost", prefs_.ghost ? "1" : "0");
  keys_.Listen();
  // A crash (not a light knock) shakes a phone that can.
  for (const char* name : {"crsh.wav", "crwal.wav"})
    crash_sounds_.push_back(files_.Read(std::string(kFolder) + "/" + name).value_or(std::vector<uint8_t>{}));
}

uint32_t WebPlatform::GetTickCount() {
  WaitWhilePaused();
  return static_cast<uint32_t>(keys_.pause().GameTime(static_cast<uint64_t>(k1_now_ms())));
}

void WebPlatform::WaitWhilePaused() {
  while (keys_.pause().paused()) {
    if (keys_.state().Pending(vk::kEscape)) {
      SetPaused(false);  // the game ends as it would have without the pause
      return;
    }
    if (dirty_) Present();
    emscripten_sleep(50);
  }
}

void WebPlatform::SetPaused(bool on) {
  if (on == keys_.pause().paused()) return;
  const auto now = static_cast<uint64_t>(k1_now_ms());
  if (on) keys_.pause().Pause(now);
  else keys_.pause().Resume(now);
  k1_sound_paused(on ? 1 : 0);
  dirty_ = true;
  Present();
}

void WebPlatform::PageLeft() {
  keys_.state().ReleaseAll();
  if (in_race_) SetPaused(true);
}

void WebPlatform::Do(Action action) {
  switch (action) {
    case Action::Pause:
      if (in_race_) SetPaused(!keys_.pause().paused());
      return;
    case Action::Mute:
      prefs_.muted = !prefs_.muted;
      ApplyVolumes();
      Note(prefs_.muted ? "kelto1: sound off" : "kelto1: sound on");
      break;
    case Action::Ghost:
      prefs_.ghost = !prefs_.ghost;
      Note(prefs_.ghost ? "kelto1: ghost shown" : "kelto1: ghost hidden");
      break;
    default:
      return;
  }
  SaveChoices();
  dirty_ = true;
  Present();
}

void WebPlatform::SetVolumes(int music, int effects) {
  prefs_.music_volume = std::clamp(music, 0, 100);
  prefs_.effects_volume = std::clamp(effects, 0, 100);
  ApplyVolumes();
  SaveChoices();
}

void WebPlatform::ApplyVolumes() {
  k1_sound_levels(prefs_.muted ? 0 : prefs_.music_volume, prefs_.muted ? 0 : prefs_.effects_volume);
  k1_report("muted", prefs_.muted ? "1" : "0");
  k1_report("volumes", (std::to_string(prefs_.music_volume) + " " + std::to_string(prefs_.effects_volume)).c_str());
}

// Only the choices that changed are written, each on its own.
void WebPlatform::SaveChoices() {
  const auto now = StoredChoices(prefs_), before = StoredChoices(saved_prefs_);
  for (size_t i = 0; i < now.size(); ++i)
    if (now[i].second != before[i].second) StoreValue(kChoicePrefix + now[i].first, now[i].second);
  saved_prefs_ = prefs_;
  k1_report("ghost", prefs_.ghost ? "1" : "0");
}

void WebPlatform::BetweenTicks(BoxTexts& texts) {
  in_race_ = false;
  SetPaused(false);
  if (!shown_ || !panel_.empty()) return;
  if (vehicle_.Follow(prefs_, texts)) SaveChoices();
}

Overlay WebPlatform::CurrentOverlay() const {
  Overlay o;
  o.paused = keys_.pause().paused() || replay_paused_;
  if (!title_line_.empty()) o.title_line = title_line_;
  else if (prefs_.title_hints && !touch_) o.title_line = kPageHints;
  o.panel = panel_;
  o.panel_pick = panel_pick_;
  return o;
}

void WebPlatform::ShowPanel(std::vector<std::string> lines, int pick) {
  if (lines == panel_ && pick == panel_pick_) return;
  panel_ = std::move(lines);
  panel_pick_ = pick;
  tapped_line_ = -1;  // a tap counts only on the table it was made on
  dirty_ = true;
  Present();
}

void WebPlatform::Tapped(int x, int y) {
  if (panel_.empty()) return;
  const int line = PanelLineAt(x, y, PanelLineHeight(painter_));
  if (line >= 0 && static_cast<size_t>(line) < panel_.size()) tapped_line_ = line;
}

void WebPlatform::ShowReplayPaused(bool paused) {
  replay_paused_ = paused;
  dirty_ = true;
  Present();
}

void WebPlatform::ShowTitleLine(const std::string& line) {
  title_line_ = line;
  dirty_ = true;
}

void WebPlatform::Idle(uint32_t remaining_ms) {
  if (dirty_) Present();
  // The browser gets its turn: its events come in, the canvas is shown.
  emscripten_sleep(std::min<uint32_t>(remaining_ms, 20));
}

bool WebPlatform::QuitWanted() { return keys_.state().Pending(vk::kEscape); }

int16_t WebPlatform::GetAsyncKeyState(int virtual_key) { return keys_.state().Query(virtual_key); }

void WebPlatform::Repaint(const ShownWindow& shown, Element which) {
  shown_.emplace(shown);
  screen_.Repainted(shown, which);
  dirty_ = true;
  // A race has begun once the delay box is hidden.
  if (!shown.elements.Painted(Element::Gamewait).visible && !in_race_) {
    in_race_ = true;
    title_line_.clear();
    // The hints have been seen once a race has been run.
    if (prefs_.title_hints) {
      prefs_.title_hints = false;
      SaveChoices();
    }
  }
  if (which != Element::Display && which != Element::Window) return;
  // Every view comes no sooner than a sixtieth of a second plus the frame delay after the
  // one before, and the browser gets its turn before it: a race with no delay never waits
  // in the game itself, and a page whose script never yields shows nothing.
  if (which == Element::Display) {
    const uint64_t at = pacer_.ShowAt(GetTickCount(), shown.frame_delay_ms);
    do {
      const uint64_t now = GetTickCount();
      emscripten_sleep(at > now ? static_cast<uint32_t>(at - now) : 0);
    } while (GetTickCount() < at && !QuitWanted());
  }
  Present();
}

namespace {

// The title's line of keys is the desktop's; a page has no Esc to quit and its own keys
// and buttons, so it shows a line of its own there, short enough for the notice's box.
constexpr const char* kDesktopKeysLine = "Arrows steer";
constexpr const char* kPageNotice = "Ctrl or START starts  Alt or GAS accelerates  (C) 2026 Kelto1";

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

void WebPlatform::Present() {
  if (!shown_) return;
  const ElementState& notice = shown_->elements.Painted(Element::COMMENT);
  const bool keys_line = notice.visible && StartsWith(notice.text, kDesktopKeysLine);
  if (keys_line) {
    WindowElements elements = shown_->elements;
    elements.PaintedForEdit(Element::COMMENT).text = kPageNotice;
    screen_.Compose(ShownWindow{elements, shown_->view, shown_->logo, shown_->frame_delay_ms}, BoxView{}, painter_,
                    CurrentOverlay());
  } else {
    screen_.Compose(*shown_, BoxView{}, painter_, CurrentOverlay());
  }
  const Picture& p = screen_.picture();
  k1_present(p.Row(0), p.width(), p.height());
  dirty_ = false;
  const ElementState& banner = shown_->elements.Painted(Element::GETREADY);
  k1_report("banner", banner.visible ? banner.text.c_str() : "");
  k1_report("title", shown_->elements.Painted(Element::GameTitle).visible ? "1" : "0");
  k1_report("speed", shown_->elements.Painted(Element::Text1).text.c_str());
  k1_report("caption", shown_->elements.Painted(Element::SCORElab5).text.c_str());  // "REPLAY" in a replay
  k1_report("best", shown_->elements.Painted(Element::HighSc).text.c_str());
  k1_report("delay", shown_->elements.Painted(Element::Gamewait).text.c_str());
  k1_report("delay_held", shown_->elements[Element::Gamewait].text.c_str());  // as the game holds it
  k1_report("car", shown_->elements[Element::CarSel].text.c_str());
  k1_report("notice", !notice.visible ? "" : keys_line ? kPageNotice : notice.text.c_str());
  k1_report("paused", keys_.pause().paused() ? "1" : "0");
  k1_report("panel", std::to_string(panel_.size()).c_str());
  k1_report("panel_pick", std::to_string(panel_pick_).c_str());
  // The page puts its own controls over the boxes the person types into, while they show
  // (and the records table does not lie over them).
  const ElementState& car = shown_->elements.Painted(Element::CarSel);
  const ElementState& delay = shown_->elements.Painted(Element::Gamewait);
  const bool boxes = panel_.empty();
  k1_boxes(boxes && car.visible, car.text.c_str(), boxes && delay.visible, delay.text.c_str());
}

void WebPlatform::StartAgain() {
  ended_ = false;
  SetPaused(false);
  in_race_ = false;
  vehicle_.Reset();
  replay_paused_ = false;
  title_line_.clear();
  keys_.Forget();
  shown_.reset();
  screen_ = ScreenPicture();
}

// The game's lines name it already, as they do on the desktop. They are notices (a
// replay's verdict among them), not errors, on the page's console.
void WebPlatform::Note(const std::string& line) { k1_note(line.c_str()); }

uint32_t WebPlatform::JoyGetPos(uint32_t id, JoyPosition& position) {
  int32_t raw_x = 0;
  const int buttons = id == 0 ? k1_gamepad(&raw_x) : -1;
  if (buttons < 0) return kJoystickUnplugged;
  if (!gamepad_seen_) {
    gamepad_seen_ = true;
    rest_raw_x_ = raw_x;
  }
  position.x = AxisToPosition(raw_x, rest_raw_x_);
  position.y = 32768;
  position.z = 0;
  position.buttons = static_cast<uint32_t>(buttons);
  return 0;
}

uint32_t WebPlatform::JoyGetDevCaps(uint32_t id) {
  int32_t raw_x = 0;
  return id == 0 && k1_gamepad(&raw_x) >= 0 ? 0 : kJoystickUnplugged;
}

void WebPlatform::PlaySoundFromMemory(const std::vector<uint8_t>& image) {
  // The game holds each sound as its file and one zero byte.
  const auto is = [&image](const std::vector<uint8_t>& file) {
    return !file.empty() && image.size() == file.size() + 1 && std::equal(file.begin(), file.end(), image.begin());
  };
  const bool crash = std::any_of(crash_sounds_.begin(), crash_sounds_.end(), is);
  k1_play_effect(image.data(), static_cast<int>(image.size()), crash ? 1 : 0);
}

int32_t WebPlatform::SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) {
  return music_.Send(command, reply, reply_length);
}

}  // namespace kelto1
