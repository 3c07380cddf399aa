#include "update/version.h"

#include <QTest>

using namespace velandri;

class VersionTest : public QObject {
    Q_OBJECT

private slots:
    void newerVersion_data();
    void newerVersion();
    void rowWindow_data();
    void rowWindow();
};

void VersionTest::newerVersion_data() {
    QTest::addColumn<QString>("latest");
    QTest::addColumn<bool>("newer");
    QTest::newRow("1.7 is newer") << "1.7" << true;
    QTest::newRow("2.0 is newer") << "2.0" << true;
    QTest::newRow("1.6.1 is newer: 1.6 is its prefix") << "1.6.1" << true;
    QTest::newRow("1.10 sorts before 1.6") << "1.10" << false;
    QTest::newRow("1.6 is the own version") << "1.6" << false;
    QTest::newRow("1.05 sorts before 1.6") << "1.05" << false;
    QTest::newRow("a leading blank sorts first") << " 1.7" << false;
    QTest::newRow("nothing found") << "" << false;
    QTest::newRow("letters sort after digits") << "a" << true;
    QTest::newRow("a capital sorts before a small letter") << "1.6A" << true;
}

void VersionTest::newerVersion() {
    QFETCH(QString, latest);
    QFETCH(bool, newer);
    QCOMPARE(isNewerVersion(QStringLiteral("1.6"), latest), newer);
}

// The identifier, both markers and the version must fit in the 60 characters from the
// identifier's first character.
void VersionTest::rowWindow_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("found");
    const QString open = QStringLiteral("<td width=\"610\">");
    const auto row = [&](int blanks, const QString& cell) {
        return QStringLiteral("<tr><td>velandri</td>") + QString(blanks, u' ') + open + cell +
               QStringLiteral("</td></tr>");
    };
    // "velandri</td>" is 13 characters: with 23 blanks, 1.7 and "</td>" end at the 60th.
    QTest::newRow("closing marker ends at the 60th character") << row(23, "1.7") << "1.7" << true;
    QTest::newRow("closing marker one character too far") << row(24, "1.7") << "" << false;
    QTest::newRow("empty cell right at the end") << row(26, "") << "" << true;
    QTest::newRow("no closing marker") << "velandri" + open + "1.7"
                                       << "" << false;
    QTest::newRow("closing marker before the opening one") << "velandri</td>" + open + "1.7"
                                                           << "" << false;
    QTest::newRow("identifier is case-sensitive") << "Velandri" + open + "1.7</td>"
                                                  << "" << false;
    QTest::newRow("first identifier counts")
        << "velandri" + QString(60, u' ') + "velandri" + open + "1.7</td>"
        << "" << false;
    QTest::newRow("text taken without trimming") << "velandri" + open + "\t1.7 </td>"
                                                 << "\t1.7 " << true;
}

void VersionTest::rowWindow() {
    QFETCH(QString, page);
    QFETCH(QString, version);
    QFETCH(bool, found);
    const std::optional<QString> parsed = parseVersionPage(page);
    QCOMPARE(parsed.has_value(), found);
    if (found) QCOMPARE(*parsed, version);
}

QTEST_APPLESS_MAIN(VersionTest)
#include "version_test.moc"
