#include "store/store_line.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <QUrl>
#include <random>
#include <utility>

#include "store/codec.h"
#include "store/store_checks.h"

using namespace velandri;

namespace {

// Why a line was not read whole, for the log; empty when it was.
QString damage(const LineReadout& readout) {
    return readout.whole ? QString() : readout.whole.error().detail;
}

const QString kZeroPrefix(kPrefixLength, u'0');

// A data-file line whose plain text is a zero prefix followed by the given fields.
QByteArray lineOf(const QString& plainFields) { return encodeSymbols(kZeroPrefix + plainFields); }

QString fields(const QStringList& texts) {
    QString plain;
    for (const QString& text : texts) plain += plainField(text);
    return plain;
}

// The plain fields of an all-empty store with its first fields replaced by plain text.
QString storeFieldsAfter(const QString& plainFirst, int replaced) {
    UrlStore empty;
    QString rest = plainText(empty, QString());
    for (int i = 0; i < replaced; ++i) rest.remove(0, rest.indexOf(kFieldEnd) + 1);
    return plainFirst + rest;
}

// The same with the first field texts given.
QString storeFields(const QStringList& first) {
    return storeFieldsAfter(fields(first), first.size());
}

TEST(StoreLine, WorkedFieldExamples) {
    EXPECT_EQ(plainField(QString()), QStringLiteral("空改"));
    EXPECT_EQ(plainField(QStringLiteral("A")), QStringLiteral("65空改"));
    EXPECT_EQ(plainField(QString::number(1)), QStringLiteral("49空改"));
    EXPECT_EQ(plainField(QString::number(30)), QStringLiteral("51空48空改"));
    EXPECT_EQ(plainField(QString::number(-2)), QStringLiteral("45空50空改"));
    EXPECT_EQ(plainField(QStringLiteral("あい")), QStringLiteral("-32096空-32094空改"));
    EXPECT_EQ(plainField(QStringLiteral("あ\u3000い")),
              QStringLiteral("-32096空-32448空-32094空改"));
    EXPECT_EQ(plainField(QStringLiteral("\u3000\u3000 ")), QStringLiteral("空改"));
    EXPECT_EQ(plainField(QStringLiteral(" abcd ")), QStringLiteral("97空98空99空100空改"));
    EXPECT_EQ(plainField(QStringLiteral("é")), QStringLiteral("63空改"));
    // Outside the Basic Multilingual Plane: two UTF-16 units, two question marks.
    EXPECT_EQ(plainField(QStringLiteral("😀")), QStringLiteral("63空63空改"));
}

// Input methods and web pages give seven JIS symbols as characters code page 932 has no code
// for; they load back as their code page 932 counterparts, any other such character as "?".
TEST(StoreLine, JisSymbolsLoadAsTheirCodePage932Counterparts) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("10時〜18時"), QStringLiteral("10時～18時")},
        {QStringLiteral("\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014é"),
         QStringLiteral("\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2\u2015?")},
    };
    for (const auto& [written, loaded] : cases) {
        SCOPED_TRACE(written.toStdString());
        UrlStore store;
        store.password = written;
        store.tabNames[9] = written;
        UrlStore back;
        EXPECT_TRUE(parseLine(encodeLine(store), back).whole.has_value());
        EXPECT_EQ(back.password, loaded);
        EXPECT_EQ(back.tabNames[9], loaded);
    }
}

