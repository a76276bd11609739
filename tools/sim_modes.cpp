// The soak, the benchmark and the road rows of kelto1-sim.
#include "sim_modes.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <istream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/ghost.h"
#include "app/sim_session.h"
#include "app/soak.h"
#include "course/course_content.h"
#include "course/road_rows.h"
#include "replay/view_hash.h"
#include "peak_memory.h"
#include "replay/records.h"

namespace kelto1 {

int RunSoak(uint64_t seed, long frames, bool check) {
  if (frames <= 0) frames = 100000;
  // Out-of-range values are counted rather than fatal, so the report can name the frame.
  SetRangeFaultMode(check ? RangeFaultMode::Clamp : RangeFaultMode::Abort);
  SteeringWatch steering;  // made first: the game's hook points at it
  SimSession s;
  RandomDriver driver(seed);
  if (check) steering.Attach(s.game());
  int max_speed_at_start = 0;
  s.keys_for_frame = [&](long, HeadlessPlatform& p) {
    driver.HoldKeys(p);
    max_speed_at_start = s.game().vehicles.Vehicles[0].MaxSpeed;
  };
  long total = 0, races = 0;
  bool failed = false;
  s.after_frame = [&](long frame) {
    ++total;
    if (check) {
      std::optional<RangeViolation> v = steering.Take();
      if (!v) v = CheckRanges(s.game(), max_speed_at_start);
      if (v) {
        std::printf("violation: race %ld frame %ld (frame %ld overall): %s = %lld\n", races, frame, total,
                    v->variable.c_str(), v->value);
        failed = true;
        s.Stop();
      }
    }
    if (total >= frames) s.Stop();
  };
  s.StartProgram();
  while (total < frames && !failed && !s.game().Ended()) {
    s.game().window[Element::CarSel].text = driver.NextCar();
    ++races;
    const long before = total;
    s.RunRace(0);
    if (total == before) break;  // no race started: nothing more to soak
  }
  // The hash tells two builds apart when they play the same keys differently.
  std::printf("seed=%llu\nframes_checked=%ld\nraces=%ld\nstate_hash=%016llx\nresult=%s\n",
              static_cast<unsigned long long>(seed), check ? total : 0, races,
              static_cast<unsigned long long>(s.game().StateHash()), failed ? "violation" : "ok");
  return failed ? 1 : 0;
}

namespace {

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A crowded road: every kind of traffic as often as the game allows.
void MakeBusy(Kelto1& g) {
  g.course.Kind1Limit = 28;
  g.course.Kind1Odds = 2;
  g.course.Kind2Odds = 3;
  g.course.Kind3Odds = 6;
  g.course.SignalOdds = 20;
  g.course.PickupOdds = 2;
  g.vehicles.Vehicles[0].HitPoints = 800;  // the benchmark's car never gives up
}

}  // namespace

int RunBench(long frames) {
  if (frames <= 0) frames = 5000;
  constexpr long kWarmUp = 600;
  // The floor, the bare 512 x 576 road copy that every frame makes, is timed between the
  // frames, so that whatever else the machine does at the time weighs on both alike. It
  // copies the frame's own view again, so the next frame starts from the same picture.
  constexpr long kCopiesPerFrame = 2;
  using Clock = std::chrono::steady_clock;
  SimSession s;
  long traffic_sum = 0;
  Clock::time_point start;
  Clock::duration copying{};
  s.keys_for_frame = [&](long frame, HeadlessPlatform& p) {
    MakeBusy(s.game());
    p.ReleaseAll();
    p.Hold(vk::kMenu);
    if (frame % 300 < 40) p.Hold(frame % 600 < 300 ? vk::kLeft : vk::kRight);
    if (frame == kWarmUp + 1) start = Clock::now();
  };
  s.after_frame = [&](long frame) {
    if (frame <= kWarmUp) return;
    Kelto1& g = s.game();
    traffic_sum += g.ActiveTrafficCount();
    const auto copy_start = Clock::now();
    for (long i = 0; i < kCopiesPerFrame; ++i)
      BitBlt(g.Display, 0, 0, kViewWidth, kViewHeight, g.Master, 0, 64 - g.vehicles.ScrollSub, RasterOp::SRCCOPY);
    copying += Clock::now() - copy_start;
  };
  s.StartProgram();
  s.game().window[Element::CarSel].text = "RacingCar";
  const long ran = s.RunRace(kWarmUp + frames) - kWarmUp;
  const double whole = Seconds(Clock::now() - start - copying);
  const double copy = Seconds(copying);
  const long copies = ran * kCopiesPerFrame;

  const double fps = ran / whole;
  const double floor_fps = copies / copy;
  std::printf("frames=%ld\n", ran);
  std::printf("average_traffic=%.1f\n", ran > 0 ? static_cast<double>(traffic_sum) / ran : 0.0);
  std::printf("frames_per_second=%.0f\n", fps);
  std::printf("floor_frames_per_second=%.0f\n", floor_fps);
  std::printf("ratio=%.2f\n", floor_fps / fps);
  std::printf("peak_resident_kib=%ld\n", PeakResidentKib());

  // The view hash a recorded race pays for every frame, over this race's last view: FNV-1a
  // lanes (replays of format 1) and XXH3 (now), as a share of one core at 60 views a second.
  constexpr int kHashes = 3000;
  const std::pair<const char*, ViewHashKind> kinds[] = {{"fnv1a_lanes", ViewHashKind::Fnv1aLanes},
                                                        {"xxh3", ViewHashKind::Xxh3}};
  for (const auto& [name, kind] : kinds) {
    ViewHash h(kind);
    const auto hash_start = Clock::now();
    for (int i = 0; i < kHashes; ++i) h.Add(s.game().Display);
    const double each = Seconds(Clock::now() - hash_start) / kHashes;
    std::printf("view_hash_%s_microseconds=%.1f\n", name, each * 1e6);
    std::printf("view_hash_%s_core_percent_at_60fps=%.2f\n", name, each * 60 * 100);
    std::printf("view_hash_%s_value=%016llx\n", name, static_cast<unsigned long long>(h.value()));
  }
  // The ghost of a race like it (one left as it was played, which a busied one is not):
  // traced once before a race, a game frame per recorded frame, then only drawn, a copy
  // of the view per frame.
  SimSession plain;
  plain.keys_for_frame = [](long frame, HeadlessPlatform& p) {
    p.ReleaseAll();
    p.Hold(vk::kMenu);
    if (frame % 300 < 40) p.Hold(frame % 600 < 300 ? vk::kLeft : vk::kRight);
  };
  plain.StartProgram();
  plain.RunRace(kWarmUp + frames);
  const std::vector<uint8_t> replay = plain.game().recorder.last_file();
  std::string why;
  const auto trace_start = Clock::now();
  std::optional<std::vector<GhostFrame>> track = TraceGhost(replay, why);
  const double trace = Seconds(Clock::now() - trace_start);
  if (!track) {
    std::fprintf(stderr, "kelto1-sim: the bench race gives no ghost: %s\n", why.c_str());
    return 1;
  }
  const size_t traced = track->size();
  GhostPainter painter(std::move(*track));
  const auto draw_start = Clock::now();
  for (long f = 1; f <= static_cast<long>(traced); ++f) painter.Compose(s.game(), f);
  const double draw = Seconds(Clock::now() - draw_start);
  std::printf("ghost_trace_us_per_frame=%.1f\n", 1e6 * trace / static_cast<double>(traced));
  std::printf("ghost_draw_us_per_frame=%.1f\n", 1e6 * draw / static_cast<double>(traced));
  // A full records table, read and checked.
  std::vector<RaceRecord> table;
  for (size_t i = 0; i < kRecordsKept; ++i) {
    RaceRecord r;
    r.when = "2026-12-11 06:30:00";
    r.vehicle = "RacingCar";
    r.rank = static_cast<int>(1 + i);
    r.place = "奥多摩";
    r.distance = 7347;
    r.frames = 20000;
    r.replay = "20261211-0630" + std::to_string(10 + i) + ".k1r";
    table.push_back(r);
  }
  const std::string text = EncodeRecords(table);
  constexpr int kLoads = 1000;
  size_t kept = 0;
  const auto load_start = Clock::now();
  for (int i = 0; i < kLoads; ++i) kept += DecodeRecords(text).table.size();
  const double load = Seconds(Clock::now() - load_start);
  std::printf("records_table_load_us=%.1f (%zu races)\n", 1e6 * load / kLoads, kept / kLoads);
  return ran == frames ? 0 : 1;
}

namespace {

// A decoration (mode 3..12) or a building (mode 1 or 2) the plan asks for.
struct PlannedScenery {
  long row;
  int mode;
  int rows;
  int phase;  // -1: the phase the last decoration left
};

struct RoadPlan {
  std::vector<std::array<uint8_t, 2>> steps;  // (section, times), as the course's steps
  std::vector<PlannedScenery> scenery;
  bool bushes = false;
};

std::optional<RoadPlan> ReadRoadPlan(std::istream& in, std::string& error) {
  RoadPlan plan;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream words(line);
    std::string what;
    if (!(words >> what) || what[0] == '#') continue;
    std::vector<long> v;
    for (long n; words >> n;) v.push_back(n);
    const bool numbers_only = words.eof();
    auto in_range = [&](size_t i, long lo, long hi) { return i < v.size() && v[i] >= lo && v[i] <= hi; };
    bool ok = numbers_only;
    if (what == "section") {
      ok = ok && in_range(0, 1, static_cast<long>(content::kSections.size()) - 1) && v.size() <= 2 &&
           (v.size() == 1 || in_range(1, 1, 254));
      if (ok) plan.steps.push_back({static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v.size() == 2 ? v[1] : 1)});
    } else if (what == "decoration") {
      ok = ok && in_range(0, 0, 1L << 30) && in_range(1, 3, 12) && in_range(2, 1, 1000) && v.size() <= 4 &&
           (v.size() == 3 || in_range(3, 0, 1));
      const int phase = v.size() == 4 ? static_cast<int>(v[3]) : -1;
      if (ok) plan.scenery.push_back({v[0], static_cast<int>(v[1]), static_cast<int>(v[2]), phase});
    } else if (what == "building") {
      ok = ok && v.size() == 2 && in_range(0, 0, 1L << 30) && in_range(1, 1, 2);
      if (ok) plan.scenery.push_back({v[0], static_cast<int>(v[1]), kBuildingRows, -1});
    } else if (what == "bushes") {
      ok = ok && v.empty();
      plan.bushes = ok;
    } else {
      ok = false;
    }
    if (!ok) {
      error = "road plan line " + std::to_string(number) + " is not understood: " + line;
      return std::nullopt;
    }
  }
  // The course's step table keeps its last entry for the closing (255, 255).
  if (plan.steps.empty() || plan.steps.size() >= CourseState{}.CourseSteps.size()) {
    error = "a road plan needs between 1 and 1000 section lines";
    return std::nullopt;
  }
  std::stable_sort(plan.scenery.begin(), plan.scenery.end(),
                   [](const PlannedScenery& a, const PlannedScenery& b) { return a.row < b.row; });
  return plan;
}

}  // namespace

