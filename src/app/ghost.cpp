// The ghost: its race traced from a replay, placed on the player's road and drawn.
#include "app/ghost.h"

#include <algorithm>
#include <functional>

#include "headless/headless_platform.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"
#include "shell/kelto1.h"

namespace kelto1 {

namespace {

constexpr int kCell = 32;
constexpr int kCellsPerRow = 16;
constexpr uint32_t kGhostColour = 0xA0F0FF;  // a pale cyan no car of the sheet is painted in
constexpr int kMarkerHeight = 14;

// The sprite's pixel at (x, y) of its cell is part of its shape: the sheet's pixels that
// change what they are drawn over (white over a black mask leaves the road as it is).
bool InShape(const Picture& mask, const Picture& sheet, int cell, int x, int y) {
  const int sx = (cell % kCellsPerRow) * kCell + x, sy = (cell / kCellsPerRow) * kCell + y;
  if (cell < 0 || sx >= sheet.width() || sy >= sheet.height() || mask.width() != sheet.width() ||
      mask.height() != sheet.height())
    return false;
  return (mask.At(sx, sy) & 0xFFFFFF) != 0 || (sheet.At(sx, sy) & 0xFFFFFF) != 0xFFFFFF;
}

uint32_t Tint(uint32_t under) {
  // Three parts road, one part ghost: the road still shows through.
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t a = (under >> shift) & 0xFF, b = (kGhostColour >> shift) & 0xFF;
    out |= ((3 * a + b) / 4) << shift;
  }
  return out;
}

void SetClipped(Picture& p, int x, int y, uint32_t c) {
  if (x >= 0 && y >= 0 && x < p.width() && y < p.height()) p.Set(x, y, c);
}

// Digits of a 3 x 5 pixel font, a row a number, the top row first, high bit on the left.
constexpr uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void DrawNumber(Picture& p, int x, int y, const std::string& text) {
  for (const char c : text) {
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col) {
        const bool on = c == '+' ? (row == 2 || col == 1) && row >= 1 && row <= 3
                      : c == '-' ? row == 2
                      : c == 'm' ? row >= 2 && (col != 1 || row == 2)
                      : c >= '0' && c <= '9' && (kDigits[c - '0'][row] >> (2 - col) & 1);
        if (!on) continue;
        // Twice the size, so that it reads at a glance.
        for (int d = 0; d < 4; ++d) SetClipped(p, x + 2 * col + d % 2, y + 2 * row + d / 2, kGhostColour);
      }
    x += 8;
  }
}

}  // namespace

int64_t RoadProgress::Update(const Kelto1& game) {
  const int32_t pos = game.course.CoursePos;
  if (last_pos_ >= 0 && pos < last_pos_) ++laps_;
  last_pos_ = pos;
  const int64_t rows = (laps_ * game.course.CourseLength + pos) * 2 + game.course.RowHalf;
  return rows * kCell + game.vehicles.ScrollSub;
}

namespace {

// Plays the replay, handing over where its car is after every frame; false when it did
// not play as recorded. stop, once set, ends it early.
bool Trace(ReplayPlayer& player, const std::function<void(const GhostFrame&)>& each, const std::atomic<bool>* stop) {
  RoadProgress progress;
  player.after_frame = [&](long) {
    const Kelto1& g = player.game();
    const Vehicle& car = g.vehicles.Vehicles[0];
    each({progress.Update(g), static_cast<int16_t>(car.X + car.OffsetX), car.Y, car.Sprite});
  };
  if (stop) player.keep_going = [stop] { return !stop->load(std::memory_order_relaxed); };
  return !player.Play().diverged;
}

}  // namespace

std::optional<std::vector<GhostFrame>> TraceGhost(const std::vector<uint8_t>& file, std::string& why) {
  std::optional<Replay> replay = DecodeReplay(file, why);
  if (!replay) return std::nullopt;
  HeadlessPlatform machine;
  ReplayPlayer player(machine, std::move(*replay));
  if (!player.Prepare(why)) return std::nullopt;
  std::vector<GhostFrame> track;
  track.reserve(player.replay().frames);
  if (!Trace(player, [&](const GhostFrame& f) { track.push_back(f); }, nullptr)) {
    why = "the race no longer plays as recorded";
    return std::nullopt;
  }
  return track;
}

std::unique_ptr<GhostTracing> GhostTracing::Start(const std::vector<uint8_t>& file, std::string& why) {
  std::optional<Replay> replay = DecodeReplay(file, why);
  if (!replay) return nullptr;
  // Made and checked here, so that what the thread is given is sure to play.
  auto machine = std::make_shared<HeadlessPlatform>();
  auto player = std::make_shared<ReplayPlayer>(*machine, std::move(*replay));
  if (!player->Prepare(why)) return nullptr;
  std::unique_ptr<GhostTracing> t(new GhostTracing);
  t->frames_.resize(player->replay().frames);
  GhostTracing* self = t.get();
  t->thread_ = std::thread([self, machine, player] {
    self->played_ = Trace(*player, [self](const GhostFrame& f) { self->Keep(f); }, &self->stop_);
  });
  return t;
}

