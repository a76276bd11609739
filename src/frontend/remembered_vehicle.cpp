#include "frontend/remembered_vehicle.h"

#include <algorithm>

#include "platform/window_elements.h"

namespace kelto1 {

bool RememberedVehicle::Follow(BoxTexts& texts, std::string& remembered) {
  const std::string& chosen = texts.BoxText(Element::CarSel);
  if (!offered_) {
    offered_ = true;
    first_ = chosen;
    if (!remembered.empty() && chosen != remembered) texts.BoxTyped(Element::CarSel, remembered);
    return false;
  }
  if (remembered.empty() && chosen == first_) return false;
  const bool item = std::any_of(kCarSelItems.begin(), kCarSelItems.end(), [&](const char* n) { return chosen == n; });
  if (!item || chosen == remembered) return false;
  remembered = chosen;
  return true;
}

}  // namespace kelto1
