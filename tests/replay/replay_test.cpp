// Replays: every race is written beside the settings, plays back exactly, and a damaged
// or foreign file is refused with one line instead of being played.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "app/sim_session.h"
#include "replay/byte_io.h"
#include "replay/race_snapshot.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"

namespace kelto1 {
namespace {

// A race of `frames` frames with some steering, braking and a joystick nudge, cut there.
std::vector<uint8_t> RecordRace(long frames, bool joystick = false) {
  SimSession s;
  s.platform().joystick_present = joystick;
  s.platform().joystick.x = 32768;
  s.StartProgram();
  s.game().window[Element::CarSel].text = "MotorBike";
  s.keys_for_frame = [&](long frame, HeadlessPlatform& p) {
    p.ReleaseAll();
    p.Hold(frame % 90 < 70 ? vk::kMenu : vk::kControl);
    if (frame % 200 < 30) p.Hold(vk::kLeft);
    if (frame % 300 > 260) p.Hold(vk::kRight);
    if (frame % 157 == 0) p.Tap(vk::kRight);
    p.joystick.x = frame % 400 < 50 ? 40000 : 32768;
    p.joystick.buttons = frame % 500 < 40 ? 2 : 0;
  };
  s.game().recorder.set_hash_views(true);
  s.RunRace(frames);
  return s.game().recorder.last_file();
}

ReplayOutcome PlayBack(const std::vector<uint8_t>& file, HeadlessPlatform& machine) {
  std::string error;
  auto replay = DecodeReplay(file, error);
  EXPECT_TRUE(replay) << error;
  if (!replay) return {};
  ReplayPlayer player(machine, std::move(*replay));
  EXPECT_TRUE(player.Prepare(error)) << error;
  return player.Play();
}

// Puts the checksum (zlib's CRC-32 of everything before it) back after a change, so that
// only the change itself is judged.
void Reseal(std::vector<uint8_t>& file) {
  file.resize(file.size() - 4);
  const uint32_t crc = static_cast<uint32_t>(crc32(0, file.data(), static_cast<uInt>(file.size())));
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(crc >> (8 * i)));
}

// ---- Files as Kelto1 1.5.0 wrote them (format 1) ----------------------------------------
// Its start state held each state struct whole, XOR the same struct of a game that has
// only built its tables, then the generator, the window's elements and both pictures.

template <class T>
void PutStruct(ByteWriter& w, const T& state, const T& reference) {
  const auto* a = reinterpret_cast<const uint8_t*>(&state);
  const auto* b = reinterpret_cast<const uint8_t*>(&reference);
  w.Var(sizeof(T));
  for (size_t i = 0; i < sizeof(T); ++i) w.U8(a[i] ^ b[i]);
}

void PutElementOne(ByteWriter& w, const ElementState& s) {
  w.Text(s.text);
  w.U32(s.color);
  w.U8(s.visible ? 1 : 0);
  w.U16(static_cast<uint16_t>(s.left));
  w.U16(static_cast<uint16_t>(s.top));
}

void PutPictureOne(ByteWriter& w, const Picture& p) {
  w.Var(static_cast<uint64_t>(p.width()));
  w.Var(static_cast<uint64_t>(p.height()));
  const std::vector<uint32_t>& px = p.pixels();
  for (size_t i = 0; i < px.size();) {
    size_t j = i + 1;
    while (j < px.size() && px[j] == px[i]) ++j;
    w.Var(j - i);
    w.U32(px[i]);
    i = j;
  }
}

std::vector<uint8_t> FormatOneStart(const Kelto1& g) {
  HeadlessPlatform machine;
  Kelto1 tables(machine);
  tables.BuildSpriteTables();
  tables.BuildCourseTables();
  ByteWriter w;
  PutStruct(w, g.shell, tables.shell);
  PutStruct(w, g.course, tables.course);
  PutStruct(w, g.vehicles, tables.vehicles);
  PutStruct(w, g.traffic, tables.traffic);
  PutStruct(w, g.audio, tables.audio);
  PutStruct(w, g.input, tables.input);
  w.U32(g.random.state());
  w.Var(kElementCount);
  for (int i = 0; i < kElementCount; ++i) {
    PutElementOne(w, g.window[static_cast<Element>(i)]);
    PutElementOne(w, g.window.Painted(static_cast<Element>(i)));
  }
  PutPictureOne(w, g.Display);
  PutPictureOne(w, g.Master);
  return std::move(w.bytes());
}

// A recorded race as 1.5.0 would have written it: its start state of format 1, and the
// views hashed with FNV-1a lanes. The game at the race start is the one a player of the
// current file has put together.
std::vector<uint8_t> AsFormatOne(const std::vector<uint8_t>& file,
                                 const std::function<void(Kelto1&)>& change_start = nullptr) {
  std::string error;
  Replay replay = *DecodeReplay(file, error);
  {
    HeadlessPlatform machine;
    ReplayPlayer player(machine, replay);
    EXPECT_TRUE(player.Prepare(error)) << error;
    if (change_start) change_start(player.game());
    replay.start = FormatOneStart(player.game());
  }
  // The views of the race, as format 1 hashed them; the change at the start either is
  // never read or has the file refused, so the race is the recorded one.
  const std::vector<uint8_t> format_one_start = replay.start;
  replay = *DecodeReplay(file, error);
  HeadlessPlatform machine;
  ReplayPlayer player(machine, replay);
  EXPECT_TRUE(player.Prepare(error)) << error;
  ViewHash fnv(ViewHashKind::Fnv1aLanes);
  bool in_frame = false;
  player.before_frame = [&](long) { in_frame = true; };
  player.after_frame = [&](long) { in_frame = false; };
  machine.on_repaint = [&](const ShownWindow& shown, Element which) {
    if (which == Element::Display && in_frame) fnv.Add(shown.view);
  };
  player.Play();
  replay.start = format_one_start;
  replay.has_view_hash = true;
  replay.view_hash = fnv.value();
  std::vector<uint8_t> old = EncodeReplay(replay);
  old[4] = 1;
  Reseal(old);
  return old;
}

TEST(ReplayRecording, ARecordedRacePlaysBackToTheSameEndWithKeysAndJoystick) {
  for (bool joystick : {false, true}) {
    const std::vector<uint8_t> file = RecordRace(1500, joystick);
    ASSERT_FALSE(file.empty());
    HeadlessPlatform machine;
    const ReplayOutcome out = PlayBack(file, machine);
    EXPECT_FALSE(out.diverged) << "joystick " << joystick << " frame " << out.diverged_frame;
    EXPECT_EQ(out.frames, 1500);
    std::string error;
    EXPECT_EQ(DecodeReplay(file, error)->state_hash, out.state_hash);
    EXPECT_EQ(DecodeReplay(file, error)->car, "MotorBike");
  }
}

TEST(ReplayRecording, ChangedInputOrEndIsReportedAsDivergedAtTheFrameItShows) {
  std::string error;
  Replay replay = *DecodeReplay(RecordRace(1000), error);
  // The first frames held Alt; answered as not held, the car falls behind from there on.
  Replay changed_input = replay;
  for (InputAnswer& a : changed_input.patterns[changed_input.runs[0].pattern])
    if (a.kind == InputAnswer::Kind::Key && a.key == vk::kMenu) a.key_state = 0;
  Replay changed_end = replay;
  changed_end.state_hash ^= 1;
  // One frame's input short of its last answer: the game asks for it in the first frame
  // that uses that input.
  Replay fewer_answers = replay;
  const uint32_t shortened = fewer_answers.runs[5].pattern;
  fewer_answers.patterns[shortened].pop_back();
  long first_use = 1;
  for (const InputRun& run : replay.runs) {
    if (run.pattern == shortened) break;
    first_use += run.frames;
  }

  struct Case {
    const char* name;
    const Replay& replay;
    long first, last;  // where the divergence may be reported
  } cases[] = {
      {"input", changed_input, 1, 100},
      {"end hash", changed_end, 1000, 1000},
      {"a missing answer", fewer_answers, first_use, first_use},
  };
  for (const Case& c : cases) {
    HeadlessPlatform machine;
    const ReplayOutcome out = PlayBack(EncodeReplay(c.replay), machine);
    EXPECT_TRUE(out.diverged) << c.name;
    EXPECT_GE(out.diverged_frame, c.first) << c.name;
    EXPECT_LE(out.diverged_frame, c.last) << c.name;
    EXPECT_NE(DescribeOutcome(out).find("no longer plays as recorded"), std::string::npos);
  }
}

TEST(ReplayRecording, RaceEndWritesLastAndANewBestRankAlsoBest) {
  struct Case {
    const char* best_before;
    bool best_written;
  } cases[] = {{"0", true}, {"99", true}, {"9", false}, {"30", false}};  // the race ends on rank 30
  for (const Case& c : cases) {
    SimSession s;
    s.StartProgram();
    s.game().window[Element::HighSc].text = c.best_before;
    s.keys_for_frame = [&](long frame, HeadlessPlatform& p) {
      p.ReleaseAll();
      if (frame == 1) s.game().window[Element::Mtime].text = "1";  // decided at frame 100
    };
    const long frames = s.RunRace(0);
    ASSERT_EQ(frames, 1100);
    auto& files = s.platform().files.files;
    ASSERT_TRUE(files.count("/game/last.k1r")) << c.best_before;
    EXPECT_EQ(files.count("/game/best.k1r") == 1, c.best_written) << c.best_before;
    EXPECT_EQ(files["/game/last.k1r"], s.game().recorder.last_file());
    std::string error;
    auto replay = DecodeReplay(files["/game/last.k1r"], error);
    ASSERT_TRUE(replay) << error;
    EXPECT_EQ(replay->frames, 1100u);
  }
}

TEST(ReplayRecording, AFolderThatCannotBeWrittenCostsOneLineAndTheGameGoesOn) {
  SimSession s;
  s.StartProgram();
  s.platform().files.read_only_folders.insert("/game");
  s.platform().notes.clear();
  EXPECT_EQ(s.RunRace(300), 300);
  ASSERT_EQ(s.platform().notes.size(), 1u);
  EXPECT_EQ(s.platform().notes[0], "kelto1: could not save the replay to /game/last.k1r");
  EXPECT_FALSE(s.game().Ended());
  EXPECT_EQ(s.RunRace(200), 200);  // the next race starts as ever
}

TEST(ReplayRecording, ARaceLeftWithEscapeReplaysWithoutEndingOrSavingAnything) {
  SimSession s;
  s.StartProgram();
  s.SetDemo({{40, {vk::kMenu}}, {1, {vk::kEscape}}});
  s.RunRace(0);
  ASSERT_TRUE(s.game().Ended());
  const std::vector<uint8_t> file = s.platform().files.files["/game/last.k1r"];
  HeadlessPlatform machine;
  machine.files.files["/game/car.dat"] = {7, 0, 0, 0, 9, 0, 0, 0, 0, 0};
  const auto files_before = machine.files.files;
  const ReplayOutcome out = PlayBack(file, machine);
  EXPECT_FALSE(out.diverged) << out.diverged_frame;
  EXPECT_EQ(out.frames, 41);
  EXPECT_FALSE(machine.ended);
  EXPECT_EQ(machine.files.files, files_before);
}

TEST(ReplayFile, DamagedForeignOrImpossibleFilesAreRefusedWithOneLine) {
  const std::vector<uint8_t> good = RecordRace(400);
  std::string error;
  Replay replay = *DecodeReplay(good, error);

  const auto with = [&](auto change) {
    std::vector<uint8_t> f = good;
    change(f);
    return f;
  };
  Replay miscounted = replay;
  miscounted.frames += 1;
  Replay no_input = replay;
  no_input.runs.clear();
  no_input.patterns.clear();
  no_input.checkpoints.clear();
  no_input.frames = 0;
  Replay empty_input_claims_frames = no_input;
  empty_input_claims_frames.frames = 50;
  // The car text's length sits after the magic, the versions and the game version.
  const size_t car_length_at = 8 + 1 + replay.game_version.size();
  const size_t packed_size_at = car_length_at + 1 + replay.car.size() + 24;
  // A small file of very many empty input patterns, every one of them used by a run:
  // held as it is, it would take some hundreds of MiB.
  Replay amplified = no_input;
  amplified.frames = kMaxReplayFrames;
  amplified.checkpoints.assign(amplified.frames / kCheckpointEvery, 0);
  amplified.patterns.resize(2'200'000);
  for (uint32_t i = 0; i < amplified.patterns.size(); ++i) amplified.runs.push_back({i, 1});
  amplified.runs.back().frames = amplified.frames - static_cast<uint32_t>(amplified.runs.size()) + 1;
  Replay more_patterns_than_frames = no_input;
  more_patterns_than_frames.frames = 3;
  more_patterns_than_frames.patterns.resize(4);
  more_patterns_than_frames.runs = {{0, 3}};

  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    const char* says;
  } cases[] = {
      {"empty", {}, "the file is empty"},
      {"foreign", {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0}, "not a Kelto1 replay"},
      {"text", std::vector<uint8_t>{'3', '0', '0', ' ', 'A', 'L', 'T', '\n'}, "not a Kelto1 replay"},
      {"magic only", {'K', '1', 'R', 'P'}, "truncated"},
      {"cut in the header", with([](auto& f) { f.resize(20); }), "truncated"},
      {"cut in the race data", with([](auto& f) { f.resize(f.size() - 30); }), "truncated"},
      {"one byte more", with([](auto& f) { f.push_back(0); }), "damaged"},
      {"a changed byte", with([](auto& f) { f[f.size() - 20] ^= 0x40; }), "checksum"},
      {"a changed frame count", with([&](auto& f) { f[car_length_at + 1 + replay.car.size()] ^= 1; }), "checksum"},
      {"newer format", with([](auto& f) { f[4] = 3; Reseal(f); }), "newer Kelto1 (format 3"},
      {"format 0", with([](auto& f) { f[4] = 0; Reseal(f); }), "damaged"},
      {"absurd car text", with([&](auto& f) {
         const uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
         f.erase(f.begin() + car_length_at);
         f.insert(f.begin() + car_length_at, huge, huge + 5);
       }), "car text is 4294967295 bytes long"},
      {"frames beyond the input", EncodeReplay(miscounted), "frame count does not match the input (401 frames"},
      {"frames without input", EncodeReplay(empty_input_claims_frames), "frame count does not match the input (50 frames, input for 0)"},
      {"more race data than zlib can pack",
       with([&](auto& f) { f[car_length_at + 1 + replay.car.size() + 20 + 3] = 0x01; Reseal(f); }),
       "bytes of race data"},
      {"junk after the packed race data", with([&](auto& f) {
         const uint8_t junk[] = {'j', 'u', 'n', 'k', '!'};
         f.insert(f.end() - 4, junk, junk + 5);
         uint32_t packed = 0;  // the packed size counts the junk in
         for (int i = 0; i < 4; ++i) packed |= uint32_t{f[packed_size_at + i]} << (8 * i);
         packed += 5;
         for (int i = 0; i < 4; ++i) f[packed_size_at + i] = static_cast<uint8_t>(packed >> (8 * i));
         Reseal(f);
       }), "5 bytes after its packed race data"},
      {"input too large to hold", EncodeReplay(amplified), "too large to hold"},
      {"more input patterns than frames", EncodeReplay(more_patterns_than_frames), "input patterns"},
      {"race data not packed", with([&](auto& f) { f[car_length_at + 1 + replay.car.size() + 28 + 2] ^= 0xFF; Reseal(f); }),
       "does not unpack"},
  };
  for (const Case& c : cases) {
    error.clear();
    EXPECT_FALSE(DecodeReplay(c.file, error)) << c.name;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.name;
  }
}

