// The soak and the benchmark of kelto1-sim.
#include "sim_modes.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "app/sim_session.h"
#include "app/soak.h"

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

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double fps = ran / whole;
  const double floor_fps = copies / copy;
  std::printf("frames=%ld\n", ran);
  std::printf("average_traffic=%.1f\n", ran > 0 ? static_cast<double>(traffic_sum) / ran : 0.0);
  std::printf("frames_per_second=%.0f\n", fps);
  std::printf("floor_frames_per_second=%.0f\n", floor_fps);
  std::printf("ratio=%.2f\n", floor_fps / fps);
  std::printf("peak_resident_kib=%ld\n", usage.ru_maxrss);
  return ran == frames ? 0 : 1;
}

}  // namespace kelto1
