#pragma once

#include <QChar>

// Linux input methods and web pages give seven JIS symbols as characters that code page 932
// has no code for (〜 as U+301C, ‖, −, ¢, £, ¬, —); Japanese software writes them with the code
// of their code page 932 counterpart (～ U+FF5E, ∥, －, ￠, ￡, ￢, ―). Returns that
// counterpart for these seven and c itself for any other character.
QChar foldToCp932(QChar c);
