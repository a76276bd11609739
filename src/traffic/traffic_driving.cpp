// Traffic driving: every traffic vehicle for one frame.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::MoveTraffic() {}

}  // namespace kelto1
