// The player's remembered choices: what each line means, the file written back, and
// where it lives.
#include "frontend/preferences.h"

#include <cstdlib>
#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <charconv>

#include "platform/window_elements.h"

namespace kelto1 {

namespace {

std::optional<bool> YesNo(const std::string& v) {
  const std::string k = CanonicalKeyName(v);
  if (k == "yes" || k == "on" || k == "true" || k == "1") return true;
  if (k == "no" || k == "off" || k == "false" || k == "0") return false;
  return std::nullopt;
}

std::optional<int> Percent(const std::string& v) {
  int n = 0;
  const char* end = v.data() + v.size();
  const auto [ptr, ec] = std::from_chars(v.data(), end, n);
  if (ec != std::errc() || ptr != end || n < 0 || n > 100) return std::nullopt;
  return n;
}

// Sets one choice; false when the value is not one it can take.
bool Apply(Preferences& p, const PreferenceEntry& e, bool& known) {
  known = true;
  if (e.section == "game" && e.name == "vehicle") {
    // Empty, as written before the player chose one: the game's own choice.
    const bool item = e.value.empty() || std::any_of(kCarSelItems.begin(), kCarSelItems.end(),
                                                     [&](const char* name) { return e.value == name; });
    if (item) p.vehicle = e.value;
    return item;
  }
  if (e.section == "game" && e.name == "title_hints") {
    const std::optional<bool> b = YesNo(e.value);
    if (b) p.title_hints = *b;
    return b.has_value();
  }
  if (e.section == "game" && e.name == "ghost") {
    const std::optional<bool> b = YesNo(e.value);
    if (b) p.ghost = *b;
    return b.has_value();
  }
  if (e.section == "display" && e.name == "full_screen") {
    const std::optional<bool> b = YesNo(e.value);
    if (b) p.full_screen = *b;
    return b.has_value();
  }
  if (e.section == "display" && e.name == "scaling") {
    const std::string k = CanonicalKeyName(e.value);
    if (k == "whole") p.scaling = ScaleMode::Whole;
    else if (k == "sharp") p.scaling = ScaleMode::Sharp;
    return k == "whole" || k == "sharp";
  }
  if (e.section == "sound" && (e.name == "music_volume" || e.name == "effects_volume")) {
    const std::optional<int> n = Percent(e.value);
    if (n) (e.name == "music_volume" ? p.music_volume : p.effects_volume) = *n;
    return n.has_value();
  }
  if (e.section == "sound" && e.name == "mute") {
    const std::optional<bool> b = YesNo(e.value);
    if (b) p.muted = *b;
    return b.has_value();
  }
  known = false;
  return false;
}

const char* YesOrNo(bool b) { return b ? "yes" : "no"; }

}  // namespace

Preferences PreferencesFrom(const std::vector<PreferenceEntry>& entries, std::vector<std::string>& problems) {
  Preferences prefs;
  std::vector<std::pair<Action, std::string>> bindings;
  for (const PreferenceEntry& e : entries) {
    const std::string where = "[" + e.section + "] " + e.name;
    if (e.section == "keys") {
      if (const std::optional<Action> a = ActionNamed(e.name)) bindings.emplace_back(*a, e.value);
      else problems.push_back("unknown key action " + e.name);
      continue;
    }
    bool known = false;
    if (!Apply(prefs, e, known)) problems.push_back(known ? where + " = " + e.value + " is not understood" : "unknown setting " + where);
  }
  // The keys named in the file replace the defaults of their actions all at once, so
  // that two actions can swap keys; an action whose keys are wrong keeps its default.
  KeyBindings keys;
  for (const auto& [action, list] : bindings) keys.Unbind(action);
  std::vector<Action> wrong;
  for (const auto& [action, list] : bindings) {
    std::string why;
    if (!keys.Bind(action, list, why)) {
      problems.push_back(std::string(ActionName(action)) + ": " + why);
      wrong.push_back(action);
    }
  }
  const KeyBindings defaults;
  for (Action action : wrong) {
    if (!keys.KeysOf(action).empty()) continue;
    std::string why;
    if (!keys.Bind(action, defaults.ListOf(action), why)) {
      // Its default keys went to something else: all keys as they were made.
      problems.push_back("the original keys are used");
      keys = defaults;
      break;
    }
  }
  prefs.keys = keys;
  return prefs;
}

std::string PreferencesText(const Preferences& p) {
  std::string t;
  t += "; Kelto1's remembered choices. The game's own settings stay in car.dat.\n";
  t += "[game]\n";
  t += "vehicle = " + p.vehicle + "\n";
  t += std::string("title_hints = ") + YesOrNo(p.title_hints) + "\n";
  t += std::string("ghost = ") + YesOrNo(p.ghost) + "\n";
  t += "\n[display]\n";
  t += std::string("full_screen = ") + YesOrNo(p.full_screen) + "\n";
  t += std::string("scaling = ") + (p.scaling == ScaleMode::Sharp ? "sharp" : "whole") + "\n";
  t += "\n[sound]\n";
  t += "music_volume = " + std::to_string(p.music_volume) + "\n";
  t += "effects_volume = " + std::to_string(p.effects_volume) + "\n";
  t += std::string("mute = ") + YesOrNo(p.muted) + "\n";
  t += "\n[keys]\n";
  for (int i = 0; i < kActionCount; ++i) {
    const Action a = static_cast<Action>(i);
    t += std::string(ActionName(a)) + " = " + p.keys.ListOf(a) + "\n";
  }
  return t;
}

std::string DefaultPreferencesPath() {
#ifdef _WIN32
  const char* app_data = std::getenv("APPDATA");
  return app_data && app_data[0] ? std::string(app_data) + "\\Kelto1\\kelto1.ini" : std::string();
#else
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
    return std::string(config) + "/kelto1/kelto1.ini";
  std::string home;
  if (const char* h = std::getenv("HOME"); h && h[0]) home = h;
  else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) home = pw->pw_dir;
  if (home.empty()) return "";
  return home + "/.config/kelto1/kelto1.ini";
#endif
}

}  // namespace kelto1
