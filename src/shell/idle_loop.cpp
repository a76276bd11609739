// Between races: the 20 ms idle tick, the title screen, game over and the Escape check.
#include <algorithm>
#include <string>

#include "shell/kelto1.h"
#include "shell/readout_text.h"

namespace kelto1 {

namespace {
constexpr const char* kMakersNotice = "Arrows steer  Alt accelerates  Ctrl brakes  Esc quits  (C) 2026 Kelto1";
}

void Kelto1::Timer1_Timer() {
  if (Ended()) return;
  PaceFrame();
  // Reading Alt clears the record of a press made since the last reading, so that
  // only an Alt held down now blocks the start.
  for (int i = 0; i < 11; ++i) platform.GetAsyncKeyState(vk::kMenu);
  for (int i = 0; i < 4; ++i) platform.DiscardKeyMessage();
  if (shell.TitlePending == 1) {
    shell.TitlePending = 0;
    ShowTitle();
  }
  if (ReadPedalKeys() == dir::kBrake) shell.StartPending = 1;
  CheckQuitKey();
  if (Ended()) return;
  if (shell.StartPending == 1) {
    window.SetVisible(Element::Spdlbl, false);
    window.SetVisible(Element::Gamewait, false);
    shell.StartPending = 0;
    Repaint(Element::Spdlbl);
    Repaint(Element::Gamewait);
    Repaint(Element::Window);
    recorder.RaceStarts(*this);
    StartRace();
    shell.EndFrames = 0;
    RunRace();
    recorder.RaceEnds(*this);
  }
}

void Kelto1::ShowTitle() {
  StopMusic();

  // The next race starts from here; what is not listed carries over.
  for (auto& column : course.TileGrid) column.fill(0);
  const int16_t lane_x[5] = {0, 130, 225, 316, 490};
  for (int l = 1; l <= 4; ++l) {
    Lane& lane = course.Lanes[l];
    lane.X = lane_x[l];
    lane.Top = -1984;
    lane.Bottom = 1568;
    lane.TopMoving = 0;
    lane.BottomMoving = 0;
  }
  for (auto& p : traffic.Pickups) p.Active = 0;
  for (int c = 1; c <= 29; ++c) {
    Rival& r = traffic.Rivals[c - 1];
    r.OnRoad = 0;
    r.Ahead = 1;
    r.Speed = std::min<long long>(Int(c / 2.0) + 30, 160);
    r.Pos = c * 30 + 100;
    r.Travel = 0;
  }
  for (int d = 0; d <= 9; ++d) traffic.Debris[d].Active = 0;
  for (int v = 1; v <= 28; ++v) vehicles.Vehicles[v].Active = 0;
  course.Kind1Limit = 20;
  course.Kind1Odds = 20;
  course.Kind2Odds = 50;
  course.Kind3Odds = 100;
  course.SignalOdds = 100;
  course.PickupOdds = 10;
  course.TrafficKinds = 12;
  course.RoadWidth = 1;

  window[Element::Mtime].text = "200";
  shell.TimeTick = 0;
  course.PlaceSteps = 0;
  course.PlaceIndex = 1;
  shell.RaceOver = 0;
  window[Element::Rank].text = "30";
  window[Element::CityDisp].text = PlaceNames[course.PlaceIndex];
  Repaint(Element::CityDisp);
  window[Element::HitP].text = std::to_string(vehicles.Vehicles[0].HitPoints.get());
  window[Element::HitP].color = colors::kGreen;
  window[Element::Text1].text = "0";
  Repaint(Element::Text1);

  Master.Clear();
  BitBlt(Display, 0, 0, kViewWidth, kViewHeight, Master, 0, 0, RasterOp::SRCCOPY);

  window[Element::GameTitle].top = 130;
  window[Element::GameTitle].left = 160;
  window.SetVisible(Element::GameTitle, true);
  Repaint(Element::GameTitle);
  window.SetVisible(Element::GETREADY, true);
  window[Element::GETREADY].text = "PUSH [Ctrl] TO START";
  Repaint(Element::GETREADY);
  window.SetVisible(Element::COMMENT, true);
  window[Element::COMMENT].text = kMakersNotice;
  Repaint(Element::COMMENT);
  Repaint(Element::Display);
  Repaint(Element::Window);
  shell.EndFrames = 0;
}

void Kelto1::GameOver() {
  // The best rank is kept as text but compared as a number. A best of 0, or a box that
  // holds no number, means no race has been finished yet: any rank is recorded then.
  const std::optional<int32_t> best = ParseWholeNumber(window[Element::HighSc].text);
  const std::optional<int32_t> rank = ParseWholeNumber(window[Element::Rank].text);
  if (rank && (!best || *best == 0 || *rank < *best)) window[Element::HighSc].text = window[Element::Rank].text;

  Master.Clear();
  BitBlt(Display, 0, 0, kViewWidth, kViewHeight, Master, 0, 0, RasterOp::SRCCOPY);

  window.SetVisible(Element::GETREADY, true);
  window[Element::GETREADY].color = colors::kRed;
  window[Element::GETREADY].text = "GAME OVER";
  Repaint(Element::GETREADY);
  window.SetVisible(Element::Spdlbl, true);
  window.SetVisible(Element::Gamewait, true);
  Repaint(Element::Spdlbl);
  Repaint(Element::Gamewait);
  Repaint(Element::Display);
  Repaint(Element::HighSc);
  // The banner on screen stays red; the colour applies when it is next painted.
  window[Element::GETREADY].color = colors::kLightYellow;
  shell.TitlePending = 1;
}

void Kelto1::CheckQuitKey() {
  if (platform.GetAsyncKeyState(vk::kEscape) != 0) {
    SaveSettings();
    StopMusic();
    shell.Ended = 1;
    platform.EndProgram();
  }
}

}  // namespace kelto1
