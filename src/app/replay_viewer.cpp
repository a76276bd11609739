// Watching a replay in the window.
#include "app/replay_viewer.h"

#include <algorithm>

#include "frontend/notice_line.h"
#include "replay/replay_player.h"
#include "shell/kelto1.h"

namespace kelto1 {

namespace {
constexpr uint32_t kPauseSleepMs = 15;
// How long the viewer waits for Escape to be let go, so that the game behind does not
// take the same press as its own quit.
constexpr int kEscapeReleaseTries = 150;
}  // namespace

ViewerPlatform::ViewerPlatform(Platform& screen) : ForwardingPlatform(screen) { real_ = screen.GetTickCount(); }

uint32_t ViewerPlatform::GetTickCount() {
  const uint32_t now = inner().GetTickCount();
  if (!paused_) virtual_ += (now - real_) * speed_;
  real_ = now;
  ReadKeys();
  // Leaving ends any wait at once.
  if (leaving_) virtual_ += 1u << 20;
  return virtual_;
}

void ViewerPlatform::Idle(uint32_t remaining_ms) { inner().Idle(std::max<uint32_t>(1, remaining_ms / speed_)); }

void ViewerPlatform::ReadKeys() {
  const bool space = inner().GetAsyncKeyState(vk::kSpace) != 0;
  if (space && !space_was_down_) {
    paused_ = !paused_;
    if (on_pause_) on_pause_(paused_);
  }
  space_was_down_ = space;
  speed_ = inner().GetAsyncKeyState(vk::kRight) != 0 ? kFast : 1;
  if (inner().GetAsyncKeyState(vk::kEscape) != 0) leaving_ = true;
}

void ViewerPlatform::BetweenFrames() {
  GetTickCount();
  while (paused_ && !leaving_) {
    inner().Idle(kPauseSleepMs);
    GetTickCount();
  }
}

void ViewerPlatform::Mark() {
  if (!game_) return;
  ElementState& caption = game_->window.PaintedForEdit(Element::SCORElab5);
  caption.text = "REPLAY";
  caption.color = colors::kRed;
}

void ViewerPlatform::Repaint(const ShownWindow& shown, Element which) {
  Mark();
  // At four times the speed, one view in four reaches the screen, at the usual pace.
  if (which == Element::Display && speed_ > 1 && ++views_ % speed_ != 0) return;
  ForwardingPlatform::Repaint(shown, which);
}

WatchResult WatchReplay(Platform& screen, const std::vector<uint8_t>& file, std::function<void(bool)> on_pause) {
  WatchResult result;
  std::string error;
  auto replay = DecodeReplay(file, error);
  if (!replay) {
    result.line = error;
    return result;
  }
  ViewerPlatform viewer(screen);
  ReplayPlayer player(viewer, std::move(*replay));
  if (!player.Prepare(error)) {
    result.line = error;
    return result;
  }
  viewer.Watch(player.game());
  viewer.OnPause(on_pause);
  viewer.CentreWindow();
  viewer.Repaint(player.game().Shown(), Element::Window);
  player.before_frame = [&viewer](long) { viewer.BetweenFrames(); };
  player.keep_going = [&viewer] { return !viewer.leaving(); };
  const ReplayOutcome outcome = player.Play();
  if (viewer.paused() && on_pause) on_pause(false);
  for (int i = 0; i < kEscapeReleaseTries && screen.GetAsyncKeyState(vk::kEscape) != 0; ++i) screen.Idle(10);
  result.played = true;
  result.diverged = outcome.diverged;
  result.line = DescribeOutcome(outcome);
  return result;
}

std::optional<std::vector<uint8_t>> ReadReplayFile(FileStore& files, const std::string& path, std::string& why) {
  bool too_big = false;
  std::optional<std::vector<uint8_t>> bytes = files.ReadAtMost(path, kMaxReplayFileSize, too_big);
  why = bytes ? "" : too_big ? "too large to be a replay" : "cannot be read";
  if (bytes && !DecodeReplay(*bytes, why)) bytes.reset();
  return bytes;
}

WatchResult ReplayFromTitle(Platform& screen, Kelto1& game, std::function<void(bool)> on_pause,
                            const std::string& file) {
  const size_t slash = game.SettingsPath.rfind('/');
  const std::string path =
      !file.empty() ? file
                    : (slash == std::string::npos ? std::string(".") : game.SettingsPath.substr(0, slash)) + "/last.k1r";
  bool too_big = false;
  const auto bytes = screen.Files().ReadAtMost(path, kMaxReplayFileSize, too_big);
  WatchResult result;
  if (too_big) {
    result.line = path + ": too large to be a replay";
  } else if (!bytes) {
    result.line = "no replay yet (" + path + " cannot be read)";
  } else {
    result = WatchReplay(screen, *bytes, std::move(on_pause));
    if (!result.played) result.line = path + ": " + result.line;
  }
  screen.Note("kelto1: " + EscapedForOneLine(result.line));
  if (!result.played || result.diverged) game.window[Element::COMMENT].text = FitNoticeLine(result.line);
  // The title screen comes back as it was, with the line in its notice.
  game.Repaint(Element::Window);
  return result;
}

}  // namespace kelto1
