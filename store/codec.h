#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

namespace velandri {

// The scrambling codec of the data file. Its plain alphabet has 13 symbols: "0" to "9", "-",
// "空" (end of a character code) and "改" (end of a field); each symbol is written as one of
// the five characters of its group, drawn at random.

inline constexpr QChar kCodeEnd = u'空';
inline constexpr QChar kFieldEnd = u'改';

// One scrambled character for a one-character symbol; empty for anything else.
QString encodeChar(const QString& symbol);
// The symbol whose group holds the one-character argument; empty for anything else.
QString decodeChar(const QString& scrambled);

// The same on single characters: 0 when symbol is none of the 13 symbols.
char encodeSymbol(QChar symbol);
// A null QChar when c stands in no group.
QChar decodeSymbol(char c);

// The plain symbols by index, as the line is built and read: 0 to 9 the digits, then "-",
// "空" and "改".
inline constexpr uint8_t kMinusSymbol = 10;
inline constexpr uint8_t kCodeEndSymbol = 11;
inline constexpr uint8_t kFieldEndSymbol = 12;

inline constexpr uint8_t kNoSymbol = 0xFF;

// The symbol index of every byte; kNoSymbol for a byte that stands in no group.
extern const std::array<uint8_t, 256> kSymbolOfScrambled;
inline uint8_t symbolOf(char scrambled) {
    return kSymbolOfScrambled[static_cast<unsigned char>(scrambled)];
}

// A scrambled character for every symbol index (each below 13).
QByteArray scrambleSymbols(QByteArrayView symbols);
// The symbol index of every scrambled character, characters outside the table dropped.
QByteArray unscrambleSymbols(QByteArrayView scrambled);
// The plain characters of symbol indexes.
QString symbolText(QByteArrayView symbols);

// encodeSymbol for every character of a plain text, the others dropped.
QByteArray encodeSymbols(QStringView plain);
// decodeSymbol for every character, characters outside the table dropped.
QString decodeSymbols(QByteArrayView scrambled);

}  // namespace velandri
