// Driving the game on the headless machine.
#include "app/sim_session.h"

#include <sstream>

namespace kelto1 {

std::vector<DemoStep> ParseDemo(const std::string& text, std::string* error) {
  std::vector<DemoStep> steps;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::istringstream words(line);
    std::string count, keys;
    if (!(words >> count) || count[0] == '#') continue;
    DemoStep step;
    try {
      size_t used = 0;
      step.frames = std::stoi(count, &used);
      if (used != count.size() || step.frames < 0) throw std::invalid_argument(count);
    } catch (const std::exception&) {
      if (error) *error = "line " + std::to_string(number) + ": not a frame count: " + count;
      return {};
    }
    words >> keys;
    if (keys.empty()) keys = "-";
    if (keys != "-") {
      std::istringstream names(keys);
      std::string name;
      while (std::getline(names, name, '+')) {
        if (name == "LEFT") step.keys.push_back(vk::kLeft);
        else if (name == "RIGHT") step.keys.push_back(vk::kRight);
        else if (name == "ALT") step.keys.push_back(vk::kMenu);
        else if (name == "CTRL") step.keys.push_back(vk::kControl);
        else if (name == "ESC") step.keys.push_back(vk::kEscape);
        else {
          if (error) *error = "line " + std::to_string(number) + ": unknown key " + name;
          return {};
        }
      }
    }
    steps.push_back(step);
  }
  return steps;
}

SimSession::SimSession() : game_(std::make_unique<Kelto1>(platform_)) {
  // Hashing every painted view would double the cost of a frame; the runner asks for it.
  game_->recorder.set_hash_views(false);
  game_->SetBeforeFrame([this](Kelto1&) {
    in_frame_ = true;
    HoldKeysForFrame(frame_ + 1);
  });
  game_->SetAfterFrame([this](Kelto1&) {
    in_frame_ = false;
    ++frame_;
    if (after_frame) after_frame(frame_);
    return !stop_ && (max_frames_ == 0 || frame_ < max_frames_);
  });
}

void SimSession::StartProgram() {
  game_->Form_Load();
  game_->Repaint(Element::Window);  // the window is shown once start-up is done
  game_->Timer1_Timer();
}

void SimSession::HoldKeysForFrame(long frame) {
  if (keys_for_frame) {
    keys_for_frame(frame, platform_);
    return;
  }
  platform_.ReleaseAll();
  long first = 1;
  for (const DemoStep& step : demo_) {
    if (frame < first + step.frames) {
      for (int key : step.keys) platform_.Hold(key);
      return;
    }
    first += step.frames;
  }
}

long SimSession::RunRace(long max_frames) {
  frame_ = 0;
  max_frames_ = max_frames;
  stop_ = false;
  platform_.ReleaseAll();
  platform_.Tap(vk::kControl);
  game_->Timer1_Timer();
  platform_.ReleaseAll();
  return frame_;
}

}  // namespace kelto1
