// Range faults of the fixed-width fields.
#include "shell/numbers.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace kelto1 {
namespace {
// A ghost's race runs on a thread of its own beside the player's, so both may come here.
std::atomic<RangeFaultMode> g_mode{RangeFaultMode::Abort};
std::atomic<long long> g_count{0};
std::mutex g_last_lock;
RangeFaultRecord g_last;
}  // namespace

void SetRangeFaultMode(RangeFaultMode mode) { g_mode = mode; }
long long RangeFaultCount() { return g_count; }
RangeFaultRecord LastRangeFault() {
  std::lock_guard<std::mutex> hold(g_last_lock);
  return g_last;
}

long long RangeFault(const char* type_name, long long value, long long lo, long long hi) {
  const long long count = ++g_count;
  {
    std::lock_guard<std::mutex> hold(g_last_lock);
    g_last = {type_name, value};
  }
  if (g_mode == RangeFaultMode::Abort) {
    std::fprintf(stderr, "kelto1: range fault: %lld does not fit a %s field (%lld..%lld)\n", value, type_name,
                 lo, hi);
    std::abort();
  }
  if (count == 1)
    std::fprintf(stderr, "kelto1: a value left its range (%lld in a %s field) and was clamped\n", value, type_name);
  return value < lo ? lo : hi;
}

}  // namespace kelto1
