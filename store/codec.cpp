#include "store/codec.h"

#include <array>
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

// Every group holds five characters and no character stands twice in the table.
constexpr bool tableIsSound() {
    std::array<int, 256> seen{};
    for (std::string_view group : kGroups) {
        if (group.size() != kGroupSize) return false;
        for (char c : group)
            if (seen[static_cast<unsigned char>(c)]++ != 0) return false;
    }
    return true;
}
static_assert(tableIsSound());

constexpr std::array<char16_t, 256> buildDecodeTable() {
    std::array<char16_t, 256> table{};
    for (std::size_t symbol = 0; symbol < kSymbols.size(); ++symbol)
        for (char c : kGroups[symbol]) table[static_cast<unsigned char>(c)] = kSymbols[symbol];
    return table;
}

constexpr std::array<char16_t, 256> kDecodeTable = buildDecodeTable();

constexpr int kAsciiCount = 128;

// Symbol indexes of the ASCII symbols, -1 for any other ASCII character.
constexpr std::array<int8_t, kAsciiCount> buildAsciiIndex() {
    std::array<int8_t, kAsciiCount> index{};
    index.fill(-1);
    for (std::size_t symbol = 0; symbol < kSymbols.size(); ++symbol)
        if (kSymbols[symbol] < kAsciiCount) index[kSymbols[symbol]] = static_cast<int8_t>(symbol);
    return index;
}

constexpr std::array<int8_t, kAsciiCount> kAsciiIndex = buildAsciiIndex();

int symbolIndex(QChar symbol) {
    const char16_t unit = symbol.unicode();
    if (unit < kAsciiCount) return kAsciiIndex[unit];
    const std::size_t found = kSymbols.find(unit);
    return found == std::u16string_view::npos ? -1 : static_cast<int>(found);
}

}  // namespace

char encodeSymbol(QChar symbol) {
    const int index = symbolIndex(symbol);
    return index < 0 ? 0 : kGroups[index][randomBelow(kGroupSize)];
}

QChar decodeSymbol(char c) { return QChar(kDecodeTable[static_cast<unsigned char>(c)]); }

QByteArray encodeSymbols(QStringView plain) {
    // One 32-bit draw below 5^13 gives thirteen independent positions, its base-5 digits.
    constexpr int kPositionsPerDraw = 13;
    constexpr uint32_t kDrawBound = 1220703125;
    QByteArray out(plain.size(), Qt::Uninitialized);
    char* next = out.data();
    uint32_t positions = 0;
    int left = 0;
    for (QChar symbol : plain) {
        const int index = symbolIndex(symbol);
        if (index < 0) continue;
        if (left == 0) {
            positions = randomBelow(kDrawBound);
            left = kPositionsPerDraw;
        }
        *next++ = kGroups[index][positions % kGroupSize];
        positions /= kGroupSize;
        --left;
    }
    out.truncate(next - out.data());
    return out;
}

QString decodeSymbols(QByteArrayView scrambled) {
    QString out(scrambled.size(), Qt::Uninitialized);
    QChar* next = out.data();
    for (char c : scrambled)
        if (const char16_t symbol = kDecodeTable[static_cast<unsigned char>(c)]; symbol != 0)
            *next++ = QChar(symbol);
    out.truncate(next - out.data());
    return out;
}

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
