#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

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

// encodeSymbol for every character of a plain text, the others dropped.
QByteArray encodeSymbols(QStringView plain);
// decodeSymbol for every character, characters outside the table dropped.
QString decodeSymbols(QByteArrayView scrambled);
