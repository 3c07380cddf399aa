#pragma once

#include <QChar>
#include <cstdint>

#include "store/text_tables.h"

namespace velandri {

// Code page 932 (Shift-JIS) codes as the data file keeps them: a one-byte character gives its
// byte (0 to 255), a two-byte character with lead byte L and trail byte T gives L * 256 + T
// taken as a signed 16-bit number, which is always negative.

// The code of c; "?" (63) when c has no code page 932 form (a surrogate half has none).
inline int16_t cp932Code(QChar c) { return kCp932CodeOfUnit[c.unicode()]; }

// The character of a code taken as 0 to 65535 (the non-negative remainder of a signed code);
// "?" when the code stands for no character.
inline QChar cp932Character(uint16_t code) { return QChar(kCp932CharacterOfCode[code]); }

}  // namespace velandri
