#include <gtest/gtest.h>

#include "app/logic/entry_edits.h"
#include "app/logic/logoff_clock.h"
#include "app/logic/password_gate.h"
#include "app/logic/settings_steps.h"
#include "fakes/qt_printers.h"
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

TEST(PasswordGate, CountsOnlyFullLengthFailures) {
    PasswordGate gate;
    gate.reset("abc");
    EXPECT_EQ(gate.check("a"), PasswordGate::Verdict::Nothing);
    EXPECT_EQ(gate.check("ab"), PasswordGate::Verdict::Nothing);
    EXPECT_EQ(gate.check("abcd"), PasswordGate::Verdict::Nothing);
    EXPECT_EQ(gate.failCount, 0);
    EXPECT_EQ(gate.check("abd"), PasswordGate::Verdict::Failure);
    EXPECT_EQ(gate.check("aBc"), PasswordGate::Verdict::Failure);
    EXPECT_EQ(gate.failCount, 2);
    EXPECT_EQ(gate.check("abc"), PasswordGate::Verdict::Open);
    EXPECT_EQ(gate.failCount, 0);
}

TEST(PasswordGate, LocksAfterTheSixthFailureSinceTheLastOpening) {
    PasswordGate gate;
    gate.reset("abc");
    for (int i = 0; i < 4; ++i) gate.check("xyz");
    EXPECT_EQ(gate.check("abc"), PasswordGate::Verdict::Open);  // the count starts again
    for (int i = 0; i < 5; ++i) EXPECT_EQ(gate.check("xyz"), PasswordGate::Verdict::Failure);
    EXPECT_EQ(gate.expectedPassword, QStringLiteral("abc"));
    EXPECT_EQ(gate.check("xyz"), PasswordGate::Verdict::Failure);
    EXPECT_NE(gate.expectedPassword, "abc");
    bool isNumber = false;
    const uint drawn = gate.expectedPassword.toUInt(&isNumber);
    EXPECT_TRUE(isNumber && drawn < 100000000);
    EXPECT_EQ(gate.expectedPassword, QString::number(drawn));
    EXPECT_NE(gate.check("abc"), PasswordGate::Verdict::Open);
}

struct LogoffRow {
    const char* name;
    int16_t minutes;
    int tick;
};

const LogoffRow kLogoffRows[] = {
    {"1 minute: 7th tick", 1, 7},
    {"60 minutes: 361st tick", 60, 361},
    {"0 minutes: never", 0, 0},
    {"negative: bounded to never", -5, 0},
    {"oversized: bounded to 60", 600, 361},
};

TEST(LogoffClock, ComesOnTheTickAfterSixTimesTheMinutes) {
    for (const auto& [name, minutes, tick] : kLogoffRows) {
        EXPECT_EQ(logoffTickNumber(minutes), tick) << name;
    }
}

TEST(LogoffClock, NoLogoffLeavesTheCounterAlone) {
    int ticks = 17;
    EXPECT_FALSE(logoffTick(ticks, 0));
    EXPECT_FALSE(logoffTick(ticks, -3));
    EXPECT_EQ(ticks, 17);
}

TEST(LogoffClock, MinutesBox) {
    EXPECT_EQ(minutesFromText(""), 0);
    EXPECT_EQ(minutesFromText("07"), 7);
    EXPECT_EQ(minutesFromText("75"), 75);
}

struct SlotRow {
    const char* name;
    int listed;
    int blankUrlAt;
    EditMode mode;
    int selectedRow;
    int slot;
};

const SlotRow kSlotRows[] = {
    {"correcting: its own slot", 5, -1, EditMode::Correcting, 2, 2},
    {"adding: the first free slot", 5, -1, EditMode::Adding, 2, 5},
    {"corrected entry deleted: the first free", 5, -1, EditMode::Correcting, -1, 5},
    {"a blank address is free", 5, 3, EditMode::Adding, -1, 3},
    {"adding to a full tab: none", 30, -1, EditMode::Adding, 3, -1},
    {"full tab, nothing selected: none", 30, -1, EditMode::Correcting, -1, -1},
};

TEST(EntryEdits, SlotToWriteIsTheCorrectedOrTheFirstFreeSlot) {
    for (const auto& [name, listed, blankUrlAt, mode, selectedRow, slot] : kSlotRows) {
        TabSlots tab = tabWith(listed);
        if (blankUrlAt >= 0) tab[blankUrlAt][UrlField::url] = QStringLiteral(" \u3000");
        EXPECT_EQ(slotToWrite(tab, mode, selectedRow), slot) << name;
    }
}

TEST(EntryEdits, ListedCountStopsAtTheFirstEmptyUrl) {
    TabSlots tab = tabWith(5);
    tab[7][UrlField::url] = QStringLiteral("http://later/");
    EXPECT_EQ(listedCount(tab), 5);
    EXPECT_EQ(listedCount(tabWith(30)), 30);
    EXPECT_EQ(listedCount(tabWith(0)), 0);
}

TEST(EntryEdits, RemoveMovesLaterEntriesUpAndKeepsNumbers) {
    TabSlots tab = tabWith(5);
    removeEntry(tab, 2);
    EXPECT_EQ(tab[2][UrlField::title], QStringLiteral("t3"));
    EXPECT_EQ(tab[3][UrlField::url], QStringLiteral("u4"));
    EXPECT_TRUE(tab[4][UrlField::url].isEmpty());
    EXPECT_EQ(tab[2][UrlField::number], QStringLiteral("3"));

    TabSlots full = tabWith(30);
    removeEntry(full, 29);
    EXPECT_EQ(full[28][UrlField::url], QStringLiteral("u28"));
    EXPECT_TRUE(full[29][UrlField::url].isEmpty() && full[29][UrlField::title].isEmpty());
}