// An address is not text for people: what code page 932 cannot hold is written in the
// address's own encoded form, so the same address comes back; titles keep "?".
TEST(StoreLine, AddressesAreStoredInAFormTheFileKeeps) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("https://ko.wikipedia.org/wiki/한국어"),
         QStringLiteral("https://ko.wikipedia.org/wiki/%ED%95%9C%EA%B5%AD%EC%96%B4")},
        {QStringLiteral("https://한국.kr/?q=😀#é"),
         QStringLiteral("https://xn--3e0b707e.kr/?q=%F0%9F%98%80#%C3%A9")},
        {QStringLiteral("http://me@日本.한국:8080/東京/한?"),
         QStringLiteral("http://me@日本.xn--3e0b707e:8080/東京/%ED%95%9C?")},
        {QStringLiteral("mailto:한@example.org"), QStringLiteral("mailto:%ED%95%9C@example.org")},
        {QStringLiteral("\u3000 http://한국.kr/ "), QStringLiteral("http://xn--3e0b707e.kr/")},
        {QStringLiteral("https://ja.wikipedia.org/wiki/東京?a=1&b=%20#x"),
         QStringLiteral("https://ja.wikipedia.org/wiki/東京?a=1&b=%20#x")},
    };
    for (const auto& [typed, stored] : cases) {
        SCOPED_TRACE(typed.toStdString());
        UrlStore store;
        store.entries[3][0][UrlField::url] = typed;
        store.entries[3][0][UrlField::title] = QStringLiteral("한");
        UrlStore back;
        EXPECT_TRUE(parseLine(encodeLine(store), back).whole.has_value());
        EXPECT_EQ(back.entries[3][0][UrlField::url], stored);
        EXPECT_EQ(QUrl(stored).toEncoded(), QUrl(typed.trimmed()).toEncoded());
        EXPECT_EQ(back.entries[3][0][UrlField::title],
                  QStringLiteral("?") + QString(14, u'\u3000'));
    }
}

TEST(StoreLine, AllEmptyStoreGivesTheKnownLength) {
    UrlStore empty;
    const QByteArray line = encodeLine(empty);
    EXPECT_EQ(line.size(), 3768);
    EXPECT_EQ(plainText(empty, kZeroPrefix).size(), 3768);
    EXPECT_EQ(decodeSymbols(line).size(), 3768);
    for (char c : line) ASSERT_FALSE(decodeSymbol(c).isNull()) << c;
    EXPECT_TRUE(decodeSymbols(line)
                    .sliced(kPrefixLength)
                    .startsWith(QStringLiteral("空改48空改48空改48空改48空改")));
}

TEST(StoreLine, SaveRenumbersSlotsByPosition) {
    UrlStore store = sampleStore();
    std::swap(store.entries[2][0], store.entries[2][1]);
    store.entries[5][29][UrlField::number] = QStringLiteral("7");
    encodeLine(store);
    for (const auto& tab : store.entries)
        for (int slot = 0; slot < kSlotCount; ++slot)
            ASSERT_EQ(tab[slot][UrlField::number], QString::number(slot + 1));
}

TEST(StoreLine, TwoSavesDifferButLoadAlike) {
    UrlStore store = sampleStore();
    const QByteArray first = encodeLine(store);
    const QByteArray second = encodeLine(store);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.size(), second.size());
    UrlStore loadedFirst, loadedSecond;
    EXPECT_TRUE(parseLine(first, loadedFirst).whole.has_value());
    EXPECT_EQ(parseLine(second, loadedSecond).fieldCount, kStoredFieldCount);
    expectSameStore(loadedFirst, asLoaded(sampleStore()));
    expectSameStore(loadedSecond, loadedFirst);
}

TEST(StoreLine, LoadTrimsAndFillsButKeepsLongTexts) {
    UrlStore store;
    store.password = QStringLiteral("pass ");
    store.logoffMinutes = 30;
    store.tabNames[3] = QStringLiteral("\u3000名前 ");
    store.entries[0][0] = {QString(), QStringLiteral(" abcd "), QStringLiteral("u"),
                           QStringLiteral("ちょうど十五文字の説明になります")};
    store.entries[0][1] = {QString(), QStringLiteral("十六文字ある長い題名で保存されます"),
                           QStringLiteral("v"), QString()};
    store.entries[0][1][UrlField::title].truncate(16);
    UrlStore loaded;
    parseLine(encodeLine(store), loaded);
    EXPECT_EQ(loaded.password, QStringLiteral("pass"));
    EXPECT_EQ(loaded.logoffMinutes, 30);
    EXPECT_EQ(loaded.tabNames[3], QStringLiteral("名前"));
    EXPECT_EQ(loaded.tabNames[4], QString());
    EXPECT_EQ(loaded.entries[0][0][UrlField::title],
              QStringLiteral("abcd") + QString(11, u'\u3000'));
    EXPECT_EQ(loaded.entries[0][0][UrlField::content], store.entries[0][0][UrlField::content]);
    EXPECT_EQ(loaded.entries[0][1][UrlField::title].size(), 16);
    EXPECT_EQ(loaded.entries[0][1][UrlField::content], QString(15, u'\u3000'));
    EXPECT_EQ(loaded.entries[0][2][UrlField::title], QString(15, u'\u3000'));
    EXPECT_EQ(loaded.entries[0][2][UrlField::url], QString());
}

