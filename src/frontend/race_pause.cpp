// Pausing a race.
#include "frontend/race_pause.h"

namespace kelto1 {

void RacePause::Press(int virtual_key) {
  if (!clock_.paused()) keys_.Press(virtual_key);
}

}  // namespace kelto1
