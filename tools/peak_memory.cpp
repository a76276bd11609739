#include "peak_memory.h"

#ifdef _WIN32
#define PSAPI_VERSION 2  // the query from KERNEL32 itself, no PSAPI.DLL
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace kelto1 {

long PeakResidentKib() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS memory{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) return 0;
  return static_cast<long>(memory.PeakWorkingSetSize / 1024);
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

}  // namespace kelto1