TEST(StoreLine, LoadReplacesEveryValueOfAStoreInUse) {
    UrlStore empty;
    const QByteArray truncated = encodeLine(empty).left(kPrefixLength + 40);
    for (const QByteArray& content : {encodeLine(empty), truncated, QByteArray("x")}) {
        UrlStore fresh;
        UrlStore inUse = sampleStore();
        inUse.topMost = inUse.minimizeOnLaunch = inUse.browser = 1;
        const LineReadout expected = parseLine(content, fresh);
        const LineReadout readout = parseLine(content, inUse);
        EXPECT_EQ(damage(readout), damage(expected));
        expectSameStore(inUse, fresh);
    }
}

TEST(StoreLine, PrefixChangesAndStrayCharactersAreIgnored) {
    UrlStore store = sampleStore();
    const QByteArray line = encodeLine(store);
    UrlStore expected;
    parseLine(line, expected);
    std::mt19937 random(7);
    const QByteArray table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/-";
    for (int i = 0; i < kPrefixLength; ++i) {
        QByteArray changed = line;
        do changed[i] = table[random() % table.size()];
        while (changed[i] == line[i]);
        UrlStore loaded;
        parseLine(changed, loaded);
        ASSERT_EQ(loaded.password, expected.password) << "prefix position " << i;
        ASSERT_EQ(loaded.entries[9][11], expected.entries[9][11]);
    }
    QByteArray stray = line;
    for (int n = 0; n < 200; ++n)
        stray.insert(kPrefixLength + random() % (stray.size() - kPrefixLength), n % 2 ? "*" : "\t");
    stray.append("*#");
    UrlStore loaded;
    EXPECT_TRUE(parseLine(stray, loaded).whole.has_value());
    expectSameStore(loaded, expected);
}

TEST(StoreLine, ReadsOnlyTheFirstValueOfTheFirstLine) {
    UrlStore store = sampleStore();
    const QByteArray line = encodeLine(store);
    UrlStore expected, loaded;
    parseLine(line, expected);
    for (const QByteArray& content :
         {"   " + line + "\r\n", line + "\r\nxyz", line + "\nabc", line + "\rabc", line + ",abc",
          line + "\r\n" + encodeLine(store)}) {
        LineReadout readout = parseLine(content, loaded);
        EXPECT_TRUE(readout.whole.has_value()) << damage(readout).toStdString();
        expectSameStore(loaded, expected);
    }
    const qsizetype middle = line.size() / 2;
    const QByteArray commaInside = line.left(middle) + "," + line.mid(middle);
    EXPECT_FALSE(parseLine(commaInside, loaded).whole.has_value());
    expectStoreInvariants(loaded);
}

struct HostileCase {
    const char* name;
    QByteArray content;
    bool damaged;
};

std::vector<HostileCase> hostileCases() {
    UrlStore store = sampleStore();
    const QByteArray full = encodeLine(store);
    const QString normal = plainText(store, QString());
    return {
        {"empty", "", true},
        {"spaces and line ends", "   \r\n\r\n", true},
        {"prefix only", full.left(kPrefixLength), true},
        {"short of the prefix", full.left(40), true},
        {"cut in the middle", full.left(full.size() / 3), true},
        {"without line end", full, false},
        {"1216 fields", lineOf(normal + plainField(QStringLiteral("x"))), false},
        {"1217 fields", lineOf(normal + fields({"x", "y"})), true},
        {"thousands of fields", lineOf(normal.repeated(3)), true},
        {"huge code", lineOf(storeFieldsAfter("1" + QString(4999, u'0') + "空改", 1)), false},
        {"huge negative code",
         lineOf(storeFieldsAfter(QStringLiteral("-") + QString(300, u'9') + "空改", 1)), false},
        {"minus only", lineOf(storeFieldsAfter(QStringLiteral("-空改"), 1)), false},
        {"minus inside", lineOf(storeFieldsAfter(QStringLiteral("5-3空--1空改"), 1)), false},
        {"code without character", lineOf(storeFieldsAfter(QStringLiteral("33280空129空改"), 1)),
         false},
        {"setting not a number", lineOf(storeFields({"pw", "x"})), true},
        {"empty setting", lineOf(storeFields({"pw", "1", ""})), true},
        {"setting beyond 16 bits", lineOf(storeFields({"pw", "1", "0", "70000"})), true},
        {"log-off too long", lineOf(storeFields({"pw", "1", "0", "999", "7"})), false},
        {"log-off negative", lineOf(storeFields({"pw", "2", "-1", "-5", "-3"})), false},
        {"gap in a tab",
         lineOf(storeFields({"", "0", "0", "0", "0",     "", "", "",  "",  "",  "", "",
                             "", "",  "",  "1", "empty", "", "", "2", "t", "u", "c"})),
         false},
        {"field ends only", lineOf(QString(5000, kFieldEnd)), true},
        {"code ends only", lineOf(QString(5000, kCodeEnd)), true},
        {"binary", QByteArray("\0\xff\xfe,\"\x80", 6).repeated(900), true},
    };
}

