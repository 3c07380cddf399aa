#include "store/codec.h"

#include <array>
#include <random>
#include <string_view>

#include "store/random_source.h"

namespace {

constexpr int kGroupSize = 5;

// The plain symbols and, in the same order, their groups of scrambled characters.
constexpr std::u16string_view kSymbols = u"0123456789-空改";
constexpr std::array<std::string_view, kSymbols.size()> kGroups = {
    "LCdWk", "HhGr5", "Kcgjq", "R0SD1", "tnv3z", "X9xaE", "wQfeY",
    "Py/Ib", "ZMAOo", "ui+6U", "lm2BF", "4-Vp8", "Js7NT",
};

constexpr std::array<char16_t, 256> buildDecodeTable() {
    std::array<char16_t, 256> table{};
    for (std::size_t symbol = 0; symbol < kSymbols.size(); ++symbol)
        for (char c : kGroups[symbol]) table[static_cast<unsigned char>(c)] = kSymbols[symbol];
    return table;
}

constexpr std::array<char16_t, 256> kDecodeTable = buildDecodeTable();

int symbolIndex(QChar symbol) {
    const char16_t unit = symbol.unicode();
    if (unit >= u'0' && unit <= u'9') return unit - u'0';
    const std::size_t found = kSymbols.find(unit, 10);
    return found == std::u16string_view::npos ? -1 : static_cast<int>(found);
}

int randomPosition() {
    static std::uniform_int_distribution<int> positions(0, kGroupSize - 1);
    return positions(randomGenerator());
}

}  // namespace

char encodeSymbol(QChar symbol) {
    const int index = symbolIndex(symbol);
    return index < 0 ? 0 : kGroups[index][randomPosition()];
}

QChar decodeSymbol(char c) { return QChar(kDecodeTable[static_cast<unsigned char>(c)]); }

QString encodeChar(const QString& symbol) {
    if (symbol.size() != 1) return {};
    const char c = encodeSymbol(symbol[0]);
    return c == 0 ? QString() : QString(QChar::fromLatin1(c));
}

QString decodeChar(const QString& scrambled) {
    if (scrambled.size() != 1 || scrambled[0].unicode() > 0xFF) return {};
    const QChar symbol = decodeSymbol(static_cast<char>(scrambled[0].unicode()));
    return symbol.isNull() ? QString() : QString(symbol);
}
