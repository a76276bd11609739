// The design-time state of the window's elements.
#include "platform/window_elements.h"

namespace kelto1 {

WindowElements::WindowElements() {
  auto set = [this](Element e, const char* text, uint32_t color, bool visible) {
    auto& el = elements_[static_cast<size_t>(e)];
    el.now.text = text;
    el.now.color = color;
    el.now.visible = visible;
    el.painted = el.now;
  };
  using namespace colors;
  // The boxes' design-time texts are placeholders; the game writes every one of them
  // before the first title screen is complete.
  set(Element::HighSc, "0", kWhite, true);
  set(Element::Text1, "0", kLightYellow, true);
  set(Element::HitP, "0", kGreen, true);
  set(Element::Rank, "30", kLightYellow, true);
  set(Element::CityDisp, "", kWhite, true);
  set(Element::Mtime, "200", kLightYellow, true);
  set(Element::Gamewait, "0", kLightCyan, true);
  set(Element::GETREADY, "", kLightYellow, false);
  set(Element::COMMENT, "", kLightYellow, false);
  set(Element::CarSel, kCarSelItems[0], kLightYellow, true);
  set(Element::SCORElab0, "SPEED", kLightYellow, true);
  set(Element::SCORElab1, "HIGHEST_RANK", kWhite, true);
  set(Element::SCORElab2, "TIME", kLightYellow, true);
  set(Element::SCORElab3, "RANK", kLightYellow, true);
  set(Element::SCORElab4, "CONDITION", kLightYellow, true);
  set(Element::SCORElab5, "Ver1.5", kLightYellow, true);
  set(Element::Label3, "km/h", kLightYellow, true);
  set(Element::Spdlbl, "速度調整(WAIT)", kWhite, true);
  set(Element::Label2, "", kSignGreen, true);
  set(Element::Display, "", kBlack, true);
  set(Element::GameTitle, "", kGrey, false);
  auto& title = elements_[static_cast<size_t>(Element::GameTitle)];
  title.now.left = title.painted.left = 160;
  title.now.top = title.painted.top = 130;
}

void WindowElements::MarkPainted(Element e) {
  if (e == Element::Window) {
    for (auto& el : elements_) el.painted = el.now;
    return;
  }
  auto& el = elements_[static_cast<size_t>(e)];
  el.painted = el.now;
}

}  // namespace kelto1