TEST(StoreLine, HostileContentStillGivesACompleteStore) {
    for (const HostileCase& hostile : hostileCases()) {
        SCOPED_TRACE(hostile.name);
        UrlStore store = sampleStore();
        const LineReadout readout = parseLine(hostile.content, store);
        expectStoreInvariants(store);
        EXPECT_EQ(!readout.whole.has_value(), hostile.damaged) << damage(readout).toStdString();
    }
}

TEST(StoreLine, HostileValuesLoadAsDocumented) {
    const std::vector<HostileCase> cases = hostileCases();
    const auto load = [&](const char* name) {
        UrlStore store;
        for (const HostileCase& hostile : cases)
            if (QByteArray(hostile.name) == name) parseLine(hostile.content, store);
        return store;
    };
    // 10^300 - 1 is -1 modulo 65536, so its negative is 1; 10^4999 is 0 modulo 65536.
    EXPECT_EQ(load("huge negative code").password, QString(QChar(1)));
    EXPECT_EQ(load("minus only").password, QStringLiteral("?"));
    EXPECT_EQ(load("minus inside").password, QStringLiteral("??"));
    EXPECT_EQ(load("code without character").password, QStringLiteral("??"));
    EXPECT_EQ(load("huge code").password, QString(QChar(0)));
    EXPECT_EQ(load("1216 fields").password, QStringLiteral("ひみつ12"));
    const UrlStore notNumber = load("setting not a number");
    EXPECT_EQ(notNumber.password, QStringLiteral("pw"));
    EXPECT_EQ(notNumber.topMost, 0);
    const UrlStore beyond = load("setting beyond 16 bits");
    EXPECT_EQ(beyond.topMost, 1);
    EXPECT_EQ(beyond.logoffMinutes, 0);
    const UrlStore tooLong = load("log-off too long");
    EXPECT_EQ(tooLong.logoffMinutes, 60);
    EXPECT_EQ(tooLong.browser, 7);
    const UrlStore negative = load("log-off negative");
    EXPECT_EQ(negative.topMost, 2);
    EXPECT_EQ(negative.minimizeOnLaunch, -1);
    EXPECT_EQ(negative.logoffMinutes, 0);
    EXPECT_EQ(negative.browser, -3);
    const UrlStore gap = load("gap in a tab");
    EXPECT_EQ(gap.entries[0][0][UrlField::url], QStringLiteral("u"));
    EXPECT_EQ(gap.entries[0][0][UrlField::title], QStringLiteral("t") + QString(14, u'\u3000'));
    EXPECT_EQ(gap.entries[0][1][UrlField::title], QStringLiteral("empty") + QString(10, u'\u3000'));
}

TEST(StoreLine, RandomContentStillGivesACompleteStore) {
    std::mt19937 random(2026);
    const QByteArray alphabet = "LCdWkHhGr5Kcgjq,\r\n *Js7NT4-Vp8";
    UrlStore store;
    for (int round = 0; round < 300; ++round) {
        QByteArray content(random() % 20000, '\0');
        const bool tableOnly = round % 2 == 0;
        for (char& c : content)
            c = tableOnly ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        parseLine(content, store);
        expectStoreInvariants(store);
        if (HasFailure()) FAIL() << "round " << round;
    }
}

}  // namespace
