#pragma once

#include <cstdint>

namespace velandri {

// 64 uniformly random bits from the program's one generator.
uint64_t randomBits();

// A uniformly drawn whole number from 0 to bound - 1 (bound > 0), by Lemire's multiply-and-reject:
// the high half of bits * bound, drawn again in the rare case that the low half falls into the
// biased remainder. Inline, so that a constant bound's remainder is worked out by the compiler:
// the scrambling draws one for every 27 characters of the data file.
inline uint64_t randomBelow(uint64_t bound) {
    unsigned __int128 product = static_cast<unsigned __int128>(randomBits()) * bound;
    if (static_cast<uint64_t>(product) < bound) {
        const uint64_t threshold = (0 - bound) % bound;
        while (static_cast<uint64_t>(product) < threshold)
            product = static_cast<unsigned __int128>(randomBits()) * bound;
    }
    return static_cast<uint64_t>(product >> 64);
}

}  // namespace velandri
