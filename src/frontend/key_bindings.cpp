// Key names and what they are bound to.
#include "frontend/key_bindings.h"

#include <algorithm>
#include <cctype>

#include "platform/platform.h"

namespace kelto1 {

namespace {

struct ActionInfo {
  std::string_view name;
  int virtual_key;  // -1: the front end's own action
  std::vector<std::string> defaults;
};

const std::array<ActionInfo, kActionCount>& Actions() {
  static const std::array<ActionInfo, kActionCount> actions = {{
      {"steer_left", vk::kLeft, {"Left"}},
      {"steer_right", vk::kRight, {"Right"}},
      {"accelerate", vk::kMenu, {"LeftAlt", "RightAlt"}},
      {"brake", vk::kControl, {"LeftCtrl", "RightCtrl"}},
      {"pause", -1, {"P", "Pause"}},
      {"mute", -1, {"M"}},
      {"screenshot", -1, {"F12"}},
      {"full_screen", -1, {"F11"}},
      {"scaling", -1, {"F10"}},
      {"ghost", -1, {"G"}},
  }};
  return actions;
}

// The names a key may have, canonical.
constexpr std::string_view kNamedKeys[] = {
    "left", "right", "up", "down", "leftalt", "rightalt", "leftctrl", "rightctrl", "leftshift", "rightshift",
    "space", "return", "enter", "tab", "pause", "insert", "delete", "home", "end", "pageup", "pagedown",
    "backspace",
};

}  // namespace

std::string_view ActionName(Action action) { return Actions()[static_cast<size_t>(action)].name; }

std::optional<Action> ActionNamed(std::string_view name) {
  for (int i = 0; i < kActionCount; ++i)
    if (Actions()[i].name == name) return static_cast<Action>(i);
  return std::nullopt;
}

bool IsDriving(Action action) { return VirtualKeyOf(action) >= 0; }

int VirtualKeyOf(Action action) {
  return action == Action::Count ? -1 : Actions()[static_cast<size_t>(action)].virtual_key;
}

std::string CanonicalKeyName(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == ' ' || c == '_' || c == '-') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  // The two spellings front ends use for the same keys.
  if (out == "enter") out = "return";
  if (out == "leftcontrol") out = "leftctrl";
  if (out == "rightcontrol") out = "rightctrl";
  return out;
}

bool IsBindableKey(std::string_view name) {
  const std::string key = CanonicalKeyName(name);
  if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) return true;
  if (key.size() >= 2 && key.size() <= 3 && key[0] == 'f' && std::all_of(key.begin() + 1, key.end(), ::isdigit)) {
    const int n = std::stoi(key.substr(1));
    return n >= 1 && n <= 12;
  }
  return std::find(std::begin(kNamedKeys), std::end(kNamedKeys), key) != std::end(kNamedKeys);
}

KeyBindings::KeyBindings() {
  for (int i = 0; i < kActionCount; ++i) keys_[i] = Actions()[i].defaults;
}

std::optional<Action> KeyBindings::ActionOf(std::string_view key_name) const {
  const std::string key = CanonicalKeyName(key_name);
  if (key.empty()) return std::nullopt;
  for (int i = 0; i < kActionCount; ++i)
    for (const std::string& bound : keys_[i])
      if (CanonicalKeyName(bound) == key) return static_cast<Action>(i);
  return std::nullopt;
}

bool KeyBindings::Bind(Action action, std::string_view list, std::string& why) {
  std::vector<std::string> keys;
  std::string word;
  auto end_word = [&] {
    if (!word.empty()) keys.push_back(word);
    word.clear();
  };
  for (char c : list) {
    if (c == ' ' || c == ',' || c == '\t') end_word();
    else word += c;
  }
  end_word();
  if (keys.empty()) {
    why = "no key given";
    return false;
  }
  for (const std::string& key : keys) {
    if (!IsBindableKey(key)) {
      why = "\"" + key + "\" is not a key that can be bound";
      return false;
    }
    const std::optional<Action> other = ActionOf(key);
    if (other && *other != action) {
      why = key + " is already bound to " + std::string(ActionName(*other));
      return false;
    }
  }
  keys_[static_cast<size_t>(action)] = std::move(keys);
  return true;
}

std::string KeyBindings::ListOf(Action action) const {
  std::string line;
  for (const std::string& key : KeysOf(action)) line += (line.empty() ? "" : " ") + key;
  return line;
}

std::string TitleHintLine(const KeyBindings& keys) {
  auto key = [&](Action a) {
    std::string name = keys.KeysOf(a).empty() ? "?" : keys.KeysOf(a).front();
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return "[" + name + "]";
  };
  // F2 is the game's own key, not the player's to bind.
  return "[F2] REPLAY   " + key(Action::FullScreen) + " FULL SCREEN   " + key(Action::Pause) + " PAUSE";
}

}  // namespace kelto1
