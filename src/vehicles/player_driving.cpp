// The player's driving: controls, dynamics, scrolling and the speed readout.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::DrivePlayer() {}

}  // namespace kelto1
