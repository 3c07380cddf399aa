#pragma once

#include <cstdint>
#include <random>

namespace velandri {

// The program's one random generator, seeded once from the operating system. Its draws are 64
// bits wide, so that one draw yields many of the small numbers the scrambling needs.
std::mt19937_64& randomGenerator();

// A uniformly drawn whole number from 0 to bound - 1 (bound > 0), without a division on the
// common path: the scrambling draws one for every 27 characters of the data file.
uint64_t randomBelow(uint64_t bound);

}  // namespace velandri
