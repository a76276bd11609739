// Writing and reading replay files.
#include "replay/replay_file.h"

#include <zlib.h>

#include <cstring>

#include "replay/byte_io.h"

#ifndef KELTO1_GAME_VERSION
#define KELTO1_GAME_VERSION "unknown"
#endif

namespace kelto1 {

namespace {

constexpr uint8_t kMagic[4] = {'K', '1', 'R', 'P'};
constexpr uint32_t kFlagViewHash = 1;
// magic, format version, flags: what is read before anything else.
constexpr size_t kLeadSize = 8;

void AppendPackedFrames(ByteWriter& w, const Replay& r) {
  w.Var(r.start.size());
  w.Bytes(r.start.data(), r.start.size());
  w.Var(kCheckpointEvery);
  w.Var(r.checkpoints.size());
  for (uint32_t c : r.checkpoints) w.U32(c);
  w.Var(r.patterns.size());
  for (const FrameInput& p : r.patterns) {
    std::vector<uint8_t> bytes;
    for (const InputAnswer& a : p) AppendAnswer(bytes, a);
    w.Var(bytes.size());
    w.Bytes(bytes.data(), bytes.size());
  }
  w.Var(r.runs.size());
  for (const InputRun& run : r.runs) {
    w.Var(run.pattern);
    w.Var(run.frames);
  }
}

std::string Str(uint64_t n) { return std::to_string(n); }

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

uint32_t ReadBigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

void AppendAnswer(std::vector<uint8_t>& out, const InputAnswer& a) {
  ByteWriter w;
  if (a.kind == InputAnswer::Kind::Key) {
    w.U8(1);
    w.U8(a.key);
    w.U16(static_cast<uint16_t>(a.key_state));
  } else {
    w.U8(2);
    w.Var(a.joy_id);
    w.Var(a.joy_result);
    if (a.joy_result == 0) {
      w.Var(a.position.x);
      w.Var(a.position.y);
      w.Var(a.position.z);
      w.Var(a.position.buttons);
    }
  }
  out.insert(out.end(), w.bytes().begin(), w.bytes().end());
}

std::optional<FrameInput> ParseAnswers(const uint8_t* data, size_t size) {
  ByteReader r(data, size);
  FrameInput answers;
  const auto u32 = [&r]() -> uint32_t {
    const uint64_t v = r.Var();
    return v > 0xFFFFFFFFu ? (r.Take(SIZE_MAX), 0u) : static_cast<uint32_t>(v);
  };
  while (r.ok() && r.left() > 0) {
    InputAnswer a;
    const uint32_t tag = r.U8();
    if (tag == 1) {
      a.kind = InputAnswer::Kind::Key;
      a.key = static_cast<uint8_t>(r.U8());
      a.key_state = static_cast<int16_t>(static_cast<uint16_t>(r.U16()));
    } else if (tag == 2) {
      a.kind = InputAnswer::Kind::Joystick;
      a.joy_id = u32();
      a.joy_result = u32();
      if (a.joy_result == 0) {
        a.position.x = u32();
        a.position.y = u32();
        a.position.z = u32();
        a.position.buttons = u32();
      }
    } else {
      return std::nullopt;
    }
    if (!r.ok()) return std::nullopt;
    answers.push_back(a);
  }
  if (!r.ok()) return std::nullopt;
  return answers;
}

std::vector<uint8_t> EncodeReplay(const Replay& r) {
  ByteWriter packed;
  AppendPackedFrames(packed, r);
  const std::vector<uint8_t>& raw = packed.bytes();
  uLongf zsize = compressBound(raw.size());
  std::vector<uint8_t> z(zsize);
  if (compress2(z.data(), &zsize, raw.data(), raw.size(), Z_BEST_COMPRESSION) != Z_OK) return {};
  z.resize(zsize);

  ByteWriter w;
  w.Bytes(kMagic, sizeof kMagic);
  w.U16(kReplayFormatVersion);
  w.U16(r.has_view_hash ? kFlagViewHash : 0);
  w.Text(r.game_version.substr(0, kMaxGameVersionText));
  w.Text(r.car.substr(0, kMaxCarText));
  w.U32(r.frames);
  w.U64(r.state_hash);
  w.U64(r.view_hash);
  w.U32(static_cast<uint32_t>(raw.size()));
  w.U32(static_cast<uint32_t>(z.size()));
  w.Bytes(z.data(), z.size());
  std::vector<uint8_t>& out = w.bytes();
  const uint32_t crc = static_cast<uint32_t>(crc32(0, out.data(), static_cast<uInt>(out.size())));
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(crc >> (8 * i)));
  return out;
}

std::optional<Replay> DecodeReplay(const std::vector<uint8_t>& file, std::string& error) {
  const auto fail = [&error](const std::string& why) -> std::optional<Replay> {
    error = why;
    return std::nullopt;
  };
  if (file.empty()) return fail("the file is empty");
  if (file.size() > kMaxReplayFileSize) return fail("the file is too large to be a replay (" + Str(file.size()) + " bytes)");
  if (file.size() < sizeof kMagic || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0)
    return fail("not a Kelto1 replay (it does not start with K1RP)");
  if (file.size() < kLeadSize) return fail("the file is truncated (" + Str(file.size()) + " bytes)");

  ByteReader r(file.data(), file.size());
  r.Take(sizeof kMagic);
  const uint32_t version = r.U16();
  const uint32_t flags = r.U16();
  if (version > kReplayFormatVersion)
    return fail("the replay was made by a newer Kelto1 (format " + Str(version) + "; this game reads up to " +
                Str(kReplayFormatVersion) + ")");
  if (version == 0) return fail("the file is damaged (format version 0)");

  Replay out;
  out.format_version = version;
  out.has_view_hash = (flags & kFlagViewHash) != 0;
  const uint64_t version_length = r.Var();
  if (r.ok() && version_length > kMaxGameVersionText)
    return fail("the file is damaged (a game version of " + Str(version_length) + " bytes)");
  if (r.ok() && version_length <= r.left())
    out.game_version.assign(reinterpret_cast<const char*>(r.Take(version_length)), version_length);
  else
    r.Take(SIZE_MAX);
  const uint64_t car_length = r.Var();
  if (r.ok() && car_length > kMaxCarText)
    return fail("the car text is " + Str(car_length) + " bytes long; a replay allows at most " + Str(kMaxCarText));
  if (r.ok() && car_length <= r.left())
    out.car.assign(reinterpret_cast<const char*>(r.Take(car_length)), car_length);
  else
    r.Take(SIZE_MAX);
  out.frames = r.U32();
  out.state_hash = r.U64();
  out.view_hash = r.U64();
  const uint32_t raw_size = r.U32();
  const uint32_t z_size = r.U32();
  if (!r.ok()) return fail("the file is truncated (" + Str(file.size()) + " bytes end inside its header)");
  if (out.frames > kMaxReplayFrames)
    return fail("the file is damaged (it claims " + Str(out.frames) + " frames)");
  // zlib packs at most about 1032 to 1, so a larger claim is refused before any memory
  // is set aside for it.
  if (raw_size > kMaxReplayPayload || raw_size > uint64_t{z_size} * 1100 + 64)
    return fail("the file is damaged (it claims " + Str(raw_size) + " bytes of race data)");
  const uint64_t expected = r.used(file.data()) + uint64_t{z_size} + 4;
  if (file.size() < expected)
    return fail("the file is truncated (" + Str(file.size()) + " of " + Str(expected) + " bytes)");
  if (file.size() > expected)
    return fail("the file is damaged (" + Str(file.size() - expected) + " bytes after its end)");
  const uint8_t* z = r.Take(z_size);
  const uint32_t stored_crc = r.U32();
  const uint32_t crc = static_cast<uint32_t>(crc32(0, file.data(), static_cast<uInt>(file.size() - 4)));
  if (crc != stored_crc) return fail("the file is damaged (its checksum does not match)");

  std::vector<uint8_t> raw(raw_size);
  uLongf got = raw_size;
  uLong packed = z_size;
#ifdef ZLIB_VERNUM
  // zlib tells how much of the packed data its stream took.
  if (uncompress2(raw.data(), &got, z, &packed) != Z_OK || got != raw_size)
    return fail("the file is damaged (its race data does not unpack)");
#else
  // The browser's inflate does not tell: a stream ends with the Adler-32 of what it
  // unpacks to, so bytes after it end with something else (below).
  if (uncompress(raw.data(), &got, z, z_size) != Z_OK || got != raw_size)
    return fail("the file is damaged (its race data does not unpack)");
#endif
  if (packed != z_size || z_size < 4 || ReadBigEndian32(z + z_size - 4) != Adler32(raw))
    return fail("the file is damaged (" + (packed != z_size ? Str(z_size - packed) : std::string("some")) +
                " bytes after its packed race data)");

  ByteReader p(raw.data(), raw.size());
  const auto damaged = [&fail](const char* what) { return fail(std::string("the file is damaged (") + what + ")"); };
  const uint64_t start_size = p.Var();
  if (!p.ok() || start_size > p.left()) return damaged("start state");
  const uint8_t* start = p.Take(start_size);
  out.start.assign(start, start + start_size);

  const uint64_t every = p.Var();
  const uint64_t checkpoints = p.Var();
  if (!p.ok() || every != kCheckpointEvery || checkpoints != out.frames / kCheckpointEvery ||
      checkpoints * 4 > p.left())
    return damaged("checkpoints");
  out.checkpoints.resize(checkpoints);
  for (uint32_t& c : out.checkpoints) c = p.U32();

  // Every pattern is the input of at least one frame, and every run at least one frame
  // long; the input as held in memory must also stay within kMaxReplayInputMemory, so that
  // a small file of many tiny patterns cannot take a great deal of memory.
  const auto too_large = [&fail]() {
    return fail("the replay's input is too large to hold (more than " + Str(kMaxReplayInputMemory >> 20) + " MiB)");
  };
  uint64_t memory = 0;
  const uint64_t pattern_count = p.Var();
  if (!p.ok() || pattern_count > p.left() || pattern_count > out.frames) return damaged("input patterns");
  memory += pattern_count * sizeof(FrameInput);
  if (memory > kMaxReplayInputMemory) return too_large();
  out.patterns.reserve(pattern_count);
  for (uint64_t i = 0; i < pattern_count; ++i) {
    const uint64_t n = p.Var();
    if (!p.ok() || n > p.left()) return damaged("input patterns");
    auto answers = ParseAnswers(p.Take(n), n);
    if (!answers) return damaged("input patterns");
    memory += answers->size() * sizeof(InputAnswer);
    if (memory > kMaxReplayInputMemory) return too_large();
    out.patterns.push_back(std::move(*answers));
  }
  const uint64_t run_count = p.Var();
  if (!p.ok() || run_count > p.left() / 2 || run_count > out.frames) return damaged("input runs");
  memory += run_count * sizeof(InputRun);
  if (memory > kMaxReplayInputMemory) return too_large();
  out.runs.reserve(run_count);
  uint64_t total = 0;
  for (uint64_t i = 0; i < run_count; ++i) {
    const uint64_t pattern = p.Var();
    const uint64_t frames = p.Var();
    if (!p.ok() || pattern >= pattern_count || frames == 0 || frames > kMaxReplayFrames) return damaged("input runs");
    total += frames;
    out.runs.push_back({static_cast<uint32_t>(pattern), static_cast<uint32_t>(frames)});
  }
  if (p.left() != 0) return damaged("bytes after the input");
  if (total != out.frames)
    return fail("the frame count does not match the input (" + Str(out.frames) + " frames, input for " + Str(total) +
                ")");
  return out;
}

}  // namespace kelto1
