#pragma once

#include <random>

// The program's one random generator, seeded once from the operating system.
std::mt19937& randomGenerator();
