// The remembered choices kept as named values: what is stored is read back, and a damaged
// or foreign value costs only its own choice, with a line saying so.
#include "frontend/stored_choices.h"

#include <gtest/gtest.h>

namespace kelto1 {
namespace {

TEST(StoredChoices, WhatIsStoredIsReadBack) {
  Preferences p;
  p.vehicle = "KeiTrack";
  p.title_hints = false;
  p.ghost = false;
  p.music_volume = 0;
  p.effects_volume = 65;
  p.muted = true;
  std::vector<std::string> problems;
  EXPECT_EQ(ChoicesFromStored(StoredChoices(p), problems), p);
  EXPECT_EQ(ChoicesFromStored(StoredChoices(Preferences{}), problems), Preferences{});
  EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(StoredChoices, EachBadValueKeepsOnlyItsOwnDefault) {
  const std::string long_value(kMaxStoredChoiceSize + 1, '1');
  struct Case {
    std::string name, value;
    const char* problem_has;
  } cases[] = {
      {"sound.music_volume", "101", "music_volume"},
      {"sound.music_volume", "-5", "music_volume"},
      {"sound.effects_volume", "40%", "effects_volume"},
      {"sound.mute", "perhaps", "mute"},
      {"game.vehicle", "Tank", "vehicle"},
      {"game.ghost", long_value, "too long"},
      {"keys.pause", "Q", "unknown choice keys.pause"},
      {"display.full_screen", "yes", "unknown choice"},
      {"sound", "yes", "unknown choice"},
      {"", "", "unknown choice"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> problems;
    // A good value beside the bad one is still taken.
    const Preferences p = ChoicesFromStored({{c.name, c.value}, {"game.title_hints", "no"}}, problems);
    Preferences expected;
    expected.title_hints = false;
    EXPECT_EQ(p, expected) << c.name << " = " << c.value;
    ASSERT_EQ(problems.size(), 1u) << c.name << " = " << c.value;
    EXPECT_NE(problems[0].find(c.problem_has), std::string::npos) << problems[0];
  }
}

TEST(StoredChoices, NothingStoredIsTheDefaults) {
  std::vector<std::string> problems;
  EXPECT_EQ(ChoicesFromStored({{"game.vehicle", ""}}, problems), Preferences{});
  EXPECT_EQ(ChoicesFromStored({}, problems), Preferences{});
  EXPECT_TRUE(problems.empty());
}

}  // namespace
}  // namespace kelto1
