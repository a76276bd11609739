// Playing a recorded race.
#include "replay/replay_player.h"

#include <algorithm>

#include "replay/race_snapshot.h"

namespace kelto1 {

ReplayPlatform::ReplayPlatform(Platform& inner, const Replay& replay)
    : ForwardingPlatform(inner), replay_(replay), files_(inner.Files()), views_(replay.view_hash_kind()) {}

void ReplayPlatform::FrameStarts() {
  ++frame_;
  in_frame_ = true;
  next_answer_ = 0;
  answers_ = nullptr;
  while (run_ < replay_.runs.size() && run_frames_ >= replay_.runs[run_].frames) {
    ++run_;
    run_frames_ = 0;
  }
  if (run_ < replay_.runs.size()) {
    ++run_frames_;
    answers_ = &replay_.patterns[replay_.runs[run_].pattern];
  } else {
    Mismatch();  // the game goes on past the recording
  }
}

void ReplayPlatform::FrameEnds() {
  if (in_frame_ && answers_ && next_answer_ != answers_->size()) Mismatch();
  in_frame_ = false;
}

const InputAnswer* ReplayPlatform::Next(InputAnswer::Kind kind, uint32_t key_or_id) {
  if (!in_frame_ || !answers_ || next_answer_ >= answers_->size()) {
    Mismatch();
    return nullptr;
  }
  const InputAnswer& a = (*answers_)[next_answer_];
  const uint32_t asked = kind == InputAnswer::Kind::Key ? a.key : a.joy_id;
  if (a.kind != kind || asked != key_or_id) {
    Mismatch();
    return nullptr;
  }
  ++next_answer_;
  return &a;
}

int16_t ReplayPlatform::GetAsyncKeyState(int virtual_key) {
  // Outside the race frames (the race start) the recording has nothing to say.
  if (!in_frame_) return 0;
  const InputAnswer* a = Next(InputAnswer::Kind::Key, static_cast<uint32_t>(virtual_key));
  return a ? a->key_state : 0;
}

uint32_t ReplayPlatform::JoyGetPos(uint32_t id, JoyPosition& position) {
  if (!in_frame_) return kJoystickUnplugged;
  const InputAnswer* a = Next(InputAnswer::Kind::Joystick, id);
  if (!a) return kJoystickUnplugged;
  if (a->joy_result == 0) position = a->position;
  return a->joy_result;
}

void ReplayPlatform::Repaint(const ShownWindow& shown, Element which) {
  if (quiet_) return;
  if (which == Element::Display && in_frame_) views_.Add(shown.view);
  ForwardingPlatform::Repaint(shown, which);
}

ReplayPlayer::ReplayPlayer(Platform& outer, Replay replay)
    : replay_(std::move(replay)), platform_(outer, replay_), game_(std::make_unique<Kelto1>(platform_)) {
  game_->recorder.set_hash_views(false);
}

bool ReplayPlayer::Prepare(std::string& error) {
  Kelto1& g = *game_;
  g.LoadSounds();
  g.BuildSpriteTables();
  g.BuildCourseTables();
  if (!IsBoxText(replay_.car)) {
    error = "the replay's vehicle is no text the selector can hold";
    return false;
  }
  g.window[Element::CarSel].text = replay_.car;
  platform_.set_quiet(true);
  const bool restored = RestoreRaceStart(g, replay_.start, replay_.format_version, error);
  platform_.set_quiet(false);
  if (!restored) return false;
  g.SettingsPath.clear();  // a replay keeps no settings
  return true;
}

void ReplayPlayer::CheckPoint(const Kelto1& game, long frame) {
  if (frame % kCheckpointEvery != 0 || checkpoint_mismatch_ != 0) return;
  const size_t i = static_cast<size_t>(frame / kCheckpointEvery) - 1;
  if (i >= replay_.checkpoints.size() || replay_.checkpoints[i] != RaceHash(game)) checkpoint_mismatch_ = frame;
}

ReplayOutcome ReplayPlayer::Play() {
  Kelto1& g = *game_;
  ReplayOutcome out;
  g.SetBeforeFrame([this](Kelto1&) {
    if (before_frame) before_frame(platform_.frame() + 1);
    platform_.FrameStarts();
    frame_open_ = true;
  });
  g.SetAfterFrame([this](Kelto1& game) {
    platform_.FrameEnds();
    frame_open_ = false;
    const long f = platform_.frame();
    CheckPoint(game, f);
    if (after_frame) after_frame(f);
    if (keep_going && !keep_going()) stop_ = true;
    return !stop_ && f < static_cast<long>(replay_.frames);
  });
  g.StartRace();
  g.shell.EndFrames = 0;
  if (keep_going && !keep_going()) {
    stop_ = true;  // left during the race start
  } else {
    g.RunRace();
  }
  // A race left with Escape ends inside its last frame; it still ends as recorded.
  if (frame_open_) {
    platform_.FrameEnds();
    CheckPoint(g, platform_.frame());
  }
  g.StopMusic();
  out.frames = platform_.frame();
  out.stopped = stop_ && out.frames < static_cast<long>(replay_.frames);
  out.state_hash = g.StateHash();
  out.view_hash = platform_.view_hash();
  if (out.stopped) return out;
  long first = 0;
  for (long f : {platform_.first_mismatch(), checkpoint_mismatch_})
    if (f > 0 && (first == 0 || f < first)) first = f;
  if (first == 0 && (out.frames != static_cast<long>(replay_.frames) || out.state_hash != replay_.state_hash ||
                     (replay_.has_view_hash && out.view_hash != replay_.view_hash)))
    first = std::max<long>(1, std::min<long>(out.frames, replay_.frames));
  out.diverged = first != 0;
  out.diverged_frame = first;
  return out;
}

std::string DescribeOutcome(const ReplayOutcome& o) {
  if (o.stopped) return "replay left at frame " + std::to_string(o.frames);
  if (o.diverged)
    return "the replay no longer plays as recorded (it differs from frame " + std::to_string(o.diverged_frame) +
           " on)";
  return "replay played as recorded (" + std::to_string(o.frames) + " frames)";
}

}  // namespace kelto1
