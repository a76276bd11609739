// The sound files that ship beside the program: short 16-bit PCM effects and a Standard
// MIDI File for the tune. Skipped where the files are not in data/ (they are made apart).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::optional<Bytes> ReadData(const std::string& name) {
  std::ifstream in(std::string(KELTO1_SOURCE_DIR) + "/data/" + name, std::ios::binary);
  if (!in) return std::nullopt;
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Le(const Bytes& b, size_t at, int n) {
  uint32_t v = 0;
  for (int k = n - 1; k >= 0; --k) v = (v << 8) | b.at(at + static_cast<size_t>(k));
  return v;
}

uint32_t Be(const Bytes& b, size_t at, int n) {
  uint32_t v = 0;
  for (int k = 0; k < n; ++k) v = (v << 8) | b.at(at + static_cast<size_t>(k));
  return v;
}

bool TagAt(const Bytes& b, size_t at, const char* tag) {
  return at + 4 <= b.size() && std::memcmp(b.data() + at, tag, 4) == 0;
}

// ---- The effects ---------------------------------------------------------------------------

struct Wave {
  uint32_t format = 0, channels = 0, rate = 0, bits = 0;
  size_t data_at = 0, data_size = 0;
};

// Walks the RIFF chunks; fails the test on a malformed file.
Wave ParseWave(const Bytes& b) {
  Wave w;
  EXPECT_TRUE(TagAt(b, 0, "RIFF") && TagAt(b, 8, "WAVE")) << "not RIFF/WAVE";
  EXPECT_EQ(Le(b, 4, 4) + 8, b.size()) << "RIFF size";
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const uint32_t size = Le(b, at + 4, 4);
    if (TagAt(b, at, "fmt ")) {
      w.format = Le(b, at + 8, 2);
      w.channels = Le(b, at + 10, 2);
      w.rate = Le(b, at + 12, 4);
      w.bits = Le(b, at + 22, 2);
    } else if (TagAt(b, at, "data")) {
      w.data_at = at + 8;
      w.data_size = size;
    }
    at += 8 + size + (size & 1);
  }
  EXPECT_LE(w.data_at + w.data_size, b.size()) << "data chunk runs past the end";
  return w;
}

class EffectFile : public ::testing::TestWithParam<const char*> {};

TEST_P(EffectFile, IsShortUnclipped16BitPcm) {
  const std::optional<Bytes> file = ReadData(GetParam());
  if (!file) GTEST_SKIP() << "data/" << GetParam() << " is not there";
  const Wave w = ParseWave(*file);
  EXPECT_EQ(w.format, 1u) << "PCM";
  EXPECT_EQ(w.bits, 16u);
  EXPECT_TRUE(w.channels == 1 || w.channels == 2) << w.channels;
  EXPECT_GE(w.rate, 8000u);
  ASSERT_GT(w.data_size, 0u);
  const double seconds = static_cast<double>(w.data_size) / (w.rate * w.channels * 2);
  EXPECT_LT(seconds, 1.0);
  EXPECT_GT(seconds, 0.05);

  int peak = 0;
  for (size_t i = w.data_at; i + 1 < w.data_at + w.data_size; i += 2) {
    const int s = static_cast<int16_t>(Le(*file, i, 2));
    peak = std::max(peak, s < 0 ? -s : s);
  }
  EXPECT_LT(peak, 32767) << "touches full scale";
  EXPECT_GT(peak, 32768 / 8) << "too quiet to hear over the tune";
}

