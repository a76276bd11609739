// Crash debris clouds.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::SpawnWreckDebris() {}

void Kelto1::AnimateDebris() {}

}  // namespace kelto1
