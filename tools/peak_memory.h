// The most memory the runner has held at once, for the benchmark's figures.
#pragma once

namespace kelto1 {

// The process's peak resident memory in KiB (its peak working set on Windows).
long PeakResidentKib();

}  // namespace kelto1
