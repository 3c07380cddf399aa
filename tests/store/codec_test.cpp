#include "store/codec.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QSet>
#include <QString>
#include <random>

#include "store/store_checks.h"

using namespace velandri;

namespace {

const QString kSymbols = QStringLiteral("0123456789-空改");
const QString kTableCharacters =
    QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/-");

TEST(Codec, EveryTableCharacterDecodesAndEachSymbolOwnsFive) {
    QMap<QString, QSet<QChar>> groups;
    for (QChar c : kTableCharacters) {
        const QString symbol = decodeChar(QString(c));
        ASSERT_EQ(symbol.size(), 1) << "character " << QString(c).toStdString();
        ASSERT_TRUE(kSymbols.contains(symbol[0]));
        groups[symbol].insert(c);
    }
    ASSERT_EQ(groups.size(), 13);
    for (const QSet<QChar>& group : groups) EXPECT_EQ(group.size(), 5);
}

TEST(Codec, EncodingDrawsAllFivePositionsAndAlwaysDecodesBack) {
    for (QChar symbol : kSymbols) {
        QSet<QString> drawn;
        for (int draw = 0; draw < 300; ++draw) {
            const QString scrambled = encodeChar(QString(symbol));
            ASSERT_EQ(scrambled.size(), 1);
            ASSERT_TRUE(kTableCharacters.contains(scrambled));
            ASSERT_EQ(decodeChar(scrambled), QString(symbol));
            drawn.insert(scrambled);
        }
        EXPECT_EQ(drawn.size(), 5) << "symbol " << QString(symbol).toStdString();
    }
}

TEST(Codec, WholeTextsScrambleWithEveryPositionAndDecodeBack) {
    const QString plain = kSymbols.repeated(400);
    const QByteArray scrambled = encodeSymbols(plain + QStringLiteral("x,あ"));
    ASSERT_EQ(scrambled.size(), plain.size());
    EXPECT_EQ(decodeSymbols(scrambled), plain);
    EXPECT_EQ(QSet<char>(scrambled.begin(), scrambled.end()).size(), 65);
    EXPECT_NE(encodeSymbols(plain), scrambled);
    EXPECT_EQ(decodeSymbols(",\"* \r\n\xc3\xa9" + scrambled.left(5)), plain.left(5));
}

// One random draw serves 27 symbols in a row: each place in such a run must vary on its own.
TEST(Codec, EveryPlaceOfADrawVaries) {
    constexpr int kDrawSize = 27;
    const QByteArray scrambled = encodeSymbols(QString(kDrawSize * 300, u'0'));
    ASSERT_EQ(scrambled.size(), kDrawSize * 300);
    for (int place = 0; place < kDrawSize; ++place) {
        QSet<char> drawn;
        for (qsizetype i = place; i < scrambled.size(); i += kDrawSize) drawn.insert(scrambled[i]);
        EXPECT_EQ(drawn.size(), 5) << "place " << place;
    }
}

TEST(Codec, SymbolIndexesOfAnyLengthScrambleAndComeBack) {
    std::mt19937 random(5);
    for (int length : {0, 1, 26, 27, 28, 53, 54, 55, 1000}) {
        QByteArray symbols(length, Qt::Uninitialized);
        for (char& symbol : symbols) symbol = static_cast<char>(random() % 13);
        const QByteArray scrambled = scrambleSymbols(symbols);
        ASSERT_EQ(scrambled.size(), length);
        EXPECT_EQ(unscrambleSymbols(scrambled), symbols) << "length " << length;
        EXPECT_EQ(symbolText(symbols), decodeSymbols(scrambled)) << "length " << length;
    }
}

TEST(Codec, AnythingElseGivesTheEmptyText) {
    for (const QString& outside :
         {QStringLiteral(","), QStringLiteral("\""), QStringLiteral(" "), QStringLiteral("\t"),
          QStringLiteral("\n"), QStringLiteral("\r"), QStringLiteral("é"), QStringLiteral("*"),
          QStringLiteral("空"), QStringLiteral("AB"), QString()})
        EXPECT_EQ(decodeChar(outside), QString()) << outside.toStdString();
    for (const QString& plain :
         {QStringLiteral("x"), QStringLiteral("A"), QStringLiteral(" "), QStringLiteral("+"),
          QStringLiteral("00"), QStringLiteral("空改"), QString()})
        EXPECT_EQ(encodeChar(plain), QString()) << plain.toStdString();
}

}  // namespace
