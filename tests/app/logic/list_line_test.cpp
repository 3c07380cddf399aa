#include <QTest>

#include "app/logic/list_line.h"

using namespace velandri;

namespace {

UrlEntry entry(const QString& number, const QString& title, const QString& content) {
    return UrlEntry{number, title, QStringLiteral("http://x/"), content};
}

QString blanks(int count) { return QString(count, u' '); }

}  // namespace

class ListLineTest : public QObject {
    Q_OBJECT

private slots:
    void numberColumn_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1 gets two blanks") << "1"
                                           << "  1";
        QTest::newRow("10 gets one blank") << "10"
                                           << " 10";
        QTest::newRow("100 as it is") << "100"
                                      << "100";
        QTest::newRow("empty shows nothing") << ""
                                             << "";
        QTest::newRow("longer as it is") << "1000"
                                         << "1000";
    }
    void numberColumn() {
        QFETCH(QString, number);
        QFETCH(QString, shown);
        QCOMPARE(::numberColumn(number), shown);
    }

    void lineOfEntriesTypedSinceStart() {
        QCOMPARE(listLine(entry("1", "abc", "")),
                 "  1 : ａｂｃ" + blanks(12) + blanks(2) + blanks(15));
        QCOMPARE(listLine(entry("", "x", "y")), " : ｘ" + blanks(14) + "  ｙ" + blanks(14));
    }

    void halfWidthIsFoldedToFullWidth() {
        QCOMPARE(textColumn("A1 !"), "Ａ１\u3000！" + blanks(11));
        QCOMPARE(textColumn("ｶﾞｲﾄﾞ"), "ガイド" + blanks(12));
        QCOMPARE(textColumn("日本語"), "日本語" + blanks(12));
    }

    void loadedFillIsKept() {
        const QString loaded = "ab" + QString(13, u'\u3000');
        QCOMPARE(textColumn(loaded), "ａｂ" + QString(13, u'\u3000'));
        QCOMPARE(textColumn(QString(15, u'\u3000')), QString(15, u'\u3000'));
    }

    void longTextIsShownWhole() {
        QCOMPARE(textColumn("0123456789abcdef"), "０１２３４５６７８９ａｂｃｄｅｆ");
        QCOMPARE(textColumn("exactly15chars!").size(), 15);
        const QString huge(2'000'000, u'x');
        QCOMPARE(textColumn(huge), QString(128, u'ｘ'));
    }
};

QTEST_GUILESS_MAIN(ListLineTest)
#include "list_line_test.moc"
