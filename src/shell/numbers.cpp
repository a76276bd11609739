// Range faults of the fixed-width fields.
#include "shell/numbers.h"

#include <cstdio>
#include <cstdlib>

namespace kelto1 {
namespace {
RangeFaultMode g_mode = RangeFaultMode::Abort;
long long g_count = 0;
RangeFaultRecord g_last;
}  // namespace

void SetRangeFaultMode(RangeFaultMode mode) { g_mode = mode; }
long long RangeFaultCount() { return g_count; }
RangeFaultRecord LastRangeFault() { return g_last; }

long long RangeFault(const char* type_name, long long value, long long lo, long long hi) {
  ++g_count;
  g_last = {type_name, value};
  if (g_mode == RangeFaultMode::Abort) {
    std::fprintf(stderr, "kelto1: range fault: %lld does not fit a %s field (%lld..%lld)\n", value, type_name,
                 lo, hi);
    std::abort();
  }
  if (g_count == 1)
    std::fprintf(stderr, "kelto1: a value left its range (%lld in a %s field) and was clamped\n", value, type_name);
  return value < lo ? lo : hi;
}

}  // namespace kelto1
