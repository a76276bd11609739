// The shell's readouts: the condition with its colours, the clock, and the frame delay.
#include <string>

#include "shell/kelto1.h"
#include "shell/readout_text.h"

namespace kelto1 {

void Kelto1::ShowHitPoints() {
  const int32_t h = vehicles.Vehicles[0].HitPoints;
  ElementState& box = window[Element::HitP];
  if (h >= 350) box.color = colors::kGreen;
  if (h >= 100 && h < 350) box.color = colors::kYellow;
  if (h < 100) box.color = colors::kRed;
  box.text = std::to_string(h);
  Repaint(Element::HitP);
}

void Kelto1::ShowTime() {
  shell.TimeTick += 1;
  if (shell.TimeTick < 100) return;
  shell.TimeTick = 0;
  ElementState& box = window[Element::Mtime];
  AddToReadout(box.text, -1);
  if (ReadoutValue(box.text) <= 0) box.text = "0";
  if (ReadoutValue(box.text) <= 0 && shell.RaceOver == 0) shell.RaceOver = 1;
  Repaint(Element::Mtime);
}

int32_t Kelto1::FrameDelayMs() {
  // The player may type anything into the box between races; a text that is not a
  // whole number of milliseconds keeps the last delay that was one.
  if (auto ms = ParseWholeNumber(window[Element::Gamewait].text)) shell.LastWaitMs = *ms;
  return shell.LastWaitMs;
}

}  // namespace kelto1
