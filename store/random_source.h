#pragma once

#include <cstdint>
#include <random>

// The program's one random generator, seeded once from the operating system.
std::mt19937& randomGenerator();

// A uniformly drawn whole number from 0 to bound - 1 (bound > 0), without a division on the
// common path: the scrambling draws one for every thirteen characters of the data file.
uint32_t randomBelow(uint32_t bound);
