// Spawning traffic and putting rivals on the road.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::SpawnTraffic() {}

}  // namespace kelto1
