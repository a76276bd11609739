// The runner's long modes: the random-input soak and the frame-cost benchmark.
#pragma once

#include <cstdint>

namespace kelto1 {

// Plays `frames` race frames with random driving, a new race whenever one ends; with
// `check`, verifies the game's ranges after every frame. Returns the exit code.
int RunSoak(uint64_t seed, long frames, bool check);
// Times whole frames of a busy race against the bare road copy and prints the figures.
int RunBench(long frames);

}  // namespace kelto1
