// Playing a recorded race again: a game object of its own, put in the race's start state,
// asking a machine that answers the keys and joystick from the recording. The rest of the
// machine (clock, window, sound, music) is the real one; files are read but never written.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "replay/forwarding_platform.h"
#include "replay/replay_file.h"
#include "replay/view_hash.h"
#include "shell/kelto1.h"

namespace kelto1 {

// Reads through to the real files; every write is dropped, so a replay never changes
// the settings or anything else on disk.
class ReadOnlyFiles final : public FileStore {
 public:
  explicit ReadOnlyFiles(FileStore& inner) : inner_(inner) {}
  std::optional<std::vector<uint8_t>> Read(const std::string& path) override { return inner_.Read(path); }
  bool Exists(const std::string& path) override { return inner_.Exists(path); }
  bool CreateEmpty(const std::string&) override { return false; }
  bool Replace(const std::string&, const std::vector<uint8_t>&) override { return true; }
  bool FolderWritable(const std::string&) override { return false; }
  bool MakeFolders(const std::string&) override { return false; }
  bool Remove(const std::string&) override { return true; }

 private:
  FileStore& inner_;
};

class ReplayPlatform final : public ForwardingPlatform {
 public:
  ReplayPlatform(Platform& inner, const Replay& replay);

  int16_t GetAsyncKeyState(int virtual_key) override;
  uint32_t JoyGetPos(uint32_t id, JoyPosition& position) override;
  uint32_t JoyGetDevCaps(uint32_t) override { return kJoystickUnplugged; }
  void Repaint(const ShownWindow& shown, Element which) override;
  FileStore& Files() override { return files_; }
  void EndProgram() override {}  // a recorded Escape ends the replay, not the program

  void FrameStarts();
  void FrameEnds();
  // While the start state is put together, the screen is not painted: the game's title
  // screen, which rebuilds part of it, is not the replay's to show.
  void set_quiet(bool quiet) { quiet_ = quiet; }
  long frame() const { return frame_; }
  // The first frame whose questions differ from the recording's, 0 while none did.
  long first_mismatch() const { return mismatch_; }
  uint64_t view_hash() const { return views_.value(); }

 private:
  const InputAnswer* Next(InputAnswer::Kind kind, uint32_t key_or_id);
  void Mismatch() {
    if (mismatch_ == 0) mismatch_ = frame_ > 0 ? frame_ : 1;
  }

  const Replay& replay_;
  ReadOnlyFiles files_;
  ViewHash views_;
  long frame_ = 0;
  bool in_frame_ = false;
  size_t run_ = 0;            // the run of the current frame
  uint32_t run_frames_ = 0;   // frames of that run already begun
  const FrameInput* answers_ = nullptr;
  size_t next_answer_ = 0;
  long mismatch_ = 0;
  bool quiet_ = false;
};

struct ReplayOutcome {
  long frames = 0;        // frames played
  bool stopped = false;   // left before its end by the person watching
  bool diverged = false;  // no longer plays as recorded
  long diverged_frame = 0;
  uint64_t state_hash = 0;
  uint64_t view_hash = 0;
};

class ReplayPlayer {
 public:
  // outer: the machine the replay is shown on.
  ReplayPlayer(Platform& outer, Replay replay);
  // Loads the sounds, builds the tables and puts the race's start state in.
  bool Prepare(std::string& error);
  // The race start and the race, frame for frame, then the check against the recording.
  ReplayOutcome Play();
  Kelto1& game() { return *game_; }
  const Replay& replay() const { return replay_; }

  // For a viewer: called before every frame (it may pause there), and asked after every
  // frame whether to go on.
  std::function<void(long frame)> before_frame;
  std::function<bool()> keep_going;
  std::function<void(long frame)> after_frame;

 private:
  // Compares the race hash after every 100th frame with the recorded one.
  void CheckPoint(const Kelto1& game, long frame);

  Replay replay_;
  ReplayPlatform platform_;
  std::unique_ptr<Kelto1> game_;
  long checkpoint_mismatch_ = 0;
  bool frame_open_ = false;
  bool stop_ = false;
};

// One line about how a playback ended, for a person.
std::string DescribeOutcome(const ReplayOutcome& outcome);

}  // namespace kelto1
