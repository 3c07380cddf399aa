#include "store/random_source.h"

std::mt19937& randomGenerator() {
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

// Lemire's multiply-and-reject: the high half of draw * bound, redrawn in the rare case that
// the low half falls into the biased remainder.
uint32_t randomBelow(uint32_t bound) {
    std::mt19937& generator = randomGenerator();
    uint64_t product = static_cast<uint64_t>(generator()) * bound;
    if (static_cast<uint32_t>(product) < bound) {
        const uint32_t threshold = (0u - bound) % bound;
        while (static_cast<uint32_t>(product) < threshold)
            product = static_cast<uint64_t>(generator()) * bound;
    }
    return static_cast<uint32_t>(product >> 32);
}
