#include "frontend/stored_choices.h"

#include <algorithm>

namespace kelto1 {

namespace {

const char* YesNo(bool b) { return b ? "yes" : "no"; }

}  // namespace

std::vector<std::pair<std::string, std::string>> StoredChoices(const Preferences& p) {
  return {
      {"game.vehicle", p.vehicle},
      {"game.title_hints", YesNo(p.title_hints)},
      {"game.ghost", YesNo(p.ghost)},
      {"sound.music_volume", std::to_string(p.music_volume)},
      {"sound.effects_volume", std::to_string(p.effects_volume)},
      {"sound.mute", YesNo(p.muted)},
  };
}

Preferences ChoicesFromStored(const std::vector<std::pair<std::string, std::string>>& stored,
                              std::vector<std::string>& problems) {
  const auto known = StoredChoices(Preferences{});
  std::vector<PreferenceEntry> entries;
  for (const auto& pair : stored) {
    const std::string& name = pair.first;
    const std::string& value = pair.second;
    const bool ours = std::any_of(known.begin(), known.end(), [&](const auto& k) { return k.first == name; });
    if (!ours) {
      problems.push_back("unknown choice " + name.substr(0, kMaxStoredChoiceSize));
      continue;
    }
    if (value.size() > kMaxStoredChoiceSize) {
      problems.push_back(name + " is too long");
      continue;
    }
    // An empty vehicle is the game's own choice, as the file writes it.
    if (name == "game.vehicle" && value.empty()) continue;
    const size_t dot = name.find('.');
    entries.push_back({name.substr(0, dot), name.substr(dot + 1), value});
  }
  return PreferencesFrom(entries, problems);
}

}  // namespace kelto1
