// Pick-up items riding on traffic.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::CollectPickups() {}

}  // namespace kelto1
