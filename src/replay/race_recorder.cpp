// Recording the race being played.
#include "replay/race_recorder.h"

#include <algorithm>
#include <cstdlib>

#include "replay/race_snapshot.h"
#include "shell/game_version.h"
#include "shell/kelto1.h"

namespace kelto1 {

int16_t RaceRecorder::GetAsyncKeyState(int virtual_key) {
  const int16_t state = ForwardingPlatform::GetAsyncKeyState(virtual_key);
  InputAnswer a;
  a.kind = InputAnswer::Kind::Key;
  a.key = static_cast<uint8_t>(virtual_key);
  a.key_state = state;
  Answer(a);
  return state;
}

uint32_t RaceRecorder::JoyGetPos(uint32_t id, JoyPosition& position) {
  const uint32_t result = ForwardingPlatform::JoyGetPos(id, position);
  InputAnswer a;
  a.kind = InputAnswer::Kind::Joystick;
  a.joy_id = id;
  a.joy_result = result;
  if (result == 0) a.position = position;
  Answer(a);
  return result;
}

void RaceRecorder::Answer(const InputAnswer& a) {
  if (recording_ && in_frame_) AppendAnswer(frame_bytes_, a);
}

void RaceRecorder::RaceStarts(const Kelto1& game) {
  replay_ = Replay{};
  replay_.game_version = GameVersion();
  replay_.car = game.window[Element::CarSel].text;
  replay_.start = CaptureRaceStart(game);
  replay_.has_view_hash = hash_views_;
  pattern_index_.clear();
  views_.Reset();
  best_before_ = game.window[Element::HighSc].text;
  last_course_pos_ = -1;
  places_ = 1;
  distance_ = 0;
  recording_ = true;
  in_frame_ = false;
}

void RaceRecorder::FrameStarts() {
  if (!recording_) return;
  in_frame_ = true;
  frame_bytes_.clear();
  ++replay_.frames;
}

void RaceRecorder::CloseFrame() {
  in_frame_ = false;
  auto [it, added] = pattern_index_.try_emplace(frame_bytes_, static_cast<uint32_t>(replay_.patterns.size()));
  if (added) replay_.patterns.push_back(ParseAnswers(frame_bytes_.data(), frame_bytes_.size()).value_or(FrameInput{}));
  if (!replay_.runs.empty() && replay_.runs.back().pattern == it->second) {
    ++replay_.runs.back().frames;
  } else {
    replay_.runs.push_back({it->second, 1});
  }
}

void RaceRecorder::FrameEnds(const Kelto1& game) {
  if (!recording_ || !in_frame_) return;
  CloseFrame();
  FollowCourse(game);
  if (replay_.frames % kCheckpointEvery == 0) replay_.checkpoints.push_back(RaceHash(game));
}

void RaceRecorder::FollowCourse(const Kelto1& game) {
  const int32_t pos = game.course.CoursePos;
  const int place = game.course.PlaceIndex;
  // The player starts standing, so the first frame moves nothing and is the origin.
  if (last_course_pos_ >= 0) {
    distance_ += pos >= last_course_pos_ ? pos - last_course_pos_ : pos + game.course.CourseLength - last_course_pos_;
    if (place != last_place_) ++places_;
  }
  last_course_pos_ = pos;
  last_place_ = place;
}

void RaceRecorder::EnterRecord(const Kelto1& game) {
  // Only a race that was decided counts: one left with Escape is not a result.
  if (!records_ || game.shell.RaceOver != 1 || game.Ended() || last_file_.empty()) return;
  RaceRecord race;
  race.vehicle = replay_.car;
  race.rank = std::clamp(std::atoi(game.window[Element::Rank].text.c_str()), 1, 30);
  race.places = places_;
  race.place = game.window[Element::CityDisp].text;
  race.distance = distance_;
  race.frames = replay_.frames;
  records_->Enter(race, last_file_, [this](const std::string& line) { Note(line); });
}

void RaceRecorder::ViewPainted(const Kelto1& game) {
  if (recording_ && in_frame_ && hash_views_) views_.Add(game.Display);
}

void RaceRecorder::RaceEnds(Kelto1& game) {
  if (!recording_) return;
  // A race left with Escape ends inside its last frame.
  if (in_frame_) FrameEnds(game);
  recording_ = false;
  replay_.state_hash = game.StateHash();
  replay_.view_hash = hash_views_ ? views_.value() : 0;
  last_file_ = EncodeReplay(replay_);
  ++races_ended_;
  EnterRecord(game);

  const std::string& settings = game.SettingsPath;
  const size_t slash = settings.rfind('/');
  if (slash == std::string::npos) return;  // no settings folder: nowhere to keep it
  const std::string folder = settings.substr(0, slash);
  FileStore& files = Files();
  std::vector<std::string> names = {"last.k1r"};
  if (game.window[Element::HighSc].text != best_before_) names.push_back("best.k1r");
  for (const std::string& name : names) {
    const std::string path = folder + "/" + name;
    if (last_file_.empty() || !files.Replace(path, last_file_)) Note("kelto1: could not save the replay to " + path);
  }
}

}  // namespace kelto1
