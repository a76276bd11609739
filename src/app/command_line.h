// The desktop program's command line: what to do, and what to print before doing it.
#pragma once

#include <string>
#include <vector>

namespace kelto1 {

struct CommandLine {
  enum class Action {
    Play,    // open the window and play
    Replay,  // play back the race recorded in replay_file
    Records, // print the records table
    Exit,    // print text and end with exit_code
  };
  Action action = Action::Play;
  // For Exit: 0 after --help or --version (text goes to standard output), 2 after a
  // mistake (text goes to standard error).
  int exit_code = 0;
  std::string text;
  std::string replay_file;
  std::string ghost_file;  // for Play: the race whose ghost drives beside the player's
};

// args are the words after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
CommandLine ParseCommandLine(int argc, const char* const* argv);


// The short usage printed by --help.
std::string UsageText();

}  // namespace kelto1
