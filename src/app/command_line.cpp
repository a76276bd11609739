// The desktop program's command line.
#include "app/command_line.h"

#include "shell/game_version.h"

namespace kelto1 {

namespace {

CommandLine Exit(int code, std::string text) {
  CommandLine c;
  c.action = CommandLine::Action::Exit;
  c.exit_code = code;
  c.text = std::move(text);
  return c;
}

// A mistake: one line saying what was wrong, then the usage, on standard error.
CommandLine Mistake(const std::string& line) { return Exit(2, "kelto1: " + line + "\n\n" + UsageText()); }

}  // namespace

std::string UsageText() {
  return "Usage: kelto1 [--ghost FILE | --replay FILE]\n"
         "       kelto1 --records | --help | --version\n"
         "\n"
         "Kelto1 is a top-down arcade road race up an endless road out of Tokyo,\n"
         "from 新宿 (Shinjuku) to 奥多摩 (Okutama), against the clock, the traffic\n"
         "and 29 rivals.\n"
         "\n"
         "Options:\n"
         "  -h, --help     show this help and exit\n"
         "  --version      show the version and exit\n"
         "  --replay FILE  play a recorded race\n"
         "  --records      list your best races and where they are kept\n"
         "  --ghost FILE   race beside the ghost of a recorded race (without it, the\n"
         "                 ghost of your best race in the records drives beside you)\n"
         "\n"
         "Keys:\n"
         "  Left, Right    steer\n"
         "  Alt            accelerate\n"
         "  Ctrl           brake; on the title screen, start a race\n"
         "  F2             on the title screen, watch the last race again\n"
         "  P, Pause       pause a race and go on\n"
         "  M              sound off/on\n"
         "  F10            whole-factor scaling or the sharp fit that fills the window\n"
         "  F11            fullscreen on/off\n"
         "  F12            screenshot (PNG) into the pictures folder's kelto1/\n"
         "  Escape         save the settings and quit\n"
         "All but Escape and F2 can be bound anew in kelto1.ini's [keys].\n"
         "A joystick or game controller works too: stick to steer, button 1 to\n"
         "accelerate, button 2 to brake.\n"
         "\n"
         "Files:\n"
         "  car.dat        the settings (frame delay, best rank): beside the program\n"
         "                 when the game may write there, otherwise in\n"
         "                 $XDG_DATA_HOME/kelto1/ (~/.local/share/kelto1/)\n"
         "  last.k1r       the last race, best.k1r the last new best: beside car.dat\n"
         "  kelto1.ini     your choices (vehicle, full screen, scaling, volumes, keys):\n"
         "                 $XDG_CONFIG_HOME/kelto1/ (~/.config/kelto1/)\n"
         "  records.txt    your 20 best races, their replays in records/: beside car.dat\n"
         "  *.wav, bgm.mid the sounds and the music, beside the program\n"
         "In a replay, Space pauses, Right held plays at 4x, Escape leaves.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") return Exit(0, UsageText());
    if (arg == "--version") return Exit(0, std::string("kelto1 ") + GameVersion() + "\n");
    if (arg == "--records") {
      if (result.action != CommandLine::Action::Play || !result.ghost_file.empty()) return Mistake("--records goes alone");
      result.action = CommandLine::Action::Records;
      continue;
    }
    if (arg == "--ghost" || arg.rfind("--ghost=", 0) == 0) {
      std::string file = arg == "--ghost" ? (i + 1 < args.size() ? args[++i] : "") : arg.substr(8);
      if (file.empty()) return Mistake("--ghost needs the name of a recorded race");
      if (!result.ghost_file.empty()) return Mistake("only one --ghost at a time");
      if (result.action != CommandLine::Action::Play) return Mistake("--ghost goes with a race, not with --replay or --records");
      result.ghost_file = file;
      continue;
    }
    if (arg == "--replay" || arg.rfind("--replay=", 0) == 0) {
      std::string file;
      if (arg == "--replay") {
        if (i + 1 == args.size()) return Mistake("--replay needs the name of a recorded race");
        file = args[++i];
      } else {
        file = arg.substr(9);
      }
      if (file.empty()) return Mistake("--replay needs the name of a recorded race");
      if (result.action == CommandLine::Action::Replay) return Mistake("only one --replay at a time");
      if (result.action == CommandLine::Action::Records) return Mistake("--records goes alone");
      if (!result.ghost_file.empty()) return Mistake("--ghost goes with a race, not with --replay or --records");
      result.action = CommandLine::Action::Replay;
      result.replay_file = file;
      continue;
    }
    if (!arg.empty() && arg[0] == '-') return Mistake("unknown option '" + arg + "'");
    return Mistake("unexpected argument '" + arg + "'");
  }
  return result;
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
  return ParseCommandLine(args);
}

}  // namespace kelto1
