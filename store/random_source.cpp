#include "store/random_source.h"

#include <random>

namespace velandri {

// Seeded once from the operating system. Its draws are 64 bits wide, so that one draw yields
// many of the small numbers the scrambling needs.
uint64_t randomBits() {
    static std::mt19937_64 generator{std::random_device{}()};
    return generator();
}

}  // namespace velandri
