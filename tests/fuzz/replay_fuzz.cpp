// Fuzzing the replay loader: any bytes are either refused with one line or give a replay
// that writes back to a file loading the same, and whose start state goes into a game or
// is refused. What goes into a game is played: the race start and a few hundred frames,
// so that a value the checks let through but the game cannot handle shows here. Each
// input is also tried with its checksum made right, so the fuzzer gets past the checksum
// into the header fields and the packed race data; and, since the race data is packed,
// the same bytes are also read as a start state and as a frame's answers on their own
// (the corpus holds real and crafted start states for that).
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "replay/race_snapshot.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"
#include "shell/kelto1.h"

namespace {

constexpr long kFramesPlayed = 150;

// A start state on its own: restored, then raced with the accelerator held and the
// steering swung from side to side.
void RestoreAndRace(const std::vector<uint8_t>& start) {
  using namespace kelto1;
  // Most inputs are refused; a game of its own, with its pictures, is made only for a
  // start state that goes in (the checks do not depend on what the game held before).
  static HeadlessPlatform scratch_platform;
  static Kelto1* scratch = [] {
    auto* g = new Kelto1(scratch_platform);
    g->BuildSpriteTables();
    g->BuildCourseTables();
    return g;
  }();
  std::string scratch_error;
  if (!RestoreRaceStart(*scratch, start, kReplayFormatVersion, scratch_error)) {
    if (scratch_error.empty() || scratch_error.find('\n') != std::string::npos) std::abort();
    return;
  }
  HeadlessPlatform platform;
  Kelto1 game(platform);
  game.BuildSpriteTables();
  game.BuildCourseTables();
  std::string error;
  if (!RestoreRaceStart(game, start, kReplayFormatVersion, error)) {
    if (error.empty() || error.find('\n') != std::string::npos) std::abort();
    return;
  }
  long frame = 0;
  game.SetBeforeFrame([&](Kelto1&) {
    ++frame;
    platform.ReleaseAll();
    platform.Hold(vk::kMenu);
    if (frame % 120 < 40) platform.Hold(vk::kLeft);
    if (frame % 120 >= 80) platform.Hold(vk::kRight);
  });
  game.SetAfterFrame([&](Kelto1&) { return frame < kFramesPlayed; });
  game.StartRace();
  game.shell.EndFrames = 0;
  game.RunRace();
}

void Answers(const std::vector<uint8_t>& bytes) {
  using namespace kelto1;
  const auto answers = ParseAnswers(bytes.data(), bytes.size());
  if (!answers) return;
  std::vector<uint8_t> again;
  for (const InputAnswer& a : *answers) AppendAnswer(again, a);
  const auto reread = ParseAnswers(again.data(), again.size());
  if (!reread || *reread != *answers) std::abort();
}

void Check(const std::vector<uint8_t>& file) {
  using namespace kelto1;
  std::string error;
  auto replay = DecodeReplay(file, error);
  if (!replay) {
    if (error.empty() || error.find('\n') != std::string::npos) std::abort();
    return;
  }
  if (replay->format_version == kReplayFormatVersion) {
    std::string again_error;
    const auto again = DecodeReplay(EncodeReplay(*replay), again_error);
    if (!again || again->frames != replay->frames || again->car != replay->car || again->start != replay->start ||
        again->patterns != replay->patterns || again->checkpoints != replay->checkpoints ||
        again->state_hash != replay->state_hash)
      std::abort();
  }

  HeadlessPlatform machine;
  ReplayPlayer player(machine, std::move(*replay));
  if (!player.Prepare(error)) {
    if (error.empty() || error.find('\n') != std::string::npos) std::abort();
    return;
  }
  long played = 0;
  player.after_frame = [&](long frame) { played = frame; };
  player.keep_going = [&]() { return played < kFramesPlayed; };
  const ReplayOutcome out = player.Play();
  if (DescribeOutcome(out).find('\n') != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A value out of its field's range during play is a finding, not something to clamp.
  kelto1::SetRangeFaultMode(kelto1::RangeFaultMode::Abort);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  RestoreAndRace(file);
  Answers(file);
  Check(file);
  if (file.size() >= 4) {
    const uint32_t crc = static_cast<uint32_t>(crc32(0, file.data(), static_cast<uInt>(file.size() - 4)));
    for (int i = 0; i < 4; ++i) file[file.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
    Check(file);
  }
  return 0;
}
