#include "app/logic/list_line.h"

#include <gtest/gtest.h>

#include "fakes/qt_printers.h"

using namespace velandri;

namespace {

UrlEntry entry(const QString& number, const QString& title, const QString& content) {
    return UrlEntry{number, title, QStringLiteral("http://x/"), content};
}

QString blanks(int count) { return QString(count, u' '); }

struct NumberRow {
    const char* name;
    QString number;
    QString shown;
};

// clang-format off
const NumberRow kNumberRows[] = {
    {"1 gets two blanks", "1", "  1"},
    {"10 gets one blank", "10", " 10"},
    {"100 as it is", "100", "100"},
    {"empty shows nothing", "", ""},
    {"longer as it is", "1000", "1000"},
};
// clang-format on

TEST(ListLine, NumberColumn) {
    for (const auto& [name, number, shown] : kNumberRows) {
        EXPECT_EQ(numberColumn(number), shown) << name;
    }
}

TEST(ListLine, LineOfEntriesTypedSinceStart) {
    EXPECT_EQ(listLine(entry("1", "abc", "")),
              "  1 : ａｂｃ" + blanks(12) + blanks(2) + blanks(15));
    EXPECT_EQ(listLine(entry("", "x", "y")), " : ｘ" + blanks(14) + "  ｙ" + blanks(14));
}

TEST(ListLine, HalfWidthIsFoldedToFullWidth) {
    EXPECT_EQ(textColumn("A1 !"), "Ａ１\u3000！" + blanks(11));
    EXPECT_EQ(textColumn("ｶﾞｲﾄﾞ"), "ガイド" + blanks(12));
    EXPECT_EQ(textColumn("日本語"), "日本語" + blanks(12));
}

TEST(ListLine, LoadedFillIsKept) {
    const QString loaded = "ab" + QString(13, u'\u3000');
    EXPECT_EQ(textColumn(loaded), "ａｂ" + QString(13, u'\u3000'));
    EXPECT_EQ(textColumn(QString(15, u'\u3000')), QString(15, u'\u3000'));
}

TEST(ListLine, LongTextIsShownWhole) {
    EXPECT_EQ(textColumn("0123456789abcdef"), "０１２３４５６７８９ａｂｃｄｅｆ");
    EXPECT_EQ(textColumn("exactly15chars!").size(), 15);
    const QString huge(2'000'000, u'x');
    EXPECT_EQ(textColumn(huge), QString(128, u'ｘ'));
}

}  // namespace
