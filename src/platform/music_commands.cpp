// The tune's command strings: split into words, checked against the few commands the
// game sends, and handed to the tune player.
#include "platform/music_commands.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace kelto1 {

namespace {

constexpr const char* kAlias = "midifile";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Words split at blanks; a word in double quotes may hold blanks and loses its quotes,
// and a backslash in it takes the next double quote or backslash as it is. Nothing for
// an unclosed quote.
std::optional<std::vector<std::string>> SplitWords(const std::string& command) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < command.size()) {
    if (IsBlank(command[i])) {
      ++i;
      continue;
    }
    if (command[i] == '"') {
      std::string word;
      size_t at = i + 1;
      for (; at < command.size() && command[at] != '"'; ++at) {
        const bool escape = command[at] == '\\' && at + 1 < command.size() &&
                            (command[at + 1] == '"' || command[at + 1] == '\\');
        if (escape) ++at;
        word += command[at];
      }
      if (at >= command.size()) return std::nullopt;
      words.push_back(std::move(word));
      i = at + 1;
      continue;
    }
    size_t end = i;
    while (end < command.size() && !IsBlank(command[end])) ++end;
    words.push_back(command.substr(i, end - i));
    i = end;
  }
  return words;
}

// Whether words from index `from` on are exactly `expected`, letter case aside.
bool RestIs(const std::vector<std::string>& words, size_t from, const std::vector<std::string>& expected) {
  if (words.size() != from + expected.size()) return false;
  for (size_t k = 0; k < expected.size(); ++k)
    if (Lower(words[from + k]) != expected[k]) return false;
  return true;
}

}  // namespace

void MusicCommands::Report(const std::string& line) {
  if (report_ && told_.insert(line).second) report_(line);
}

int32_t MusicCommands::Send(const std::string& command, std::string& reply, int32_t reply_length) {
  const std::optional<std::vector<std::string>> split = SplitWords(command);
  if (!split || split->empty()) {
    const size_t first = command.find_first_not_of(" \t");
    if (first != std::string::npos && Lower(command.substr(first, 5)) == "open ")
      Report("cannot open the tune: its command is not understood (" + command + ")");
    return music_error::kUnknownCommand;
  }
  const std::vector<std::string>& words = *split;
  const std::string verb = Lower(words[0]);

  if (verb == "open") {
    if (words.size() < 2 || !RestIs(words, 2, {"type", "sequencer", "alias", kAlias})) {
      Report("cannot open the tune: its command is not understood (" + command + ")");
      return music_error::kUnknownKeyword;
    }
    if (open_) return music_error::kAliasAlreadyOpen;
    std::string why;
    if (!player_.Load(words[1], why)) {
      Report("cannot play " + words[1] + " (" + why + "); the races run without music");
      return music_error::kCannotLoad;
    }
    open_ = true;
    silenced_ = false;
    path_ = words[1];
    return 0;
  }

  if (verb != "play" && verb != "status" && verb != "stop" && verb != "close") return music_error::kUnknownCommand;
  if (words.size() < 2 || Lower(words[1]) != kAlias || !open_) return music_error::kAliasNotOpen;

  if (verb == "play") {
    if (!RestIs(words, 2, {"from", "0"})) return music_error::kUnknownKeyword;
    // A tune that would not play is not tried again on every frame.
    if (silenced_) return music_error::kCannotLoad;
    std::string why;
    if (!player_.PlayFromStart(why)) {
      silenced_ = true;
      Report("cannot play " + path_ + " (" + why + "); this race runs without music");
      return music_error::kCannotLoad;
    }
    return 0;
  }
  if (verb == "status") {
    if (!RestIs(words, 2, {"mode"})) return music_error::kUnknownKeyword;
    const std::string answer = player_.Playing() ? "playing" : "stopped";
    if (reply_length > 0) reply = answer.substr(0, static_cast<size_t>(reply_length));
    return 0;
  }
  if (!RestIs(words, 2, {})) return music_error::kUnknownKeyword;
  if (verb == "stop") {
    player_.Stop();
    return 0;
  }
  player_.Unload();  // close
  open_ = false;
  silenced_ = false;
  return 0;
}

}  // namespace kelto1
