#include "store/codec.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "store/random_source.h"

namespace velandri {

namespace {

constexpr int kGroupSize = 5;

// The plain symbols and, in the same order, their groups of scrambled characters.
constexpr std::u16string_view kSymbols = u"0123456789-空改";
constexpr std::array<std::string_view, kSymbols.size()> kGroups = {
    "LCdWk", "HhGr5", "Kcgjq", "R0SD1", "tnv3z", "X9xaE", "wQfeY",
    "Py/Ib", "ZMAOo", "ui+6U", "lm2BF", "4-Vp8", "Js7NT",
};

static_assert(kSymbols[kMinusSymbol] == u'-' && kSymbols[kCodeEndSymbol] == kCodeEnd &&
              kSymbols[kFieldEndSymbol] == kFieldEnd);

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

// The groups one after another: symbol s at position p is written as entry s * 5 + p.
constexpr std::array<char, kSymbols.size() * kGroupSize> buildScrambleTable() {
    std::array<char, kSymbols.size() * kGroupSize> table{};
    for (std::size_t symbol = 0; symbol < kSymbols.size(); ++symbol)
        for (int position = 0; position < kGroupSize; ++position)
            table[symbol * kGroupSize + position] = kGroups[symbol][position];
    return table;
}

constexpr auto kScrambleTable = buildScrambleTable();

constexpr std::array<uint8_t, 256> buildUnscrambleTable() {
    std::array<uint8_t, 256> table{};
    table.fill(kNoSymbol);
    for (std::size_t symbol = 0; symbol < kSymbols.size(); ++symbol)
        for (char c : kGroups[symbol])
            table[static_cast<unsigned char>(c)] = static_cast<uint8_t>(symbol);
    return table;
}

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

// One 64-bit draw below 5^27 gives 27 independent positions, its base-5 digits, taken four at
// a time from a table of the 625 four-digit combinations.
constexpr int kPositionsPerDraw = 27;
constexpr uint64_t kDrawBound = 7450580596923828125u;
constexpr uint64_t kFourDigitCount = 625;
using FourPositions = std::array<uint8_t, 4>;
using DrawnPositions = std::array<uint8_t, 28>;  // the last one is not used

constexpr std::array<FourPositions, kFourDigitCount> buildFourPositions() {
    std::array<FourPositions, kFourDigitCount> table{};
    for (uint32_t value = 0; value < kFourDigitCount; ++value)
        for (uint32_t digit = 0, rest = value; digit < 4; ++digit, rest /= kGroupSize)
            table[value][digit] = static_cast<uint8_t>(rest % kGroupSize);
    return table;
}

constexpr auto kFourPositions = buildFourPositions();

constexpr bool drawBoundIsFivePower() {
    uint64_t power = 1;
    for (int i = 0; i < kPositionsPerDraw; ++i) power *= kGroupSize;
    return power == kDrawBound;
}
static_assert(drawBoundIsFivePower());

DrawnPositions drawPositions() {
    uint64_t draw = randomBelow(kDrawBound);
    DrawnPositions positions;
    for (auto four = positions.begin(); four != positions.end(); four += 4) {
        const FourPositions& digits = kFourPositions[draw % kFourDigitCount];
        std::copy(digits.begin(), digits.end(), four);
        draw /= kFourDigitCount;
    }
    return positions;
}

// Up to 27 symbols on the positions of one draw.
void scrambleDraw(const uint8_t* symbols, char* out, int count) {
    if (count == 0) return;
    const DrawnPositions positions = drawPositions();
    for (int i = 0; i < count; ++i) out[i] = kScrambleTable[symbols[i] * kGroupSize + positions[i]];
}

// The same for a whole draw, unrolled: the loop's own counting would cost as much as its work.
void scrambleWholeDraw(const uint8_t* symbols, char* out) {
    const DrawnPositions positions = drawPositions();
#pragma GCC unroll 27
    for (int i = 0; i < kPositionsPerDraw; ++i)
        out[i] = kScrambleTable[symbols[i] * kGroupSize + positions[i]];
}

}  // namespace

constinit const std::array<uint8_t, 256> kSymbolOfScrambled = buildUnscrambleTable();

char encodeSymbol(QChar symbol) {
    const int index = symbolIndex(symbol);
    return index < 0 ? 0 : kGroups[index][randomBelow(kGroupSize)];
}

QChar decodeSymbol(char c) {
    const uint8_t symbol = symbolOf(c);
    return symbol == kNoSymbol ? QChar() : QChar(kSymbols[symbol]);
}

QByteArray scrambleSymbols(QByteArrayView symbols) {
    QByteArray out(symbols.size(), Qt::Uninitialized);
    const auto* symbol = reinterpret_cast<const uint8_t*>(symbols.data());
    char* next = out.data();
    const qsizetype wholeDraws = symbols.size() / kPositionsPerDraw;
    for (qsizetype draw = 0; draw < wholeDraws; ++draw) {
        scrambleWholeDraw(symbol, next);
        symbol += kPositionsPerDraw;
        next += kPositionsPerDraw;
    }
    scrambleDraw(symbol, next, static_cast<int>(symbols.size() % kPositionsPerDraw));
    return out;
}

QByteArray unscrambleSymbols(QByteArrayView scrambled) {
    QByteArray out(scrambled.size(), Qt::Uninitialized);
    char* next = out.data();
    // Written always, kept only when it is a symbol: no branch to mispredict.
    for (char c : scrambled) {
        const uint8_t symbol = symbolOf(c);
        *next = static_cast<char>(symbol);
        next += symbol != kNoSymbol;
    }
    out.truncate(next - out.data());
    return out;
}

QString symbolText(QByteArrayView symbols) {
    QString out(symbols.size(), Qt::Uninitialized);
    QChar* next = out.data();
    for (char symbol : symbols) *next++ = QChar(kSymbols[static_cast<uint8_t>(symbol)]);
    return out;
}

QByteArray encodeSymbols(QStringView plain) {
    QByteArray symbols(plain.size(), Qt::Uninitialized);
    char* next = symbols.data();
    for (QChar c : plain)
        if (const int index = symbolIndex(c); index >= 0) *next++ = static_cast<char>(index);
    symbols.truncate(next - symbols.data());
    return scrambleSymbols(symbols);
}

QString decodeSymbols(QByteArrayView scrambled) { return symbolText(unscrambleSymbols(scrambled)); }

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

}  // namespace velandri
