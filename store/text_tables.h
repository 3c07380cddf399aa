#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace velandri {

// Constant tables generated at build time from ICU by tools/make_text_tables.cpp, so that the
// program reads them instead of loading ICU's converter and transliterator at run time.

// The signed code page 932 code of every UTF-16 unit, as cp932Code returns it.
extern const std::array<int16_t, 0x10000> kCp932CodeOfUnit;
// The character of every code 0 to 65535, as cp932Character returns it.
extern const std::array<char16_t, 0x10000> kCp932CharacterOfCode;

// The full-width folding: two-unit sequences that fold to one unit (a half-width katakana and
// its voiced mark), sorted by first then second unit, ahead of the one-unit folds, sorted by
// source unit. Every other unit stays as it is.
struct WidePair {
    char16_t first;
    char16_t second;
    char16_t folded;
};
struct WideUnit {
    char16_t source;
    char16_t folded;
};
extern const std::span<const WidePair> kWidePairs;
extern const std::span<const WideUnit> kWideUnits;

}  // namespace velandri
