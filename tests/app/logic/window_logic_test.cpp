#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>

#include "app/logic/dropped_link.h"
#include "app/logic/entry_edits.h"
#include "app/logic/logoff_clock.h"
#include "app/logic/password_gate.h"
#include "app/logic/settings_steps.h"
#include "store/tab_edits.h"

using namespace velandri;

namespace {

TabSlots tabWith(int count) {
    TabSlots tab;
    for (int e = 0; e < kSlotCount; ++e) tab[e][UrlField::number] = QString::number(e + 1);
    for (int e = 0; e < count; ++e) {
        writeEntry(tab[e], QStringLiteral("t%1").arg(e), QStringLiteral("u%1").arg(e),
                   QStringLiteral("c%1").arg(e));
    }
    return tab;
}

// The tick on which the log-off comes after a reset; 0 when it does not come in 1000 ticks.
int logoffTickNumber(int16_t minutes) {
    int ticks = 0;
    for (int tick = 1; tick <= 1000; ++tick) {
        if (logoffTick(ticks, minutes)) return ticks == 0 ? tick : -1;
    }
    return 0;
}

// The formats in which browsers carry a dragged link, each with the address and a title.
enum class Carrier { UriList, NetscapeUrl, MozUrlUtf8, MozUrlUtf16, PlainText };

std::unique_ptr<QMimeData> dragOf(Carrier carrier, const QString& address) {
    auto data = std::make_unique<QMimeData>();
    const QString withTitle = address + QStringLiteral("\nタイトル");
    switch (carrier) {
        case Carrier::UriList:
            data->setData(QStringLiteral("text/uri-list"),
                          QStringLiteral("# a comment\r\n%1\r\n").arg(address).toUtf8());
            break;
        case Carrier::NetscapeUrl:
            data->setData(QStringLiteral("_NETSCAPE_URL"), withTitle.toUtf8());
            break;
        case Carrier::MozUrlUtf8:
            data->setData(QStringLiteral("text/x-moz-url"), withTitle.toUtf8());
            break;
        case Carrier::MozUrlUtf16:
            data->setData(
                QStringLiteral("text/x-moz-url"),
                QByteArray(reinterpret_cast<const char*>(withTitle.utf16()), withTitle.size() * 2));
            break;
        case Carrier::PlainText:
            data->setText(address);
            break;
    }
    return data;
}

}  // namespace

class WindowLogicTest : public QObject {
    Q_OBJECT

private slots:
    void gateCountsOnlyFullLengthFailures() {
        PasswordGate gate;
        gate.reset("abc");
        QCOMPARE(gate.check("a"), PasswordGate::Verdict::Nothing);
        QCOMPARE(gate.check("ab"), PasswordGate::Verdict::Nothing);
        QCOMPARE(gate.check("abcd"), PasswordGate::Verdict::Nothing);
        QCOMPARE(gate.failCount, 0);
        QCOMPARE(gate.check("abd"), PasswordGate::Verdict::Failure);
        QCOMPARE(gate.check("aBc"), PasswordGate::Verdict::Failure);
        QCOMPARE(gate.failCount, 2);
        QCOMPARE(gate.check("abc"), PasswordGate::Verdict::Open);
        QCOMPARE(gate.failCount, 0);
    }

    void gateLocksAfterTheSixthFailureSinceTheLastOpening() {
        PasswordGate gate;
        gate.reset("abc");
        for (int i = 0; i < 4; ++i) gate.check("xyz");
        QCOMPARE(gate.check("abc"), PasswordGate::Verdict::Open);  // the count starts again
        for (int i = 0; i < 5; ++i) QCOMPARE(gate.check("xyz"), PasswordGate::Verdict::Failure);
        QCOMPARE(gate.expectedPassword, QStringLiteral("abc"));
        QCOMPARE(gate.check("xyz"), PasswordGate::Verdict::Failure);
        QVERIFY(gate.expectedPassword != "abc");
        bool isNumber = false;
        const uint drawn = gate.expectedPassword.toUInt(&isNumber);
        QVERIFY(isNumber && drawn < 100000000);
        QCOMPARE(gate.expectedPassword, QString::number(drawn));
        QVERIFY(gate.check("abc") != PasswordGate::Verdict::Open);
    }

