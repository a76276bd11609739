// What the player's keys and remembered choices do, the same in every desktop edition:
// whether a key is one of the front end's own, one of the car's or one for the title
// screen's boxes; what each of the front end's actions changes in the remembered choices;
// the vehicle offered and remembered; and the dim line under the title screen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frontend/key_bindings.h"
#include "frontend/preferences.h"
#include "frontend/screen_picture.h"
#include "platform/shown_window.h"

namespace kelto1 {

// What a key is for.
struct KeyUse {
  enum class Kind : unsigned char {
    Own,      // one of the front end's actions (pause, mute, ...): nothing else sees it
    Driving,  // the car's: the game sees it as its own key, and it never types
    Plain,    // the key itself, for the game and the boxes
  };
  Kind kind = Kind::Plain;
  Action action = Action::Count;  // Own and Driving
  int virtual_key = -1;           // Driving: the key the game asks about
  bool types = true;              // the character it makes may go into a box

  bool operator==(const KeyUse&) const = default;
};

// The use of the key of this name (as the preferences file names keys). typing: a box
// of the title screen has the keyboard, so a letter or digit bound to an action of the
// front end's types instead.
KeyUse UseOfKey(const KeyBindings& keys, std::string_view key_name, bool typing);

// What one of the front end's actions did to the remembered choices.
struct ChoiceChange {
  bool changed = false;  // to be written to the preferences file
  std::string note;      // a line for the player, or empty
};
// Carries out an action on the choices (mute, full screen, scaling, ghost); the others
// (pause, the screenshot, the car's) change nothing. full_screen_now: whether the window
// fills the screen now, as the new choice is the other way.
ChoiceChange ApplyAction(Preferences& prefs, Action action, bool full_screen_now);

// The vehicle remembered: offered in the selector once, when the game first shows it,
// and a different item chosen afterwards becomes the one remembered.
class VehicleMemory {
 public:
  // Between the game's ticks. True when the remembered vehicle changed.
  bool Follow(Preferences& prefs, BoxTexts& texts);
  // A new game (the page starts one after Escape): the remembered vehicle is offered to
  // it again.
  void Reset() { offered_ = false; }

 private:
  bool offered_ = false;
  std::string first_;  // the selector's text when the game first showed it
};

// The dim line under the title screen's texts: what a replay told, else the keys to know
// until the player has run a race, else none.
std::string TitleLineFor(const std::string& told, const Preferences& prefs);

// What a window shows over the game's picture besides the game's own: PAUSED, the line
// under the title, the records table.
class OverlayState {
 public:
  // The table's lines, the first a heading, the line picked highlighted; no lines: none.
  // True when that changes what is shown.
  bool ShowPanel(std::vector<std::string> lines, int pick);
  // A replay being watched was paused or resumed.
  void ShowReplayPaused(bool paused) { replay_paused_ = paused; }
  // How a replay went, under the title until the next race begins.
  void ShowTitleLine(const std::string& line) { told_ = line; }
  void RaceBegun() { told_.clear(); }
  // While the table shows, no key types into the title screen's boxes.
  bool panel_shown() const { return !panel_.empty(); }
  // All of it as it is to be drawn now, the race paused or not.
  Overlay Now(bool race_paused, const Preferences& prefs) const;

 private:
  bool replay_paused_ = false;
  std::string told_;
  std::vector<std::string> panel_;
  int pick_ = -1;
};

}  // namespace kelto1
