#include "frontend/player_choices.h"

#include <algorithm>

#include "platform/window_elements.h"

namespace kelto1 {

KeyUse UseOfKey(const KeyBindings& keys, std::string_view key_name, bool typing) {
  KeyUse use;
  const std::optional<Action> action = keys.ActionOf(key_name);
  if (!action) return use;
  if (IsDriving(*action)) {
    use.kind = KeyUse::Kind::Driving;
    use.action = *action;
    use.virtual_key = VirtualKeyOf(*action);
    use.types = false;
    return use;
  }
  // A letter or digit goes on typing into the box being typed into.
  if (key_name.size() == 1 && typing) return use;
  use.kind = KeyUse::Kind::Own;
  use.action = *action;
  use.types = false;
  return use;
}

ChoiceChange ApplyAction(Preferences& p, Action action, bool full_screen_now) {
  ChoiceChange c;
  switch (action) {
    case Action::Mute:
      p.muted = !p.muted;
      c.note = p.muted ? "kelto1: sound off" : "kelto1: sound on";
      break;
    case Action::FullScreen:
      p.full_screen = !full_screen_now;
      break;
    case Action::Scaling:
      p.scaling = p.scaling == ScaleMode::Whole ? ScaleMode::Sharp : ScaleMode::Whole;
      break;
    case Action::Ghost:
      p.ghost = !p.ghost;
      c.note = p.ghost ? "kelto1: ghost shown" : "kelto1: ghost hidden";
      break;
    default:
      return c;
  }
  c.changed = true;
  return c;
}

bool VehicleMemory::Follow(Preferences& p, BoxTexts& texts) {
  const std::string& chosen = texts.BoxText(Element::CarSel);
  if (!offered_) {
    offered_ = true;
    first_ = chosen;
    if (!p.vehicle.empty() && chosen != p.vehicle) texts.BoxTyped(Element::CarSel, p.vehicle);
    return false;
  }
  // The game's own first choice is not a choice of the player's: nothing to write yet.
  if (p.vehicle.empty() && chosen == first_) return false;
  const bool item = std::any_of(kCarSelItems.begin(), kCarSelItems.end(), [&](const char* n) { return chosen == n; });
  if (!item || chosen == p.vehicle) return false;
  p.vehicle = chosen;
  return true;
}

std::string TitleLineFor(const std::string& told, const Preferences& p) {
  if (!told.empty()) return told;
  return p.title_hints ? TitleHintLine(p.keys) : std::string();
}

bool OverlayState::ShowPanel(std::vector<std::string> lines, int pick) {
  if (lines == panel_ && pick == pick_) return false;
  panel_ = std::move(lines);
  pick_ = pick;
  return true;
}

Overlay OverlayState::Now(bool race_paused, const Preferences& prefs) const {
  Overlay o;
  o.paused = race_paused || replay_paused_;
  o.title_line = TitleLineFor(told_, prefs);
  o.panel = panel_;
  o.panel_pick = pick_;
  return o;
}

}  // namespace kelto1
