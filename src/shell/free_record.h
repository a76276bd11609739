// Taking a free record: traffic, pick-ups, debris and signals each take the first record
// of their table whose Active is 0.
#pragma once

#include "shell/kelto1.h"

namespace kelto1 {

// The first record of first..last whose Active is 0; -1 when every one is busy.
template <class Records>
int FirstFreeRecord(const Records& records, int first, int last) {
  for (int k = first; k <= last; ++k)
    if (records[k].Active == 0) return k;
  return -1;
}

// The same search through the shared flag SlotFound (1 when a record was found), as
// vehicles, pick-ups and debris are claimed; signals are found without it.
template <class Records>
int ClaimFreeRecord(Kelto1& g, const Records& records, int first, int last) {
  const int k = FirstFreeRecord(records, first, last);
  g.course.SlotFound = k >= 0 ? 1 : 0;
  return k;
}

}  // namespace kelto1
