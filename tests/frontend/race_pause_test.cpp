// A paused race is the same race: a game on a machine that pauses the way the desktop
// does (no answer while paused, the pause left out of the time, presses made during the
// pause unseen) records the same replay and ends in the same state as a game given the
// same keys without a pause.
#include "frontend/race_pause.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "headless/headless_platform.h"
#include "replay/forwarding_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

struct Event {
  enum class Kind { Press, Release } kind;
  uint64_t at;  // machine milliseconds after the race is asked for
  int key = 0;
};

// What the player does when the game next asks the time after the view of one frame
// has been shown: with `pause_ms` > 0 the race is paused for that long first, and the
// keys pressed and let go are pressed and let go during the pause.
struct Moment {
  long after_view = 0;
  uint64_t pause_ms = 0;
  std::vector<Event> keys;  // their `at` is not used: they all happen at that moment
};

// The machine of a window under a person: the game's clock and keys come through a
// RacePause, the person's events arrive when the machine's clock reaches them, and a
// question asked while paused is answered only once the pause is over.
class PersonAtTheWindow final : public ForwardingPlatform {
 public:
  PersonAtTheWindow(HeadlessPlatform& machine, std::vector<Event> events, Moment moment)
      : ForwardingPlatform(machine), events_(std::move(events)), moment_(std::move(moment)) {
    std::stable_sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
  }

  void StartClock() { origin_ = now_; }

  uint32_t GetTickCount() override {
    Deliver();
    if (views_ == moment_.after_view && !moment_done_) {
      moment_done_ = true;
      if (moment_.pause_ms > 0) pause_.Pause(now_);
      for (const Event& e : moment_.keys) Apply(e);
      if (moment_.pause_ms > 0) {
        // The window waits for the player; the machine's clock runs on, and so does
        // the person's timetable.
        now_ += moment_.pause_ms;
        origin_ += moment_.pause_ms;
        pause_.Resume(now_);
      }
    }
    return static_cast<uint32_t>(pause_.GameTime(now_));
  }
  void Idle(uint32_t remaining_ms) override {
    now_ += remaining_ms;
    Deliver();
  }
  int16_t GetAsyncKeyState(int virtual_key) override {
    Deliver();
    return keys_.Query(virtual_key);
  }
  bool QuitWanted() override { return false; }
  // Showing a view takes a sixtieth of a second, as the window's frame limiter has it.
  void Repaint(const ShownWindow& shown, Element which) override {
    ForwardingPlatform::Repaint(shown, which);
    if (which != Element::Display) return;
    ++views_;
    now_ += 17;
    Deliver();
  }

 private:
  void Apply(const Event& e) {
    if (e.kind == Event::Kind::Press) pause_.Press(e.key);
    else pause_.Release(e.key);
  }
  void Deliver() {
    for (; next_ < events_.size() && origin_ + events_[next_].at <= now_; ++next_) Apply(events_[next_]);
  }

  std::vector<Event> events_;
  Moment moment_;
  bool moment_done_ = false;
  size_t next_ = 0;
  long views_ = 0;
  uint64_t now_ = 1000, origin_ = 0;
  KeyState keys_;
  RacePause pause_{keys_};
};

struct Outcome {
  std::vector<uint8_t> replay;
  uint64_t state = 0;
  long frames = 0;
};

Outcome Race(const std::vector<Event>& events, const Moment& moment) {
  HeadlessPlatform machine;
  machine.joystick_present = false;  // the keyboard drives
  PersonAtTheWindow person(machine, events, moment);
  Kelto1 game(person);
  game.window[Element::CarSel].text = "FamilyCar";
  long frames = 0;
  game.SetAfterFrame([&](Kelto1&) { return ++frames < 900; });
  game.Form_Load();
  game.Repaint(Element::Window);
  game.Timer1_Timer();  // the title screen
  person.StartClock();
  game.Timer1_Timer();  // Ctrl, at once: the race
  return {game.recorder.last_file(), game.StateHash(), frames};
}

using K = Event::Kind;

TEST(RacePause, APausedRaceIsTheRaceOfTheSameKeysWithoutThePause) {
  const std::vector<Event> keys = {
      {K::Press, 0, vk::kControl},    {K::Release, 40, vk::kControl},    {K::Press, 2300, vk::kMenu},
      {K::Press, 4000, vk::kLeft},    {K::Release, 4200, vk::kLeft},     {K::Press, 5100, vk::kControl},
      {K::Release, 5500, vk::kControl}, {K::Press, 6000, vk::kMenu},     {K::Press, 8000, vk::kRight},
      {K::Release, 8300, vk::kRight},
  };
  const long kView = 200;  // well into the race, Alt held
  // Without a pause: Alt let go at that moment.
  const Moment plain{kView, 0, {{K::Release, 0, vk::kMenu}}};
  // Paused for four seconds there; during the pause the player lets Alt go, taps Ctrl,
  // and presses Right, still held when the race goes on.
  const Moment paused{kView, 4000,
                      {{K::Release, 0, vk::kMenu},
                       {K::Press, 0, vk::kControl},
                       {K::Release, 0, vk::kControl},
                       {K::Press, 0, vk::kRight}}};
  const Outcome a = Race(keys, plain);
  const Outcome b = Race(keys, paused);
  ASSERT_EQ(a.frames, 900);
  ASSERT_FALSE(a.replay.empty());
  EXPECT_EQ(b.frames, a.frames);
  EXPECT_EQ(b.state, a.state);
  EXPECT_TRUE(b.replay == a.replay);
  // Had the presses during the pause been seen, the race would have been another.
  const Moment seen{kView, 0, paused.keys};
  EXPECT_NE(Race(keys, seen).state, a.state);
}

}  // namespace
}  // namespace kelto1