int RunRoadRows(std::istream& in) {
  std::string error;
  const std::optional<RoadPlan> plan = ReadRoadPlan(in, error);
  if (!plan) {
    std::fprintf(stderr, "kelto1-sim: %s\n", error.c_str());
    return 2;
  }
  HeadlessPlatform machine;
  Kelto1 g(machine);
  g.BuildCourseTables();
  CourseState& c = g.course;
  // The plan's sections become the course, loaded and expanded as the game's own.
  std::vector<uint8_t> steps;
  for (const auto& step : plan->steps) steps.insert(steps.end(), step.begin(), step.end());
  steps.insert(steps.end(), {255, 255});
  c.StepCount = 0;
  g.AppendCourseStep(steps.data(), static_cast<int>(steps.size()));
  g.ExpandCourse();

  Random bush_draws;
  size_t next = 0;
  long row = 0;
  for (c.CoursePos = 0, c.RowHalf = 0; c.CoursePos < c.CourseLength; ++row) {
    if (next < plan->scenery.size() && plan->scenery[next].row <= row) {
      const PlannedScenery& s = plan->scenery[next];
      const bool building = s.mode <= 2;
      if (building ? BuildingFits(c) : c.SceneryMode == 0) {
        c.SceneryMode = s.mode;
        c.SceneryTimer = s.rows;
        if (s.phase >= 0) c.SceneryPhase = s.phase;
        ++next;
      }
    }
    RunSceneryClock(c);
    for (int col = 0; col <= 15; ++col) {
      const double r = plan->bushes ? bush_draws.Next() : 0.0;
      std::printf(col == 0 ? "%d" : " %d", LaidTile(c, NextRowTile(c, col), col, r));
    }
    std::printf("\n");
    c.RowHalf += 1;
    if (c.RowHalf == 2) {
      c.RowHalf = 0;
      c.CoursePos += 1;
    }
  }
  return 0;
}

}  // namespace kelto1