TEST(ReplayFile, EveryCutOfAGoodFileIsRefused) {
  const std::vector<uint8_t> good = RecordRace(300);
  for (size_t n = 0; n < good.size(); ++n) {
    std::string error;
    EXPECT_FALSE(DecodeReplay(std::vector<uint8_t>(good.begin(), good.begin() + n), error)) << n;
    EXPECT_FALSE(error.empty()) << n;
  }
}

TEST(ReplayFile, AFileOfFormatOnePlaysAsRecordedWithItsOwnViewHash) {
  const std::vector<uint8_t> now = RecordRace(1200, true);
  const std::vector<uint8_t> old = AsFormatOne(now);
  std::string error;
  const auto replay = DecodeReplay(old, error);
  ASSERT_TRUE(replay) << error;
  EXPECT_EQ(replay->format_version, 1u);
  HeadlessPlatform machine;
  const ReplayOutcome out = PlayBack(old, machine);
  EXPECT_FALSE(out.diverged) << out.diverged_frame;
  EXPECT_EQ(out.view_hash, replay->view_hash);
  // The same race in the current format: its views hashed with XXH3.
  HeadlessPlatform again;
  const ReplayOutcome out_now = PlayBack(now, again);
  EXPECT_FALSE(out_now.diverged) << out_now.diverged_frame;
  EXPECT_EQ(out_now.view_hash, DecodeReplay(now, error)->view_hash);
  EXPECT_NE(out_now.view_hash, out.view_hash);
}

