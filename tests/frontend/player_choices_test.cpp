// What the player's keys are for, what the front end's actions change in the remembered
// choices, the vehicle remembered, and the line under the title: the same in every
// desktop edition.
#include "frontend/player_choices.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/window_elements.h"

namespace kelto1 {
namespace {

TEST(UseOfKey, OwnDrivingOrPlainByTheBindingsAndWhetherABoxIsTypedInto) {
  KeyBindings keys;
  std::string why;
  ASSERT_TRUE(keys.Bind(Action::Accelerate, "A", why)) << why;
  ASSERT_TRUE(keys.Bind(Action::Mute, "M Insert", why)) << why;
  using K = KeyUse::Kind;
  const struct {
    const char* key;
    bool typing;
    K kind;
    Action action;
    int virtual_key;
    bool types;
  } cases[] = {
      {"P", false, K::Own, Action::Pause, -1, false},
      {"P", true, K::Plain, Action::Count, -1, true},  // a letter typed into a box
      {"Pause", true, K::Own, Action::Pause, -1, false},
      {"M", false, K::Own, Action::Mute, -1, false},
      {"Insert", true, K::Own, Action::Mute, -1, false},  // not a character: never typed
      {"F12", true, K::Own, Action::Screenshot, -1, false},
      {"F10", false, K::Own, Action::Scaling, -1, false},
      {"A", true, K::Driving, Action::Accelerate, vk::kMenu, false},  // the car's keys never type
      {"Left Alt", false, K::Plain, Action::Count, -1, true},          // Alt is no longer the car's
      {"Left", true, K::Driving, Action::SteerLeft, vk::kLeft, false},
      {"Right Ctrl", false, K::Driving, Action::Brake, vk::kControl, false},
      {"Q", false, K::Plain, Action::Count, -1, true},
      {"", false, K::Plain, Action::Count, -1, true},
  };
  for (const auto& c : cases) {
    const KeyUse use = UseOfKey(keys, c.key, c.typing);
    EXPECT_EQ(use.kind, c.kind) << c.key << " typing " << c.typing;
    EXPECT_EQ(use.action, c.action) << c.key;
    EXPECT_EQ(use.virtual_key, c.virtual_key) << c.key;
    EXPECT_EQ(use.types, c.types) << c.key;
  }
}

TEST(ApplyAction, EachActionChangesItsOwnChoiceAndSaysSoWhereThePlayerHearsNothing) {
  const struct {
    Action action;
    bool full_screen_now;
    bool changed;
    const char* note;
  } cases[] = {
      {Action::Mute, false, true, "kelto1: sound off"},
      {Action::Ghost, false, true, "kelto1: ghost hidden"},
      {Action::FullScreen, false, true, ""},
      {Action::FullScreen, true, true, ""},
      {Action::Scaling, false, true, ""},
      {Action::Pause, false, false, ""},
      {Action::Screenshot, false, false, ""},
      {Action::Accelerate, false, false, ""},
  };
  for (const auto& c : cases) {
    Preferences p;
    const ChoiceChange change = ApplyAction(p, c.action, c.full_screen_now);
    EXPECT_EQ(change.changed, c.changed) << ActionName(c.action);
    EXPECT_EQ(change.note, c.note) << ActionName(c.action);
    Preferences expected;
    if (c.action == Action::Mute) expected.muted = true;
    if (c.action == Action::Ghost) expected.ghost = false;
    if (c.action == Action::FullScreen) expected.full_screen = !c.full_screen_now;
    if (c.action == Action::Scaling) expected.scaling = ScaleMode::Sharp;
    EXPECT_EQ(p, expected) << ActionName(c.action);
  }
  // Pressed again, each comes back.
  Preferences p;
  for (Action a : {Action::Mute, Action::Ghost, Action::Scaling}) {
    ApplyAction(p, a, false);
    const ChoiceChange back = ApplyAction(p, a, false);
    EXPECT_TRUE(back.changed);
    if (a == Action::Mute) {
      EXPECT_EQ(back.note, "kelto1: sound on");
    }
    if (a == Action::Ghost) {
      EXPECT_EQ(back.note, "kelto1: ghost shown");
    }
  }
  EXPECT_EQ(p, Preferences{});
}

// The selector's text, as the game holds it.
struct Selector : BoxTexts {
  std::map<Element, std::string> texts;
  int typed = 0;
  const std::string& BoxText(Element box) const override { return texts.at(box); }
  void BoxTyped(Element box, const std::string& text) override {
    texts[box] = text;
    ++typed;
  }
};

TEST(VehicleMemory, TheRememberedVehicleIsOfferedOnceAndANewChoiceRemembered) {
  {  // Nothing remembered: the game's own first choice is not written down.
    Selector s;
    s.texts[Element::CarSel] = "RacingCar";
    Preferences p;
    VehicleMemory m;
    EXPECT_FALSE(m.Follow(p, s));
    EXPECT_FALSE(m.Follow(p, s));
    EXPECT_EQ(p.vehicle, "");
    s.texts[Element::CarSel] = "MotorBike";
    EXPECT_TRUE(m.Follow(p, s));
    EXPECT_EQ(p.vehicle, "MotorBike");
    EXPECT_FALSE(m.Follow(p, s)) << "remembered once";
    s.texts[Element::CarSel] = "RacingCar";
    EXPECT_TRUE(m.Follow(p, s)) << "back to the game's first choice is a choice too";
    s.texts[Element::CarSel] = "Racing";  // half typed: not an item
    EXPECT_FALSE(m.Follow(p, s));
    EXPECT_EQ(p.vehicle, "RacingCar");
    EXPECT_EQ(s.typed, 0);
  }
  {  // Remembered: offered at the first look, once, and the player may choose again.
    Selector s;
    s.texts[Element::CarSel] = "RacingCar";
    Preferences p;
    p.vehicle = "KeiTrack";
    VehicleMemory m;
    EXPECT_FALSE(m.Follow(p, s));
    EXPECT_EQ(s.texts[Element::CarSel], "KeiTrack");
    EXPECT_EQ(s.typed, 1);
    s.texts[Element::CarSel] = "RoadStar";
    EXPECT_TRUE(m.Follow(p, s));
    EXPECT_EQ(p.vehicle, "RoadStar");
    EXPECT_EQ(s.typed, 1) << "offered only once";
    // A new game is offered the remembered vehicle again.
    Selector next;
    next.texts[Element::CarSel] = "RacingCar";
    m.Reset();
    EXPECT_FALSE(m.Follow(p, next));
    EXPECT_EQ(next.texts[Element::CarSel], "RoadStar");
  }
}

TEST(TitleLineFor, WhatAReplayToldThenTheHintsUntilARaceIsRun) {
  Preferences p;
  EXPECT_EQ(TitleLineFor("replay played as recorded", p), "replay played as recorded");
  EXPECT_EQ(TitleLineFor("", p), TitleHintLine(p.keys));
  p.title_hints = false;
  EXPECT_EQ(TitleLineFor("", p), "");
  EXPECT_EQ(TitleLineFor("told", p), "told");
}

TEST(OverlayState, PausedTheLineAndTheTableAsTheWindowIsToDrawThem) {
  OverlayState o;
  Preferences p;
  EXPECT_EQ(o.Now(false, p), (Overlay{false, TitleHintLine(p.keys), {}, -1}));
  EXPECT_TRUE(o.Now(true, p).paused);
  o.ShowReplayPaused(true);
  EXPECT_TRUE(o.Now(false, p).paused) << "a paused replay says so too";
  o.ShowReplayPaused(false);
  o.ShowTitleLine("replay played as recorded");
  EXPECT_EQ(o.Now(false, p).title_line, "replay played as recorded");
  o.RaceBegun();
  p.title_hints = false;
  EXPECT_EQ(o.Now(false, p).title_line, "");
  EXPECT_FALSE(o.panel_shown());
  EXPECT_TRUE(o.ShowPanel({"heading", "1"}, 0));
  EXPECT_FALSE(o.ShowPanel({"heading", "1"}, 0)) << "nothing new to show";
  EXPECT_TRUE(o.ShowPanel({"heading", "1"}, -1));
  EXPECT_TRUE(o.panel_shown());
  EXPECT_EQ(o.Now(false, p).panel, (std::vector<std::string>{"heading", "1"}));
  EXPECT_EQ(o.Now(false, p).panel_pick, -1);
  EXPECT_TRUE(o.ShowPanel({}, -1));
  EXPECT_FALSE(o.panel_shown());
}

}  // namespace
}  // namespace kelto1