    void logoffComesOnTheTickAfterSixTimesTheMinutes_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("tick");
        QTest::newRow("1 minute: 7th tick") << 1 << 7;
        QTest::newRow("60 minutes: 361st tick") << 60 << 361;
        QTest::newRow("0 minutes: never") << 0 << 0;
        QTest::newRow("negative: bounded to never") << -5 << 0;
        QTest::newRow("oversized: bounded to 60") << 600 << 361;
    }
    void logoffComesOnTheTickAfterSixTimesTheMinutes() {
        QFETCH(int, minutes);
        QFETCH(int, tick);
        QCOMPARE(logoffTickNumber(static_cast<int16_t>(minutes)), tick);
    }

    void noLogoffLeavesTheCounterAlone() {
        int ticks = 17;
        QVERIFY(!logoffTick(ticks, 0));
        QVERIFY(!logoffTick(ticks, -3));
        QCOMPARE(ticks, int16_t(17));
    }

    void minutesBox() {
        QCOMPARE(minutesFromText(""), int16_t(0));
        QCOMPARE(minutesFromText("07"), int16_t(7));
        QCOMPARE(minutesFromText("75"), int16_t(75));
    }

    void slotToWriteChoosesTheCorrectedOrTheFirstFreeSlot_data() {
        QTest::addColumn<int>("listed");
        QTest::addColumn<int>("blankUrlAt");
        QTest::addColumn<bool>("correcting");
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<int>("slot");
        QTest::newRow("correcting: its own slot") << 5 << -1 << true << 2 << 2;
        QTest::newRow("adding: the first free slot") << 5 << -1 << false << 2 << 5;
        QTest::newRow("corrected entry deleted: the first free") << 5 << -1 << true << -1 << 5;
        QTest::newRow("a blank address is free") << 5 << 3 << false << -1 << 3;
        QTest::newRow("adding to a full tab: none") << 30 << -1 << false << 3 << -1;
        QTest::newRow("full tab, nothing selected: none") << 30 << -1 << true << -1 << -1;
    }
    void slotToWriteChoosesTheCorrectedOrTheFirstFreeSlot() {
        QFETCH(int, listed);
        QFETCH(int, blankUrlAt);
        QFETCH(bool, correcting);
        QFETCH(int, selectedRow);
        QFETCH(int, slot);
        TabSlots tab = tabWith(listed);
        if (blankUrlAt >= 0) tab[blankUrlAt][UrlField::url] = QStringLiteral(" \u3000");
        const EditMode mode = correcting ? EditMode::Correcting : EditMode::Adding;
        QCOMPARE(slotToWrite(tab, mode, selectedRow), slot);
    }

    void listedCountStopsAtTheFirstEmptyUrl() {
        TabSlots tab = tabWith(5);
        tab[7][UrlField::url] = QStringLiteral("http://later/");
        QCOMPARE(listedCount(tab), 5);
        QCOMPARE(listedCount(tabWith(30)), 30);
        QCOMPARE(listedCount(tabWith(0)), 0);
    }

    void removeMovesLaterEntriesUpAndKeepsNumbers() {
        TabSlots tab = tabWith(5);
        removeEntry(tab, 2);
        QCOMPARE(tab[2][UrlField::title], QStringLiteral("t3"));
        QCOMPARE(tab[3][UrlField::url], QStringLiteral("u4"));
        QVERIFY(tab[4][UrlField::url].isEmpty());
        QCOMPARE(tab[2][UrlField::number], QStringLiteral("3"));

        TabSlots full = tabWith(30);
        removeEntry(full, 29);
        QCOMPARE(full[28][UrlField::url], QStringLiteral("u28"));
        QVERIFY(full[29][UrlField::url].isEmpty() && full[29][UrlField::title].isEmpty());
    }

    void swapKeepsNumbers() {
        TabSlots tab = tabWith(2);
        swapEntries(tab, 1, 0);
        QCOMPARE(tab[0][UrlField::content], QStringLiteral("c1"));
        QCOMPARE(tab[1][UrlField::title], QStringLiteral("t0"));
        QCOMPARE(tab[0][UrlField::number], QStringLiteral("1"));
        swapEntries(tab, 0, -1);  // no neighbour: nothing moves
        QCOMPARE(tab[0][UrlField::content], QStringLiteral("c1"));
    }

    void movesStayInsideTheList() {
        QVERIFY(canMove(1, -1, 3));
        QVERIFY(canMove(1, +1, 3));
        QVERIFY(!canMove(0, -1, 3));
        QVERIFY(!canMove(2, +1, 3));
        QVERIFY(!canMove(-1, +1, 3));  // nothing selected
    }

    void passwordBoxes() {
        QCOMPARE(passwordChange("", ""), PasswordChange::Unchanged);
        QCOMPARE(passwordChange("", "typed"), PasswordChange::Unchanged);
        QCOMPARE(passwordChange("pw", ""), PasswordChange::ConfirmationMissing);
        QCOMPARE(passwordChange("pw", "pW"), PasswordChange::Mismatch);
        QCOMPARE(passwordChange("pw", "pw"), PasswordChange::Set);
    }

    void clearBoxEmptiesThePasswordBeforeTheBoxesAreJudged() {
        UrlStore store;
        store.password = QStringLiteral("old");
        QCOMPARE(applyPasswordBoxes(store, false, "a", "b"), PasswordChange::Mismatch);
        QCOMPARE(store.password, QStringLiteral("old"));
        QCOMPARE(applyPasswordBoxes(store, true, "a", "b"), PasswordChange::Mismatch);
        QVERIFY(store.password.isEmpty());
        QCOMPARE(applyPasswordBoxes(store, true, "new", "new"), PasswordChange::Set);
        QCOMPARE(store.password, QStringLiteral("new"));
        QCOMPARE(applyPasswordBoxes(store, false, "", ""), PasswordChange::Unchanged);
        QCOMPARE(store.password, QStringLiteral("new"));
    }

    void minutesAboveSixtyAreBounded() {
        QVERIFY(!minutesAboveLongest("60"));
        QVERIFY(minutesAboveLongest("61"));
        QVERIFY(minutesAboveLongest("99"));
        QVERIFY(!minutesAboveLongest(""));
    }

    void onlyOneIsAnOnFlag() {
        QVERIFY(flagOn(1));
        QVERIFY(!flagOn(0));
        QVERIFY(!flagOn(-1));
        QVERIFY(!flagOn(2));
        QCOMPARE(storedFlag(true), int16_t(1));
        QCOMPARE(storedFlag(false), int16_t(0));
    }

    void settingsRoundTripThroughTheWindow() {
        UrlStore store;
        store.topMost = 1;
        store.logoffMinutes = 200;  // from a damaged file
        store.tabNames[9] = QStringLiteral("last");
        SettingsFields fields = shownSettings(store);
        QVERIFY(fields.topMost && !fields.minimizeOnLaunch);
        QCOMPARE(fields.minutesText, QStringLiteral("60"));
        QCOMPARE(fields.tabNames[9], QStringLiteral("last"));

        fields.topMost = false;
        fields.minimizeOnLaunch = true;
        fields.minutesText = QStringLiteral("07");
        fields.tabNames[0] = QStringLiteral("first");
        applySettings(store, fields);
        QCOMPARE(store.topMost, int16_t(0));
        QCOMPARE(store.minimizeOnLaunch, int16_t(1));
        QCOMPARE(store.logoffMinutes, int16_t(7));
        QCOMPARE(store.tabNames[0], QStringLiteral("first"));
        QCOMPARE(store.tabNames[9], QStringLiteral("last"));
    }

    void logoffNeedsAPassword() {
        UrlStore store;
        store.logoffMinutes = 5;
        store.password = QStringLiteral(" ");
        QVERIFY(!keepLogoffWithPassword(store));
        QCOMPARE(store.logoffMinutes, int16_t(0));
        store.logoffMinutes = 5;
        store.password = QStringLiteral("pw");
        QVERIFY(keepLogoffWithPassword(store));
        QCOMPARE(store.logoffMinutes, int16_t(5));
    }

    // Only a web address comes in from outside, as it came, and none that a browser could take
    // as options: every carrier of a drag gives the same answer.
    void anAddressFromOutside_data() {
        QTest::addColumn<int>("carrier");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("taken");
        const std::pair<const char*, Carrier> carriers[] = {
            {"uri-list", Carrier::UriList},     {"netscape", Carrier::NetscapeUrl},
            {"moz utf-8", Carrier::MozUrlUtf8}, {"moz utf-16", Carrier::MozUrlUtf16},
            {"text", Carrier::PlainText},
        };
        const std::pair<const char*, bool> addresses[] = {
            {"http://example.com/a%2Fb?q=1#top", true},
            {"HTTPS://example.com/%E6%9D%B1%E4%BA%AC", true},
            {"https://ja.wikipedia.org/wiki/東京", true},
            {"http://example.com/%20--new-instance%20-P%20attacker", false},
            {"http://example.com/?q=%20-P", false},
            {"http://example.com/#%20-P", false},
            {"http://a%20-P@example.com/", false},
            {"http://example.com/%09x", false},
            {"http://example.com/%0Ax", false},
            {"http://example.com/%E3%80%80x", false},  // an ideographic space, decoded
            {"javascript://example.com/%0Aalert(1)", false},
            {"javascript://example.com/alert(1)", false},
            {"file:///etc/passwd", false},
            {"smb://host/share", false},
            {"steam://run/1", false},
            {"ms-settings:display", false},
            {"ftp://example.com/", false},
            {"http:///no-host", false},
            {"-http://example.com/", false},
        };
        for (const auto& [carrierName, carrier] : carriers)
            for (const auto& [address, taken] : addresses)
                QTest::addRow("%s: %s", carrierName, address)
                    << int(carrier) << QString::fromUtf8(address) << taken;
    }

    void anAddressFromOutside() {
        QFETCH(int, carrier);
        QFETCH(QString, address);
        QFETCH(bool, taken);
        const std::unique_ptr<QMimeData> drag = dragOf(Carrier(carrier), address);
        const std::optional<DroppedLink> link = droppedLink(*drag);
        QCOMPARE(link.has_value(), taken);
        if (!link) return;
        // QMimeData holds a URI list as URLs and gives them back in their encoded form.
        const QString given = Carrier(carrier) == Carrier::UriList
                                  ? QString::fromLatin1(QUrl(address).toEncoded())
                                  : address;
        QCOMPARE(link->url, given);
        const bool titled =
            Carrier(carrier) != Carrier::UriList && Carrier(carrier) != Carrier::PlainText;
        QCOMPARE(link->title, titled ? QStringLiteral("タイトル") : QString());
    }

    void onlyANewBrowserOtherThanInternetExplorerIsNoticed() {
        QVERIFY(browserChoiceNeedsNotice(1, 0));
        QVERIFY(!browserChoiceNeedsNotice(1, 1));
        QVERIFY(!browserChoiceNeedsNotice(0, 3));
        QVERIFY(browserChoiceNeedsNotice(4, -1));  // a code from a damaged file
    }
};

QTEST_GUILESS_MAIN(WindowLogicTest)
#include "window_logic_test.moc"
