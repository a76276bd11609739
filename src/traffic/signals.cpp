// Traffic signals and the cross traffic they send.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::UpdateSignals() {}

}  // namespace kelto1
