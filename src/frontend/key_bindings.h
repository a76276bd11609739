// The player's own keys: which keys do what, by the keys' names, so that every front
// end can use them with its own key codes. The defaults are the game's own keys.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelto1 {

// Everything a key can be bound to.
enum class Action : unsigned char {
  SteerLeft,
  SteerRight,
  Accelerate,
  Brake,       // also starts a race from the title screen
  Pause,
  Mute,
  Screenshot,
  FullScreen,
  Scaling,     // whole factors or the sharp fit
  Ghost,       // the best race's ghost shown or not
  Count,
};
constexpr int kActionCount = static_cast<int>(Action::Count);

// The action's name in the preferences file ("steer_left", ...).
std::string_view ActionName(Action action);
std::optional<Action> ActionNamed(std::string_view name);
// The keys that drive the car: these never type into the title screen's boxes.
bool IsDriving(Action action);
// The virtual key the game asks about for a driving action; -1 for the others.
int VirtualKeyOf(Action action);

// A key's name as the preferences file spells it, made comparable: letters in lower
// case, blanks, '_' and '-' left out ("Left Alt", "left_alt" and "LEFTALT" are one key).
std::string CanonicalKeyName(std::string_view name);

class KeyBindings {
 public:
  // The original keys: the arrows steer, Alt accelerates, Ctrl brakes; P or Pause,
  // M, F12, F11 and F10.
  KeyBindings();

  // The action a key does, by its name (any spelling CanonicalKeyName accepts).
  std::optional<Action> ActionOf(std::string_view key_name) const;
  // The keys bound to an action, as written in the preferences file.
  const std::vector<std::string>& KeysOf(Action action) const { return keys_[static_cast<size_t>(action)]; }
  // Binds an action to the keys named in a list separated by blanks or commas,
  // replacing its keys. False, with the reason and nothing changed, when the list is
  // empty, names a key that is not known, or a key already bound to another action.
  bool Bind(Action action, std::string_view list, std::string& why);
  // Leaves an action without keys, before the keys of several actions are bound anew.
  void Unbind(Action action) { keys_[static_cast<size_t>(action)].clear(); }
  // The keys of an action as one line for the preferences file.
  std::string ListOf(Action action) const;

  bool operator==(const KeyBindings&) const = default;

 private:
  std::array<std::vector<std::string>, kActionCount> keys_;
};

// The title screen's line of keys to know, in the game's style, naming the first key
// bound to each: "[F2] REPLAY   [F11] FULL SCREEN   [P] PAUSE".
std::string TitleHintLine(const KeyBindings& keys);

// Whether a key of this name can be bound (the arrows, letters, digits, F1..F12, the
// modifiers, Space, Enter, Tab, Pause, Insert ... End, Page Up and Down, Backspace).
// Escape cannot: it always ends the game.
bool IsBindableKey(std::string_view name);

}  // namespace kelto1
