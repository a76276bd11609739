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

// Words split at blanks; a word in double quotes may hold blanks and loses its quotes.
// Nothing for an unclosed quote.
std::optional<std::vector<std::string>> SplitWords(const std::string& command) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < command.size()) {
    if (IsBlank(command[i])) {
      ++i;
      continue;
    }
    if (command[i] == '"') {
      const size_t close = command.find('"', i + 1);
      if (close == std::string::npos) return std::nullopt;
      words.push_back(command.substr(i + 1, close - i - 1));
      i = close + 1;
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

int32_t MusicCommands::Send(const std::string& command, std::string& reply, int32_t reply_length) {
  const std::optional<std::vector<std::string>> split = SplitWords(command);
  if (!split || split->empty()) return music_error::kUnknownCommand;
  const std::vector<std::string>& words = *split;
  const std::string verb = Lower(words[0]);

  if (verb == "open") {
    if (words.size() < 2 || !RestIs(words, 2, {"type", "sequencer", "alias", kAlias}))
      return music_error::kUnknownKeyword;
    if (open_) return music_error::kAliasAlreadyOpen;
    if (!player_.Load(words[1])) return music_error::kCannotLoad;
    open_ = true;
    return 0;
  }

  if (verb != "play" && verb != "status" && verb != "stop" && verb != "close") return music_error::kUnknownCommand;
  if (words.size() < 2 || Lower(words[1]) != kAlias || !open_) return music_error::kAliasNotOpen;

  if (verb == "play") {
    if (!RestIs(words, 2, {"from", "0"})) return music_error::kUnknownKeyword;
    player_.PlayFromStart();
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
  return 0;
}

}  // namespace kelto1