std::unique_ptr<GhostTracing> GhostTracing::TraceNow(const std::vector<uint8_t>& file, std::string& why,
                                                     const std::function<void()>& between) {
  // The file unpacked, the race's machine made ready and each few frames are the places
  // where the caller may have its turn.
  const auto turn = [&] {
    if (between) between();
  };
  std::optional<Replay> replay = DecodeReplay(file, why);
  if (!replay) return nullptr;
  turn();
  HeadlessPlatform machine;
  ReplayPlayer player(machine, std::move(*replay));
  if (!player.Prepare(why)) return nullptr;
  turn();
  std::unique_ptr<GhostTracing> t(new GhostTracing);
  t->frames_.resize(player.replay().frames);
  t->played_ = Trace(player, [&](const GhostFrame& f) {
    if (t->Keep(f) && between && t->ready() % kFramesBetween == 0) between();
  }, nullptr);
  return t;
}

bool GhostTracing::Keep(const GhostFrame& frame) {
  const size_t n = ready_.load(std::memory_order_relaxed);
  if (n >= frames_.size()) return false;
  frames_[n] = frame;
  ready_.store(n + 1, std::memory_order_release);
  return true;
}

bool GhostTracing::Finish() {
  if (thread_.joinable()) thread_.join();
  return played_;
}

GhostTracing::~GhostTracing() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable()) thread_.join();
}

GhostPlacement PlaceGhost(const GhostFrame& ghost, int64_t progress, int height) {
  GhostPlacement at;
  at.gap = ghost.progress - progress;
  at.x = ghost.x;
  const int64_t y = ghost.y - at.gap;
  if (y + height <= 0) {
    at.where = GhostPlacement::Where::Ahead;
  } else if (y >= kViewHeight) {
    at.where = GhostPlacement::Where::Behind;
  } else {
    at.y = static_cast<int>(y);
  }
  return at;
}

const Picture& GhostPainter::Compose(const Kelto1& game, long frame) {
  if (frame == 1) progress_.Reset();
  const int64_t progress = progress_.Update(game);
  const size_t traced = tracing_ ? tracing_->ready() : track_.size();
  if (frame < 1 || static_cast<size_t>(frame) > traced) return game.Display;
  const GhostFrame& ghost = tracing_ ? tracing_->at(static_cast<size_t>(frame) - 1) : track_[static_cast<size_t>(frame) - 1];
  const int sprite = ghost.sprite < 60 ? ghost.sprite : 0;
  const int height = game.vehicles.SpriteSize[2 * sprite + 1] * kCell;
  const GhostPlacement at = PlaceGhost(ghost, progress, height);
  view_ = game.Display;
  if (at.where == GhostPlacement::Where::OnView) {
    DrawCar(game, at, ghost.sprite);
  } else {
    DrawMarker(at);
  }
  return view_;
}

void GhostPainter::DrawCar(const Kelto1& game, const GhostPlacement& at, uint8_t sprite) {
  if (sprite >= 60) return;
  const auto& v = game.vehicles;
  const int cells_wide = v.SpriteSize[2 * sprite], cells_high = v.SpriteSize[2 * sprite + 1];
  const int w = cells_wide * kCell, h = cells_high * kCell;
  if (w <= 0 || h <= 0 || w > kViewWidth || h > kViewHeight) return;
  // The whole sprite's shape first, so that its outline runs round the car, not its cells.
  std::vector<uint8_t> shape(static_cast<size_t>(w) * h, 0);
  int cell_index = v.SpriteFirstCell[sprite];
  for (int cy = 0; cy < cells_high; ++cy) {
    for (int cx = 0; cx < cells_wide; ++cx, ++cell_index) {
      if (cell_index < 0 || cell_index >= static_cast<int>(v.SpriteCells.size())) return;
      const int cell = v.SpriteCells[static_cast<size_t>(cell_index)];
      for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
          shape[static_cast<size_t>(cy * kCell + y) * w + cx * kCell + x] = InShape(game.Masking, game.Pattern, cell, x, y);
    }
  }
  const auto inside = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && shape[static_cast<size_t>(y) * w + x] != 0;
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!inside(x, y)) continue;
      const int vx = at.x + x, vy = at.y + y;
      if (vx < 0 || vy < 0 || vx >= view_.width() || vy >= view_.height()) continue;
      const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      view_.Set(vx, vy, edge ? kGhostColour : Tint(view_.At(vx, vy)));
    }
  }
}

void GhostPainter::DrawMarker(const GhostPlacement& at) {
  const bool ahead = at.where == GhostPlacement::Where::Ahead;
  const int cx = std::clamp(at.x + 16, 8, kViewWidth - 8);
  // A small arrow pointing off the view, and the distance beside it.
  for (int row = 0; row < 6; ++row) {
    const int y = ahead ? 2 + row : kViewHeight - 3 - row;
    for (int dx = -row; dx <= row; ++dx) SetClipped(view_, cx + dx, y, kGhostColour);
  }
  const std::string text = (ahead ? "+" : "-") + std::to_string(at.metres()) + "m";
  const int width = static_cast<int>(text.size()) * 8;
  const int tx = cx + 10 + width <= kViewWidth ? cx + 10 : cx - 10 - width;
  DrawNumber(view_, tx, ahead ? 2 : kViewHeight - kMarkerHeight + 2, text);
}

void GhostOverlay::Repaint(const ShownWindow& shown, Element which) {
  const long frame = game_ ? game_->recorder.race_frame() : 0;
  if (which != Element::Display || frame == 0) {
    ForwardingPlatform::Repaint(shown, which);
    return;
  }
  // Followed while hidden too, so that it comes back in the right place.
  const Picture& view = painter_.Compose(*game_, frame);
  if (!shown_()) {
    ForwardingPlatform::Repaint(shown, which);
    return;
  }
  ForwardingPlatform::Repaint(ShownWindow{shown.elements, view, shown.logo, shown.frame_delay_ms}, which);
}

}  // namespace kelto1
