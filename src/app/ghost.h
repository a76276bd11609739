// The ghost: the car of a recorded race, driven by its recorded keys, shown beside the
// player's as a see-through outline. It is only drawn: the race never sees it, so a race
// with a ghost is the same race, frame for frame, as one without.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "replay/forwarding_platform.h"

namespace kelto1 {

class Kelto1;

// How far up the road a race has come, in pixels of road, lap after lap.
class RoadProgress {
 public:
  void Reset() { last_pos_ = -1, laps_ = 0; }
  int64_t Update(const Kelto1& game);

 private:
  int32_t last_pos_ = -1;
  int64_t laps_ = 0;
};

// Where the ghost's car was after one race frame.
struct GhostFrame {
  int64_t progress = 0;  // the ghost race's road progress
  int16_t x = 0, y = 0;  // its car in its own view
  uint8_t sprite = 0;
};

// Plays a replay file's race to its end on a machine of its own and notes where its car is
// after every frame; nothing when the file cannot be played (why says so).
std::optional<std::vector<GhostFrame>> TraceGhost(const std::vector<uint8_t>& file, std::string& why);

// The same, on a thread of its own, so that a long race's ghost (a game frame for every
// frame of it) never holds up the window: the frames traced so far can be read at any
// time, and a race catches up with the tracing only if it is faster than the game itself.
class GhostTracing {
 public:
  // Nothing, with why, for a file that is no replay.
  static std::unique_ptr<GhostTracing> Start(const std::vector<uint8_t>& file, std::string& why);
  // The whole race traced here and now, for a machine without threads; between, when
  // given, is called after every kFramesBetween frames (a few milliseconds of tracing),
  // so that the caller can let the rest of the program have its turn.
  static constexpr size_t kFramesBetween = 10;
  static std::unique_ptr<GhostTracing> TraceNow(const std::vector<uint8_t>& file, std::string& why,
                                                const std::function<void()>& between = {});
  ~GhostTracing();
  // Frames traced so far; each one, once traced, stays as it is.
  size_t ready() const { return ready_.load(std::memory_order_acquire); }
  const GhostFrame& at(size_t i) const { return frames_[i]; }
  // Waits for the end of the tracing; false when the race did not play as recorded.
  bool Finish();

 private:
  GhostTracing() = default;
  // Keeps the next frame traced; false once every frame the replay holds is kept.
  bool Keep(const GhostFrame& frame);
  std::vector<GhostFrame> frames_;  // sized once, before the thread starts
  std::atomic<size_t> ready_{0};
  std::atomic<bool> stop_{false};
  bool played_ = false;
  std::thread thread_;
};

// A ghost on the view is drawn where it is on the road relative to the player; off the
// view it is a marker at the edge it is beyond, with how far ahead or behind it is.
inline constexpr int kPixelsPerMetre = 8;
struct GhostPlacement {
  enum class Where { OnView, Ahead, Behind } where = Where::OnView;
  int x = 0, y = 0;      // the car's top left on the view
  int64_t gap = 0;       // road pixels the ghost is ahead (negative: behind)
  int metres() const { return static_cast<int>((gap < 0 ? -gap : gap) / kPixelsPerMetre); }
};
GhostPlacement PlaceGhost(const GhostFrame& ghost, int64_t progress, int height);

// Draws the ghost into a copy of the view: its sprite's outline over the road with the
// inside lightly tinted, or the edge marker.
class GhostPainter {
 public:
  explicit GhostPainter(std::vector<GhostFrame> track) : track_(std::move(track)) {}
  explicit GhostPainter(std::shared_ptr<const GhostTracing> tracing) : tracing_(std::move(tracing)) {}
  // Another race's ghost.
  void SetTrack(std::shared_ptr<const GhostTracing> tracing) {
    tracing_ = std::move(tracing);
    track_.clear();
  }

  // The view as shown with the ghost of this race frame, from the game's own view; the
  // game's view when the ghost's race has already ended.
  const Picture& Compose(const Kelto1& game, long frame);

 private:
  void DrawCar(const Kelto1& game, const GhostPlacement& at, uint8_t sprite);
  void DrawMarker(const GhostPlacement& at);

  std::vector<GhostFrame> track_;
  std::shared_ptr<const GhostTracing> tracing_;
  RoadProgress progress_;
  Picture view_;
};

// The machine as a race with a ghost sees it: every view the game shows in a race frame
// goes to the screen with the ghost drawn in; the game's own view is never touched.
class GhostOverlay final : public ForwardingPlatform {
 public:
  explicit GhostOverlay(Platform& inner) : ForwardingPlatform(inner), painter_(std::vector<GhostFrame>{}) {}
  void Follow(const Kelto1& game) { game_ = &game; }
  // The ghost to draw from the next race frame on (none: nothing is drawn).
  void SetTrack(std::shared_ptr<const GhostTracing> tracing) { painter_.SetTrack(std::move(tracing)); }
  // Asked at every view: whether the player wants the ghost drawn (a key switches it).
  void ShownWhen(std::function<bool()> shown) { shown_ = std::move(shown); }
  void Repaint(const ShownWindow& shown, Element which) override;

 private:
  GhostPainter painter_;
  const Kelto1* game_ = nullptr;
  std::function<bool()> shown_ = [] { return true; };
};

}  // namespace kelto1
