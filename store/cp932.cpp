#include "store/cp932.h"

#include "store/text_tables.h"

int16_t cp932Code(QChar c) { return kCp932CodeOfUnit[c.unicode()]; }

QChar cp932Character(uint16_t code) { return QChar(kCp932CharacterOfCode[code]); }
