// The player against traffic, and the damage reaction of a frame.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::CollideWithTraffic() {}

void Kelto1::ReactToDamage() {}

}  // namespace kelto1
