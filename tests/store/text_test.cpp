#include "store/text.h"

#include <gtest/gtest.h>

#include "store/store_checks.h"

using namespace velandri;

namespace {

TEST(Text, TrimRemovesOnlyBothSpaces) {
    EXPECT_EQ(trim(QStringLiteral(" \u3000 a b\u3000c \u3000")), QStringLiteral("a b\u3000c"));
    EXPECT_EQ(trim(QStringLiteral("\ta\n")), QStringLiteral("\ta\n"));
    EXPECT_EQ(trim(QStringLiteral("\u3000\u3000 ")), QString());
    EXPECT_EQ(trim(QStringLiteral("\u00a0x\u2003")), QStringLiteral("\u00a0x\u2003"));
    EXPECT_TRUE(isBlank(QStringLiteral(" \u3000")));
    EXPECT_TRUE(isBlank(QString()));
    EXPECT_FALSE(isBlank(QStringLiteral(" \t ")));
}

TEST(Text, WideFoldsAsciiBlankAndHalfWidthKatakana) {
    EXPECT_EQ(wide(QStringLiteral("abc")), QStringLiteral("ａｂｃ"));
    EXPECT_EQ(wide(QStringLiteral("A1!")), QStringLiteral("Ａ１！"));
    EXPECT_EQ(wide(QStringLiteral(" ")), QStringLiteral("\u3000"));
    EXPECT_EQ(wide(QStringLiteral("ｶﾞｷﾞｱ")), QStringLiteral("ガギア"));
    EXPECT_EQ(wide(QStringLiteral("ﾊﾟｿｺﾝ")), QStringLiteral("パソコン"));
    EXPECT_EQ(wide(QStringLiteral("日本語ひらがな")), QStringLiteral("日本語ひらがな"));
    EXPECT_EQ(wide(QString()), QString());
}

}  // namespace
