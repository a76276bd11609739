// Fuzzing the replay loader: any bytes are either refused with one line or give a replay
// that writes back to a file loading the same, and whose start state goes into a game or
// is refused. Each input is also tried with its checksum made right, so the fuzzer gets
// past the checksum into the header fields and the packed race data; and, since the race
// data is packed, the same bytes are also read as a start state and as a frame's answers
// on their own (the corpus holds real start states for that).
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "replay/race_snapshot.h"
#include "replay/replay_file.h"
#include "shell/kelto1.h"

namespace {

void Restore(const std::vector<uint8_t>& start) {
  using namespace kelto1;
  static HeadlessPlatform platform;
  static Kelto1* game = [] {
    auto* g = new Kelto1(platform);
    g->BuildSpriteTables();
    g->BuildCourseTables();
    return g;
  }();
  std::string error;
  if (!RestoreRaceStart(*game, start, error) && error.empty()) std::abort();
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
  const auto replay = DecodeReplay(file, error);
  if (!replay) {
    if (error.empty() || error.find('\n') != std::string::npos) std::abort();
    return;
  }
  std::string again_error;
  const auto again = DecodeReplay(EncodeReplay(*replay), again_error);
  if (!again || again->frames != replay->frames || again->car != replay->car || again->start != replay->start ||
      again->patterns != replay->patterns || again->checkpoints != replay->checkpoints ||
      again->state_hash != replay->state_hash)
    std::abort();

  Restore(replay->start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  Restore(file);
  Answers(file);
  Check(file);
  if (file.size() >= 4) {
    const uint32_t crc = static_cast<uint32_t>(crc32(0, file.data(), static_cast<uInt>(file.size() - 4)));
    for (int i = 0; i < 4; ++i) file[file.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
    Check(file);
  }
  return 0;
}
