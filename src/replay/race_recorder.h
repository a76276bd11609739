// Every race is recorded: the game asks the machine through this wrapper, which notes
// each key and joystick answer of each race frame. When the race loop returns, the race
// is written as last.k1r (and best.k1r when it set a new best rank) beside the settings.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "replay/forwarding_platform.h"
#include "replay/records.h"
#include "replay/replay_file.h"
#include "replay/view_hash.h"

namespace kelto1 {

class Kelto1;

class RaceRecorder final : public ForwardingPlatform {
 public:
  explicit RaceRecorder(Platform& inner) : ForwardingPlatform(inner) {}

  int16_t GetAsyncKeyState(int virtual_key) override;
  uint32_t JoyGetPos(uint32_t id, JoyPosition& position) override;

  // Hashing every painted view costs about as much as a frame of the game itself; the
  // desktop keeps it, the simulated machine turns it on when it is asked for.
  void set_hash_views(bool on) { hash_views_ = on; }

  // The records table every decided race is entered into; without one, none is kept.
  void set_records(RecordsKeeper* keeper) { records_ = keeper; }

  // Called by the game: just before the race start, around every race frame, for every
  // repaint of the view, and when the race loop has returned.
  void RaceStarts(const Kelto1& game);
  void FrameStarts();
  void FrameEnds(const Kelto1& game);
  void ViewPainted(const Kelto1& game);
  void RaceEnds(Kelto1& game);

  // The race frame being played (1 = the first), 0 outside a race frame.
  long race_frame() const { return recording_ && in_frame_ ? static_cast<long>(replay_.frames) : 0; }

  // Races recorded to their end since the game was made.
  uint32_t races_ended() const { return races_ended_; }

  // The file of the last race that was recorded.
  const std::vector<uint8_t>& last_file() const { return last_file_; }

 private:
  void Answer(const InputAnswer& a);
  void CloseFrame();
  void FollowCourse(const Kelto1& game);
  void EnterRecord(const Kelto1& game);

  bool recording_ = false;
  bool in_frame_ = false;
  bool hash_views_ = true;
  Replay replay_;
  std::string best_before_;
  std::vector<uint8_t> frame_bytes_;
  std::map<std::vector<uint8_t>, uint32_t> pattern_index_;
  ViewHash views_;
  std::vector<uint8_t> last_file_;
  RecordsKeeper* records_ = nullptr;
  uint32_t races_ended_ = 0;
  // How far the race has come, for the records table.
  int32_t last_course_pos_ = -1;
  int last_place_ = 0;
  int places_ = 1;
  int64_t distance_ = 0;
};

}  // namespace kelto1
