// A recorded race: what it started from, what the game was told by the keyboard and the
// joystick in every frame, and how it ended. The layout is in docs/REPLAY_FORMAT.md.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "replay/view_hash.h"

namespace kelto1 {

// Format 2 keeps only the values a race starts from and hashes the views with XXH3;
// format 1 (Kelto1 1.5.0) is still read.
constexpr uint32_t kReplayFormatVersion = 2;
// Frames between two checkpoint hashes.
constexpr uint32_t kCheckpointEvery = 100;
// Limits a replay file must keep; anything beyond is refused before it is allocated.
constexpr size_t kMaxCarText = 1024;
constexpr size_t kMaxGameVersionText = 64;
constexpr uint32_t kMaxReplayFrames = 1u << 24;     // more than three days of racing
constexpr uint32_t kMaxReplayPayload = 32u << 20;  // the unpacked start state and input
constexpr size_t kMaxReplayFileSize = 64u << 20;
// The input patterns and runs as held in memory; a race of an hour with the joystick
// moving in every frame takes a few MiB.
constexpr uint64_t kMaxReplayInputMemory = 48u << 20;

// One answer the game got from the machine, in the order it asked.
struct InputAnswer {
  enum class Kind : uint8_t { Key = 1, Joystick = 2 };
  Kind kind = Kind::Key;
  uint8_t key = 0;          // the virtual key asked about
  int16_t key_state = 0;    // the answer, as the game received it
  uint32_t joy_id = 0;      // the joystick asked about
  uint32_t joy_result = 0;  // 0 = read; then position holds the answer
  JoyPosition position;
  bool operator==(const InputAnswer& o) const {
    return kind == o.kind && key == o.key && key_state == o.key_state && joy_id == o.joy_id &&
           joy_result == o.joy_result && position.x == o.position.x && position.y == o.position.y &&
           position.z == o.position.z && position.buttons == o.position.buttons;
  }
};

// The answers of one frame.
using FrameInput = std::vector<InputAnswer>;
void AppendAnswer(std::vector<uint8_t>& out, const InputAnswer& a);
// The answers packed by AppendAnswer, or nothing when the bytes are not such a list.
std::optional<FrameInput> ParseAnswers(const uint8_t* data, size_t size);

// A number of frames that all got the same answers.
struct InputRun {
  uint32_t pattern = 0;  // index into Replay::patterns
  uint32_t frames = 0;
};

struct Replay {
  uint32_t format_version = kReplayFormatVersion;  // of the file it was read from
  std::string game_version;
  std::string car;                    // the selector's text the race was driven with
  std::vector<uint8_t> start;         // the game's state at race start (race_snapshot.h)
  std::vector<FrameInput> patterns;   // every distinct frame of input, once
  std::vector<InputRun> runs;         // the frames in order
  std::vector<uint32_t> checkpoints;  // race hash after frame 100, 200, ...
  uint32_t frames = 0;
  uint64_t state_hash = 0;  // at the end
  bool has_view_hash = false;
  uint64_t view_hash = 0;  // over every view painted in the race
  // How view_hash was made: it follows from the format version.
  ViewHashKind view_hash_kind() const {
    return format_version >= 2 ? ViewHashKind::Xxh3 : ViewHashKind::Fnv1aLanes;
  }
};

// Written in the current format, whatever format_version says.
std::vector<uint8_t> EncodeReplay(const Replay& replay);
// The replay in the bytes, or nothing with one line in error saying what is wrong.
std::optional<Replay> DecodeReplay(const std::vector<uint8_t>& file, std::string& error);

}  // namespace kelto1
