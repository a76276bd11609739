// The road scroller: one new tile row at the top of the road.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::ScrollCourse() {}

}  // namespace kelto1
