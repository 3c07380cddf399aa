#include "store/random_source.h"

#include <random>

namespace velandri {

namespace {

// The program's one random generator, seeded once from the operating system. Its draws are 64
// bits wide, so that one draw yields many of the small numbers the scrambling needs.
std::mt19937_64& randomGenerator() {
    static std::mt19937_64 generator{std::random_device{}()};
    return generator;
}

}  // namespace

// Lemire's multiply-and-reject: the high half of draw * bound, redrawn in the rare case that
// the low half falls into the biased remainder.
uint64_t randomBelow(uint64_t bound) {
    std::mt19937_64& generator = randomGenerator();
    unsigned __int128 product = static_cast<unsigned __int128>(generator()) * bound;
    if (static_cast<uint64_t>(product) < bound) {
        const uint64_t threshold = (0 - bound) % bound;
        while (static_cast<uint64_t>(product) < threshold)
            product = static_cast<unsigned __int128>(generator()) * bound;
    }
    return static_cast<uint64_t>(product >> 64);
}

}  // namespace velandri
