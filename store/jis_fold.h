#pragma once

#include <QChar>
#include <cstdint>

namespace velandri {

// What the data file stores of a character. Linux input methods and web pages give seven JIS
// symbols as characters that code page 932 has no code for (〜 as U+301C, ‖, −, ¢, £, ¬, —);
// Japanese software writes them with the code of their code page 932 counterpart (～ U+FF5E,
// ∥, －, ￠, ￡, ￢, ―), and so does the data file.

// The code written for c: its code page 932 code, its counterpart's for the seven symbols, and
// "?" (63) for any other character without a code page 932 form.
int16_t storedCode(QChar c);

// The character a data file gives back for c.
QChar storedCharacter(QChar c);

}  // namespace velandri