// Format 1 held the readouts and the tables too: they are rebuilt, never read, and what
// is kept passes the same checks as in the current format.
TEST(ReplayFile, AFileOfFormatOneIsTakenOnlyForWhatARaceStartsFrom) {
  const std::vector<uint8_t> race = RecordRace(300);
  struct Case {
    const char* name;
    std::function<void(Kelto1&)> change;
    const char* refusal;  // nullptr: played as recorded
  } cases[] = {
      {"rank 1 and 9999 time units", [](Kelto1& g) {
         g.window[Element::Rank].text = "1";
         g.window[Element::Mtime].text = "9999";
       }, nullptr},
      {"a place index past the names", [](Kelto1& g) { g.course.PlaceIndex = 40; }, nullptr},
      {"a sprite table cell past the sheet", [](Kelto1& g) { g.vehicles.SpriteFirstCell[10] = 5000; }, nullptr},
      {"an active traffic record of rival 90", [](Kelto1& g) {
         g.vehicles.Vehicles[5].Active = 1;
         g.vehicles.Vehicles[5].IsRival = 1;
         g.vehicles.Vehicles[5].RivalNo = 90;
       }, "RivalNo 5 is 90"},
      {"a pick-up carried by record 200", [](Kelto1& g) { g.traffic.Pickups[2].Carrier = 200; },
       "pick-up Carrier 2 is 200"},
      {"a lane past the lanes", [](Kelto1& g) { g.vehicles.Vehicles[9].Lane = 6; }, "Lane 9 is 6"},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> old = AsFormatOne(race, c.change);
    std::string error;
    auto replay = DecodeReplay(old, error);
    ASSERT_TRUE(replay) << c.name << ": " << error;
    HeadlessPlatform machine;
    ReplayPlayer player(machine, std::move(*replay));
    const bool taken = player.Prepare(error);
    if (c.refusal) {
      EXPECT_FALSE(taken) << c.name;
      EXPECT_NE(error.find(c.refusal), std::string::npos) << c.name << ": " << error;
      continue;
    }
    ASSERT_TRUE(taken) << c.name << ": " << error;
    const ReplayOutcome out = player.Play();
    EXPECT_FALSE(out.diverged) << c.name << " at " << out.diverged_frame;
    EXPECT_EQ(player.game().window[Element::Rank].text, "30") << c.name;
  }
}

