// The desktop program's command line: what each word asks for, and what is printed.
#include "app/command_line.h"
#include "shell/game_version.h"

#include <gtest/gtest.h>

#include <regex>

namespace kelto1 {
namespace {

using Action = CommandLine::Action;

struct Case {
  std::vector<std::string> args;
  Action action;
  int exit_code;
  std::string replay_file;
  std::string first_line;  // the text's first line, for Exit; empty for the others
};

TEST(CommandLine, EachWordDoesWhatItSays) {
  const std::string usage_line = "Usage: kelto1 [--ghost FILE | --replay FILE]";
  const Case cases[] = {
      {{}, Action::Play, 0, "", ""},
      {{"--help"}, Action::Exit, 0, "", usage_line},
      {{"-h"}, Action::Exit, 0, "", usage_line},
      {{"--help", "--bogus"}, Action::Exit, 0, "", usage_line},
      {{"--version"}, Action::Exit, 0, "", std::string("kelto1 ") + GameVersion()},
      {{"--replay", "best.k1r"}, Action::Replay, 0, "best.k1r", ""},
      {{"--replay=/tmp/a race.k1r"}, Action::Replay, 0, "/tmp/a race.k1r", ""},
      {{"--replay", "last.k1r", "--version"}, Action::Exit, 0, "", std::string("kelto1 ") + GameVersion()},
      {{"--bogus"}, Action::Exit, 2, "", "kelto1: unknown option '--bogus'"},
      {{"-x"}, Action::Exit, 2, "", "kelto1: unknown option '-x'"},
      {{"--helpme"}, Action::Exit, 2, "", "kelto1: unknown option '--helpme'"},
      {{"--replay"}, Action::Exit, 2, "", "kelto1: --replay needs the name of a recorded race"},
      {{"--replay="}, Action::Exit, 2, "", "kelto1: --replay needs the name of a recorded race"},
      {{"--replay", "a.k1r", "--replay", "b.k1r"}, Action::Exit, 2, "", "kelto1: only one --replay at a time"},
      {{"--records"}, Action::Records, 0, "", ""},
      {{"--ghost", "best.k1r", "--replay", "a.k1r"}, Action::Exit, 2, "", "kelto1: --ghost goes with a race, not with --replay or --records"},
      {{"--replay", "a.k1r", "--ghost=b.k1r"}, Action::Exit, 2, "", "kelto1: --ghost goes with a race, not with --replay or --records"},
      {{"--ghost", "a.k1r"}, Action::Play, 0, "", ""},
      {{"--ghost"}, Action::Exit, 2, "", "kelto1: --ghost needs the name of a recorded race"},
      {{"--ghost", "a.k1r", "--ghost", "b.k1r"}, Action::Exit, 2, "", "kelto1: only one --ghost at a time"},
      {{"--records", "--replay", "a.k1r"}, Action::Exit, 2, "", "kelto1: --records goes alone"},
      {{"--replay", "a.k1r", "--records"}, Action::Exit, 2, "", "kelto1: --records goes alone"},
      {{"car.dat"}, Action::Exit, 2, "", "kelto1: unexpected argument 'car.dat'"},
      {{"--version", "--bogus"}, Action::Exit, 0, "", std::string("kelto1 ") + GameVersion()},
      {{"--bogus", "--version"}, Action::Exit, 2, "", "kelto1: unknown option '--bogus'"},
  };
  for (const Case& c : cases) {
    std::string words;
    for (const std::string& a : c.args) words += " [" + a + "]";
    SCOPED_TRACE("kelto1" + words);
    const CommandLine got = ParseCommandLine(c.args);
    EXPECT_EQ(got.action, c.action);
    EXPECT_EQ(got.exit_code, c.exit_code);
    EXPECT_EQ(got.replay_file, c.replay_file);
    EXPECT_EQ(got.text.substr(0, got.text.find('\n')), c.first_line);
    if (c.action != Action::Exit) {
      EXPECT_EQ(got.text, "");
    }
  }
}

TEST(CommandLine, MistakesShowTheUsageAfterTheirLine) {
  const CommandLine got = ParseCommandLine({"--bogus"});
  EXPECT_EQ(got.text, "kelto1: unknown option '--bogus'\n\n" + UsageText());
  EXPECT_EQ(ParseCommandLine({"-h"}).text, UsageText());
}

TEST(CommandLine, UsageNamesEveryOptionAndKey) {
  const std::string usage = UsageText();
  for (const char* word : {"-h, --help", "--version", "--replay FILE  play a recorded race", "steer", "Alt",
                           "Ctrl", "Escape", "F11", "car.dat", "~/.local/share/kelto1/", "bgm.mid"})
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  // Every line fits a terminal 80 columns wide (counted in bytes, never fewer than columns).
  size_t start = 0;
  while (start < usage.size()) {
    const size_t end = usage.find('\n', start);
    ASSERT_NE(end, std::string::npos) << "the usage ends with a newline";
    EXPECT_LE(end - start, 80u) << usage.substr(start, end - start);
    start = end + 1;
  }
}

TEST(CommandLine, VersionIsThreeNumbers) {
  EXPECT_TRUE(std::regex_match(GameVersion(), std::regex("[0-9]+\\.[0-9]+\\.[0-9]+"))) << GameVersion();
  EXPECT_EQ(ParseCommandLine({"--version"}).text, std::string("kelto1 ") + GameVersion() + "\n");
}

TEST(CommandLine, ArgvSkipsTheProgramName) {
  const char* argv[] = {"kelto1", "--replay", "x.k1r", nullptr};
  const CommandLine got = ParseCommandLine(3, argv);
  EXPECT_EQ(got.action, Action::Replay);
  EXPECT_EQ(got.replay_file, "x.k1r");
  const char* alone[] = {"/usr/games/kelto1", nullptr};
  EXPECT_EQ(ParseCommandLine(1, alone).action, Action::Play);
}

}  // namespace
}  // namespace kelto1