TEST(EntryEdits, SwapKeepsNumbers) {
    TabSlots tab = tabWith(2);
    swapEntries(tab, 1, 0);
    EXPECT_EQ(tab[0][UrlField::content], QStringLiteral("c1"));
    EXPECT_EQ(tab[1][UrlField::title], QStringLiteral("t0"));
    EXPECT_EQ(tab[0][UrlField::number], QStringLiteral("1"));
    swapEntries(tab, 0, -1);  // no neighbour: nothing moves
    EXPECT_EQ(tab[0][UrlField::content], QStringLiteral("c1"));
}

TEST(EntryEdits, MovesStayInsideTheList) {
    EXPECT_TRUE(canMove(1, -1, 3));
    EXPECT_TRUE(canMove(1, +1, 3));
    EXPECT_FALSE(canMove(0, -1, 3));
    EXPECT_FALSE(canMove(2, +1, 3));
    EXPECT_FALSE(canMove(-1, +1, 3));  // nothing selected
}

TEST(SettingsSteps, PasswordBoxes) {
    EXPECT_EQ(passwordChange("", ""), PasswordChange::Unchanged);
    EXPECT_EQ(passwordChange("", "typed"), PasswordChange::Unchanged);
    EXPECT_EQ(passwordChange("pw", ""), PasswordChange::ConfirmationMissing);
    EXPECT_EQ(passwordChange("pw", "pW"), PasswordChange::Mismatch);
    EXPECT_EQ(passwordChange("pw", "pw"), PasswordChange::Set);
}

TEST(SettingsSteps, ClearBoxEmptiesThePasswordBeforeTheBoxesAreJudged) {
    UrlStore store;
    store.password = QStringLiteral("old");
    EXPECT_EQ(applyPasswordBoxes(store, false, "a", "b"), PasswordChange::Mismatch);
    EXPECT_EQ(store.password, QStringLiteral("old"));
    EXPECT_EQ(applyPasswordBoxes(store, true, "a", "b"), PasswordChange::Mismatch);
    EXPECT_TRUE(store.password.isEmpty());
    EXPECT_EQ(applyPasswordBoxes(store, true, "new", "new"), PasswordChange::Set);
    EXPECT_EQ(store.password, QStringLiteral("new"));
    EXPECT_EQ(applyPasswordBoxes(store, false, "", ""), PasswordChange::Unchanged);
    EXPECT_EQ(store.password, QStringLiteral("new"));
}

TEST(SettingsSteps, MinutesAboveSixtyAreBounded) {
    EXPECT_FALSE(minutesAboveLongest("60"));
    EXPECT_TRUE(minutesAboveLongest("61"));
    EXPECT_TRUE(minutesAboveLongest("99"));
    EXPECT_FALSE(minutesAboveLongest(""));
}

TEST(SettingsSteps, OnlyOneIsAnOnFlag) {
    EXPECT_TRUE(flagOn(1));
    EXPECT_FALSE(flagOn(0));
    EXPECT_FALSE(flagOn(-1));
    EXPECT_FALSE(flagOn(2));
    EXPECT_EQ(storedFlag(true), 1);
    EXPECT_EQ(storedFlag(false), 0);
}

TEST(SettingsSteps, RoundTripThroughTheWindow) {
    UrlStore store;
    store.topMost = 1;
    store.logoffMinutes = 200;  // from a damaged file
    store.tabNames[9] = QStringLiteral("last");
    SettingsFields fields = shownSettings(store);
    EXPECT_TRUE(fields.topMost && !fields.minimizeOnLaunch);
    EXPECT_EQ(fields.minutesText, QStringLiteral("60"));
    EXPECT_EQ(fields.tabNames[9], QStringLiteral("last"));

    fields.topMost = false;
    fields.minimizeOnLaunch = true;
    fields.minutesText = QStringLiteral("07");
    fields.tabNames[0] = QStringLiteral("first");
    applySettings(store, fields);
    EXPECT_EQ(store.topMost, 0);
    EXPECT_EQ(store.minimizeOnLaunch, 1);
    EXPECT_EQ(store.logoffMinutes, 7);
    EXPECT_EQ(store.tabNames[0], QStringLiteral("first"));
    EXPECT_EQ(store.tabNames[9], QStringLiteral("last"));
}

TEST(SettingsSteps, LogoffNeedsAPassword) {
    UrlStore store;
    store.logoffMinutes = 5;
    store.password = QStringLiteral(" ");
    EXPECT_FALSE(keepLogoffWithPassword(store));
    EXPECT_EQ(store.logoffMinutes, 0);
    store.logoffMinutes = 5;
    store.password = QStringLiteral("pw");
    EXPECT_TRUE(keepLogoffWithPassword(store));
    EXPECT_EQ(store.logoffMinutes, 5);
}

TEST(SettingsSteps, OnlyANewBrowserOtherThanInternetExplorerIsNoticed) {
    EXPECT_TRUE(browserChoiceNeedsNotice(1, 0));
    EXPECT_FALSE(browserChoiceNeedsNotice(1, 1));
    EXPECT_FALSE(browserChoiceNeedsNotice(0, 3));
    EXPECT_TRUE(browserChoiceNeedsNotice(4, -1));  // a code from a damaged file
}

}  // namespace