TEST(ReplayFile, AStartStateOfFormatOneThatDoesNotFitIsRefusedBeforeThePlay) {
  std::string error;
  Replay replay = *DecodeReplay(AsFormatOne(RecordRace(300)), error);
  const std::vector<uint8_t> start = replay.start;
  struct Case {
    const char* name;
    std::vector<uint8_t> start;
  } cases[] = {
      {"empty", {}},
      {"cut short", std::vector<uint8_t>(start.begin(), start.begin() + static_cast<long>(start.size() / 2))},
      {"one byte more", [&] { auto s = start; s.push_back(1); return s; }()},
      {"a struct of another size", [&] { auto s = start; s[0] += 1; return s; }()},
      // The view is one run of black; a run one pixel longer than the picture.
      {"a picture run past the end", [&] {
         auto s = start;
         const uint8_t black_view[] = {0x80, 0x80, 0x12, 0, 0, 0, 0};  // 294912 pixels
         auto at = std::search(s.begin(), s.end(), std::begin(black_view), std::end(black_view));
         EXPECT_NE(at, s.end());
         if (at != s.end()) at[0] = 0x81;
         return s;
       }()},
  };
  for (const Case& c : cases) {
    replay.start = c.start;
    HeadlessPlatform machine;
    ReplayPlayer player(machine, replay);
    error.clear();
    EXPECT_FALSE(player.Prepare(error)) << c.name;
    EXPECT_NE(error.find("start state does not fit this game"), std::string::npos) << c.name << ": " << error;
  }
}