INSTANTIATE_TEST_SUITE_P(SoundFiles, EffectFile,
                         ::testing::Values("crbit.wav", "crsh.wav", "crwal.wav", "PwrUp1.wav", "PwrLost.wav",
                                           "pass.wav"),
                         [](const auto& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

// ---- The tune -------------------------------------------------------------------------------

struct Tune {
  uint32_t format = 0, tracks = 0, division = 0;
  std::set<int> channels;
  bool program_changes = false;
  double seconds = 0;  // when the last event sounds
};

uint32_t ReadVarLen(const Bytes& b, size_t& at) {
  uint32_t v = 0;
  for (int k = 0; k < 4; ++k) {
    const uint8_t c = b.at(at++);
    v = (v << 7) | (c & 0x7f);
    if (!(c & 0x80)) return v;
  }
  ADD_FAILURE() << "variable-length number longer than four bytes";
  return v;
}

// Reads every event of every track; fails the test on a malformed file.
Tune ParseMidi(const Bytes& b) {
  Tune t;
  EXPECT_TRUE(TagAt(b, 0, "MThd")) << "not a Standard MIDI File";
  EXPECT_EQ(Be(b, 4, 4), 6u);
  t.format = Be(b, 8, 2);
  t.tracks = Be(b, 10, 2);
  t.division = Be(b, 12, 2);
  EXPECT_EQ(t.division & 0x8000, 0u) << "timed in ticks per quarter note";
  std::map<uint64_t, uint32_t> tempo_at;  // tick -> microseconds per quarter note
  uint64_t last_tick = 0;
  size_t at = 14;
  for (uint32_t track = 0; track < t.tracks; ++track) {
    if (!TagAt(b, at, "MTrk")) {
      ADD_FAILURE() << "track " << track << " missing";
      return t;
    }
    const size_t end = at + 8 + Be(b, at + 4, 4);
    at += 8;
    uint64_t tick = 0;
    uint8_t status = 0;
    bool ended = false;
    while (at < end && !ended) {
      tick += ReadVarLen(b, at);
      if (b.at(at) & 0x80) status = b.at(at++);
      if (status == 0xff) {
        const uint8_t type = b.at(at++);
        const uint32_t len = ReadVarLen(b, at);
        if (type == 0x51) tempo_at[tick] = Be(b, at, 3);
        ended = type == 0x2f;
        at += len;
        status = 0;
      } else if (status == 0xf0 || status == 0xf7) {
        at += ReadVarLen(b, at);
        status = 0;
      } else if (status >= 0x80) {
        const int kind = status >> 4;
        t.channels.insert(status & 0x0f);
        t.program_changes |= kind == 0xc;
        at += (kind == 0xc || kind == 0xd) ? 1 : 2;
      } else {
        ADD_FAILURE() << "data byte without a status at " << at;
        return t;
      }
      last_tick = std::max(last_tick, tick);
    }
    EXPECT_TRUE(ended) << "track " << track << " has no end-of-track event";
    EXPECT_EQ(at, end) << "track " << track << " length";
    at = end;
  }
  // Seconds to the last tick through the tempo changes (120 beats a minute until the first).
  uint64_t from = 0;
  uint32_t tempo = 500000;
  for (const auto& [tick, us] : tempo_at) {
    if (tick >= last_tick) break;
    t.seconds += static_cast<double>(tick - from) * tempo / 1e6 / t.division;
    from = tick;
    tempo = us;
  }
  t.seconds += static_cast<double>(last_tick - from) * tempo / 1e6 / t.division;
  return t;
}

TEST(TuneFile, IsAStandardMidiFileOfSeveralVoicesAtLeastAMinuteLong) {
  const std::optional<Bytes> file = ReadData("bgm.mid");
  if (!file) GTEST_SKIP() << "data/bgm.mid is not there";
  const Tune t = ParseMidi(*file);
  EXPECT_LE(t.format, 1u);
  EXPECT_TRUE(t.tracks > 1 || t.channels.size() > 1) << t.tracks << " tracks, " << t.channels.size() << " channels";
  EXPECT_GE(t.channels.size(), 3u) << "drums, bass, chords and a lead";
  EXPECT_TRUE(t.channels.count(9)) << "no drums on the percussion channel";
  EXPECT_TRUE(t.program_changes) << "every part left on the piano";
  EXPECT_GE(t.seconds, 60.0);
  EXPECT_LT(t.seconds, 600.0);
}

}  // namespace
