#include "web/web_platform.h"

#include <emscripten.h>

#include <algorithm>

#include "frontend/joystick_axis.h"
#include "web/page_calls.h"

namespace kelto1 {

WebPlatform::WebPlatform() {
  files_.RestoreStored();
  keys_.Listen();
  // A crash (not a light knock) shakes a phone that can.
  for (const char* name : {"crsh.wav", "crwal.wav"})
    crash_sounds_.push_back(files_.Read(std::string(kFolder) + "/" + name).value_or(std::vector<uint8_t>{}));
}

uint32_t WebPlatform::GetTickCount() { return static_cast<uint32_t>(static_cast<uint64_t>(k1_now_ms())); }

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
    screen_.Compose(ShownWindow{elements, shown_->view, shown_->logo, shown_->frame_delay_ms}, BoxView{}, painter_);
  } else {
    screen_.Compose(*shown_, BoxView{}, painter_);
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
  // The page puts its own controls over the boxes the person types into, while they show.
  const ElementState& car = shown_->elements.Painted(Element::CarSel);
  const ElementState& delay = shown_->elements.Painted(Element::Gamewait);
  k1_boxes(car.visible, car.text.c_str(), delay.visible, delay.text.c_str());
}

void WebPlatform::StartAgain() {
  ended_ = false;
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