// Divergence is told at the first checkpoint after it, not only at the end.
TEST(ReplayRecording, ARaceThatDivergesIsReportedAtTheFirstCheckpointAfterIt) {
  std::string error;
  const Replay replay = *DecodeReplay(RecordRace(1000, true), error);
  // The frames' answers, one pattern per frame, so that one frame can be changed alone.
  const auto one_frame_changed = [&](long frame, const std::function<void(FrameInput&)>& change) {
    Replay r = replay;
    r.runs.clear();
    long f = 0;
    for (const InputRun& run : replay.runs)
      for (uint32_t k = 0; k < run.frames; ++k) {
        ++f;
        if (f == frame) {
          r.patterns.push_back(replay.patterns[run.pattern]);
          change(r.patterns.back());
          r.runs.push_back({static_cast<uint32_t>(r.patterns.size() - 1), 1});
        } else {
          r.runs.push_back({run.pattern, 1});
        }
      }
    return r;
  };
  // Right held for one frame at 150 (the last steering key the game asks about, so it
  // asks the same questions): the car is somewhere else from there on.
  const Replay steered = one_frame_changed(150, [](FrameInput& in) {
    for (InputAnswer& a : in)
      if (a.kind == InputAnswer::Kind::Key && a.key == vk::kRight) a.key_state = INT16_MIN;
  });
  // Another Z from the stick at frame 200 only: the reading is kept in the state until
  // the next frame reads the stick again, and moves nothing, so only the checkpoint after
  // frame 200 sees it; the end is as recorded.
  const Replay nudged = one_frame_changed(200, [](FrameInput& in) {
    for (InputAnswer& a : in)
      if (a.kind == InputAnswer::Kind::Joystick) a.position.z += 1;
  });
  struct Case {
    const char* name;
    const Replay& replay;
    long reported;
  } cases[] = {{"steered at frame 150", steered, 200}, {"another Z at frame 200", nudged, 200}};
  for (const Case& c : cases) {
    HeadlessPlatform machine;
    const ReplayOutcome out = PlayBack(EncodeReplay(c.replay), machine);
    EXPECT_TRUE(out.diverged) << c.name;
    EXPECT_EQ(out.diverged_frame, c.reported) << c.name;
  }
  // The other Z leaves the end as it was: without the checkpoints nothing would tell.
  HeadlessPlatform machine;
  const ReplayOutcome out = PlayBack(EncodeReplay(nudged), machine);
  EXPECT_EQ(out.state_hash, replay.state_hash);
  EXPECT_EQ(out.view_hash, replay.view_hash);
}

}  // namespace
}  // namespace kelto1
