// The preferences file: what each line means, what a damaged or hand-edited file keeps,
// the keys of the player's own, and when the file is written.
#include "frontend/preferences.h"

#include <gtest/gtest.h>

#include "headless/headless_platform.h"

namespace kelto1 {
namespace {

TEST(Preferences, WhatIsWrittenIsReadBack) {
  Preferences p;
  p.vehicle = "MotorBike";
  p.full_screen = true;
  p.scaling = ScaleMode::Sharp;
  p.music_volume = 35;
  p.effects_volume = 0;
  p.muted = true;
  p.title_hints = false;
  std::string why;
  ASSERT_TRUE(p.keys.Bind(Action::Accelerate, "A", why)) << why;
  ASSERT_TRUE(p.keys.Bind(Action::Pause, "Space Pause", why)) << why;
  std::string complaint;
  EXPECT_EQ(ParsePreferences(PreferencesText(p), complaint), p);
  EXPECT_EQ(complaint, "");
  EXPECT_EQ(ParsePreferences(PreferencesText(Preferences{}), complaint), Preferences{});
  EXPECT_EQ(complaint, "") << "no vehicle chosen yet is written as none, and read back so";
}

TEST(Preferences, EachWrongLineKeepsOnlyItsOwnDefault) {
  struct Case {
    const char* text;
    const char* complaint_has;  // "" when nothing is wrong
  } cases[] = {
      {"[display]\nscaling = sharp\n", ""},
      {"[display]\nscaling = blurry\nfull_screen = yes\n", "scaling = blurry"},
      {"[sound]\nmusic_volume = 101\neffects_volume = 40\n", "music_volume = 101"},
      {"[sound]\nmusic_volume = -1\n", "music_volume"},
      {"[sound]\nmusic_volume = 5x\n", "music_volume"},
      {"[sound]\nmute = perhaps\n", "mute = perhaps"},
      {"[game]\nvehicle = Tank\n", "vehicle = Tank"},
      {"[game]\ncolour = red\n", "unknown setting [game] colour"},
      {"[weather]\nrain = yes\n", "unknown setting [weather] rain"},
      {"this is not a setting\n[display]\nfull_screen = yes\n", "line 1"},
      {"[display\nfull_screen = yes\n", "line 1"},
  };
  for (const Case& c : cases) {
    std::string complaint;
    const Preferences p = ParsePreferences(c.text, complaint);
    if (c.complaint_has[0] == 0) EXPECT_EQ(complaint, "") << c.text;
    else EXPECT_NE(complaint.find(c.complaint_has), std::string::npos) << c.text << " -> " << complaint;
    EXPECT_EQ(complaint.find('\n'), std::string::npos);  // one line
    // What was wrong is the default; what was right beside it is taken.
    EXPECT_EQ(p.music_volume, 100) << c.text;
    EXPECT_EQ(p.vehicle, "") << c.text;
    EXPECT_EQ(p.muted, false) << c.text;
  }
  std::string complaint;
  EXPECT_EQ(ParsePreferences("[display]\nscaling = blurry\nfull_screen = yes\n", complaint).full_screen, true);
  EXPECT_EQ(ParsePreferences("[sound]\nmusic_volume = 101\neffects_volume = 40\n", complaint).effects_volume, 40);
  EXPECT_EQ(ParsePreferences("this is not a setting\n[display]\nfull_screen = yes\n", complaint).full_screen, true);
}

TEST(Preferences, AFileThatIsNotTextGivesTheDefaults) {
  std::string complaint;
  EXPECT_EQ(ParsePreferences(std::string("[display]\nfull_screen = yes\0\n", 29), complaint), Preferences{});
  EXPECT_NE(complaint, "");
  EXPECT_EQ(ParsePreferences(std::string(kMaxPreferencesFileSize + 1, ';'), complaint), Preferences{});
  EXPECT_NE(complaint, "");
  // Many problems still make one short line.
  std::string many;
  for (int i = 0; i < 50; ++i) many += "[x]\nname" + std::to_string(i) + " = 1\n";
  ParsePreferences(many, complaint);
  EXPECT_NE(complaint.find("and 47 more"), std::string::npos) << complaint;
}

TEST(KeyBindings, TheDefaultsAreTheGamesOwnKeys) {
  const KeyBindings keys;
  struct Case {
    const char* key;
    std::optional<Action> action;
  } cases[] = {
      {"Left", Action::SteerLeft},      {"Right", Action::SteerRight}, {"Left Alt", Action::Accelerate},
      {"RightAlt", Action::Accelerate}, {"left_ctrl", Action::Brake},  {"Right Control", Action::Brake},
      {"P", Action::Pause},             {"Pause", Action::Pause},      {"m", Action::Mute},
      {"F12", Action::Screenshot},      {"F11", Action::FullScreen},   {"F10", Action::Scaling},
      {"Q", std::nullopt},              {"", std::nullopt},            {"Escape", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(keys.ActionOf(c.key), c.action) << c.key;
  EXPECT_EQ(VirtualKeyOf(Action::Accelerate), 18);
  EXPECT_EQ(VirtualKeyOf(Action::Brake), 17);
  EXPECT_TRUE(IsDriving(Action::SteerLeft));
  EXPECT_FALSE(IsDriving(Action::Pause));
}

TEST(KeyBindings, TheFileRebindsKeys) {
  struct Case {
    const char* keys_section;
    const char* key;
    std::optional<Action> action;
    bool complains;
  } cases[] = {
      {"accelerate = A\nbrake = Z", "A", Action::Accelerate, false},
      {"accelerate = A\nbrake = Z", "LeftAlt", std::nullopt, false},      // the old key is free
      {"accelerate = A\nbrake = Z", "Z", Action::Brake, false},
      {"pause = M\nmute = P", "M", Action::Pause, false},                  // two actions swap keys
      {"pause = M\nmute = P", "P", Action::Mute, false},
      {"accelerate = A, S", "S", Action::Accelerate, false},
      {"accelerate = Escape", "LeftAlt", Action::Accelerate, true},         // not bindable: default kept
      {"accelerate = Banana", "LeftAlt", Action::Accelerate, true},
      {"accelerate =", "LeftAlt", Action::Accelerate, true},
      {"accelerate = Left", "Left", Action::SteerLeft, true},               // taken by another
      {"steer_left = M", "M", Action::Mute, true},                          // M stays with mute
      {"honk = H", "H", std::nullopt, true},
  };
  for (const Case& c : cases) {
    std::string complaint;
    const Preferences p = ParsePreferences(std::string("[keys]\n") + c.keys_section + "\n", complaint);
    EXPECT_EQ(p.keys.ActionOf(c.key), c.action) << c.keys_section << " / " << c.key;
    EXPECT_EQ(!complaint.empty(), c.complains) << c.keys_section << " -> " << complaint;
    // Whatever the file says, every action keeps at least one key.
    for (int i = 0; i < kActionCount; ++i)
      EXPECT_FALSE(p.keys.KeysOf(static_cast<Action>(i)).empty()) << c.keys_section;
  }
}

TEST(KeyBindings, TheTitleLineNamesTheKeysAsBound) {
  KeyBindings keys;
  EXPECT_EQ(TitleHintLine(keys), "[F2] REPLAY   [F11] FULL SCREEN   [P] PAUSE");
  std::string why;
  ASSERT_TRUE(keys.Bind(Action::Pause, "Space, P", why)) << why;
  ASSERT_TRUE(keys.Bind(Action::FullScreen, "f9", why)) << why;
  EXPECT_EQ(TitleHintLine(keys), "[F2] REPLAY   [F9] FULL SCREEN   [SPACE] PAUSE");
}

class PreferencesFileTest : public ::testing::Test {
 protected:
  static constexpr const char* kPath = "/home/p/.config/kelto1/kelto1.ini";
  PreferencesFile Open() {
    return PreferencesFile(files, kPath, [this](const std::string& line) { notes.push_back(line); });
  }
  std::string Text() {
    const auto& b = files.files[kPath];
    return std::string(b.begin(), b.end());
  }
  MemoryFileStore files;
  std::vector<std::string> notes;
};

TEST_F(PreferencesFileTest, NoFileMeansTheDefaultsAndNothingWritten) {
  PreferencesFile f = Open();
  EXPECT_EQ(f.prefs(), Preferences{});
  EXPECT_TRUE(f.SaveIfChanged());
  EXPECT_EQ(files.files.count(kPath), 0u);
  EXPECT_TRUE(notes.empty());
  f.prefs().vehicle = "KeiTrack";
  EXPECT_TRUE(f.SaveIfChanged());
  EXPECT_NE(Text().find("vehicle = KeiTrack"), std::string::npos);
  EXPECT_EQ(Open().prefs().vehicle, "KeiTrack");
}

TEST_F(PreferencesFileTest, ADamagedFileIsToldOnceAndLeftUntilAChoiceChanges) {
  const std::string hand_written = "; mine\n[display]\nscaling = sharp\nbogus line\n";
  files.files[kPath].assign(hand_written.begin(), hand_written.end());
  PreferencesFile f = Open();
  EXPECT_EQ(f.prefs().scaling, ScaleMode::Sharp);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find(kPath), std::string::npos);
  EXPECT_TRUE(f.SaveIfChanged());
  EXPECT_EQ(Text(), hand_written);
  f.prefs().muted = true;
  EXPECT_TRUE(f.SaveIfChanged());
  EXPECT_NE(Text().find("mute = yes"), std::string::npos);
  EXPECT_NE(Text().find("scaling = sharp"), std::string::npos);
}

TEST_F(PreferencesFileTest, AFileThatCannotBeReadIsNeverWrittenOver) {
  files.unreadable.insert(kPath);
  PreferencesFile f = Open();
  EXPECT_EQ(notes.size(), 1u);
  f.prefs().muted = true;
  EXPECT_TRUE(f.SaveIfChanged());
  EXPECT_EQ(files.files.count(kPath), 0u);
}

TEST_F(PreferencesFileTest, AFolderThatCannotBeWrittenIsTold) {
  files.read_only_folders.insert("/home/p/.config/kelto1");
  files.read_only_folders.insert("/home/p/.config");
  PreferencesFile f = Open();
  f.prefs().muted = true;
  EXPECT_FALSE(f.SaveIfChanged());
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("could not save"), std::string::npos);
}

}  // namespace
}  // namespace kelto1
