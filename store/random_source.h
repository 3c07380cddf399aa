#pragma once

#include <cstdint>

namespace velandri {

// A uniformly drawn whole number from 0 to bound - 1 (bound > 0), without a division on the
// common path: the scrambling draws one for every 27 characters of the data file.
uint64_t randomBelow(uint64_t bound);

}  // namespace velandri
